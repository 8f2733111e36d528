#include "FieldColumns.h"

#include "database/FieldType.h"

namespace Ledgerly::FieldColumns {

ColumnKind kindFor(int fieldType)
{
    switch (fieldType) {
    case FieldText:
        return ColumnKind::Text;
    case FieldYesNo:
        return ColumnKind::YesNo;
    case FieldDate:
        return ColumnKind::Date;
    case FieldTime:
        return ColumnKind::Time;
    case FieldDateTime:
        return ColumnKind::DateTime;
    case FieldPicture:
        return ColumnKind::Picture;
    default:
        return ColumnKind::Other;
    }
}

bool isWritten(int fieldType)
{
    return kindFor(fieldType) != ColumnKind::Other;
}

} // namespace Ledgerly::FieldColumns
