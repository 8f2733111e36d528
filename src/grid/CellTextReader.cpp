#include "CellTextReader.h"

#include "GridValue.h"
#include "common/YesNoText.h"

namespace Ledgerly::CellTextReader {

namespace {

// Spreadsheets and other programs write yes/no columns in several ways.
bool readYesNo(const QString &text, bool *out)
{
    const YesNoText::Answer answer =
        YesNoText::read(text, YesNoText::TrueFalse | YesNoText::YesNo | YesNoText::Binary);
    if (answer == YesNoText::Answer::Unreadable)
        return false;
    *out = answer == YesNoText::Answer::Yes;
    return true;
}

} // namespace

Kind kindOf(const GridColumn &column)
{
    if (column.dataType == DataPicture || column.displayType == DisplayPicture)
        return Kind::Picture;
    if (column.dataType == DataBoolean || column.displayType == DisplayCheckBox)
        return Kind::YesNo;
    if (column.dataType == DataDate || column.displayType == DisplayDate)
        return Kind::Date;
    return Kind::Text;
}

QVariant emptyValue(const GridColumn &column)
{
    return kindOf(column) == Kind::Picture ? QVariant() : QVariant(QString());
}

bool read(const GridColumn &column, const QString &text, QVariant *out)
{
    *out = emptyValue(column);
    const Kind kind = kindOf(column);
    if (kind == Kind::Text) {
        *out = text;
        return true;
    }
    if (text.trimmed().isEmpty())
        return true;
    switch (kind) {
    case Kind::YesNo: {
        bool value = false;
        if (!readYesNo(text, &value))
            return false;
        *out = value;
        return true;
    }
    case Kind::Date: {
        QVariant value;
        if (!GridValue::fromEdit(column, text, &value))
            return false;
        *out = value;
        return true;
    }
    default:
        return false; // text never makes a picture
    }
}

} // namespace Ledgerly::CellTextReader
