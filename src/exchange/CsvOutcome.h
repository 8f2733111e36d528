#pragma once

#include <QString>

namespace Ledgerly {

// What an export or import came to: the text shown to the person (the
// completion message or the error message) and whether it worked.
struct CsvOutcome
{
    bool ok = false;
    QString message;
    QString csvPath;     // the file written or read
    int recordLines = 0; // record lines written, or rows imported
    // Imported records holding no date or time where their field wants one.
    int emptyDatesAndTimes = 0;
};

// The message when the stored database cannot be opened: damagedText for a
// damaged file; a file that is missing or cannot be read says so, as nothing
// suggests it is no database.
QString databaseOpenError(int number, const QString &reason, const QString &damagedText);

} // namespace Ledgerly
