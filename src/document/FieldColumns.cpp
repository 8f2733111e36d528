#include "FieldColumns.h"

#include "database/FieldType.h"

namespace Ledgerly::FieldColumns {

int dataTypeFor(int fieldType)
{
    switch (fieldType) {
    case FieldText:
        return DataText;
    case FieldYesNo:
        return DataBoolean;
    case FieldDate:
    case FieldTime:
    case FieldDateTime:
        return DataDate;
    case FieldPicture:
        return DataPicture;
    default:
        return -1;
    }
}

bool isWritten(int fieldType)
{
    switch (fieldType) {
    case FieldText:
    case FieldYesNo:
    case FieldDate:
    case FieldTime:
    case FieldDateTime:
    case FieldPicture:
        return true;
    default:
        return false;
    }
}

} // namespace Ledgerly::FieldColumns
