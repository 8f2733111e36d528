#pragma once

#include <QString>

#include <memory>

namespace Ledgerly {

class MainController;
class PdbDatabase;

// What an export or import came to: the text shown to the person (the
// completion message or the error message) and whether it worked.
struct CsvOutcome
{
    bool ok = false;
    QString message;
    QString csvPath;     // the file written or read
    int recordLines = 0; // record lines written, or rows imported
};

// The open database as stored in its file, through a database object of its
// own (unsaved edits in the table are not in it); null when it cannot be read.
std::unique_ptr<PdbDatabase> openStoredDatabase(MainController &controller);

// Shows the outcome's message, success or error, as the window's commands do.
void showCsvOutcome(MainController &controller, const CsvOutcome &outcome);

} // namespace Ledgerly
