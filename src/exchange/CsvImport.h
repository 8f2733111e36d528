#pragma once

#include "CsvOutcome.h"

namespace Ledgerly {

class MainController;

// Reads the CSV file at chosenPath into the table, replacing its rows, after
// checking that the open database and the file of the check name (chosenPath
// with ".pdb" made ".csv") can be opened. The imported rows reach the database
// file at the next save; the table is marked edited. Returns the message to
// show and shows nothing itself.
CsvOutcome importCsvFile(MainController &controller, const QString &chosenPath);

// The window's procedure: importCsvFile, then its message through the prompter.
void ImportCsv(MainController &controller, const QString &chosenPath);

} // namespace Ledgerly
