#include "CsvOutcome.h"

#include "database/PdbError.h"

namespace Ledgerly {

QString databaseOpenError(int number, const QString &reason, const QString &damagedText)
{
    if (number == ErrDamaged)
        return damagedText;
    return QStringLiteral("Error opening database.  %1 (error %2).").arg(reason).arg(number);
}

} // namespace Ledgerly
