#pragma once

#include "CsvOutcome.h"

#include <functional>

namespace Ledgerly {

class Document;
class Prompter;

// Reads the CSV file at chosenPath into the table, replacing its rows, after
// checking that the open database (as stored in its file) and the file of
// the check name (chosenPath with ".pdb" made ".csv") can be opened. The
// imported rows reach the database file at the next save. Returns the message
// to show; the only question it asks through the prompter is whether fields
// the file lacks may be emptied. Nothing is opened before both files are
// known to be regular files.
// progress, when given, hears how far the import is (0..100) at each step.
CsvOutcome importCsvFile(Document &document, Prompter &prompter, const QString &appName,
                         const QString &chosenPath, const std::function<void(int)> &progress = {});

// What the completion message adds for the empty dates and times of the
// imported records, which a save sets to now: said before the save (saved
// false) or after it. Empty for none.
QString emptyDatesAndTimesNote(int count, bool saved);

} // namespace Ledgerly
