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

QVariant emptyValue(ColumnKind kind)
{
    return kind == ColumnKind::Picture ? QVariant() : QVariant(QString());
}

bool read(ColumnKind kind, const QString &text, QVariant *out)
{
    *out = emptyValue(kind);
    if (kind == ColumnKind::Text || kind == ColumnKind::Other) {
        *out = text;
        return true;
    }
    if (text.trimmed().isEmpty())
        return true;
    switch (kind) {
    case ColumnKind::YesNo: {
        bool value = false;
        if (!readYesNo(text, &value))
            return false;
        *out = value;
        return true;
    }
    case ColumnKind::Date:
    case ColumnKind::Time:
    case ColumnKind::DateTime: {
        QVariant value;
        if (!GridValue::fromEdit(kind, text, Qt::EditRole, &value))
            return false;
        *out = value;
        return true;
    }
    default:
        return false; // text never makes a picture
    }
}

} // namespace Ledgerly::CellTextReader
