#pragma once

#include "CsvOutcome.h"

namespace Ledgerly {

class GridModel;
class MainController;

// Writes the records of the open database, as stored in its file, to the CSV
// file for chosenPath (see CsvNaming) and returns the message to show. Shows
// nothing itself, so the command line can print the same text.
CsvOutcome exportCsvFile(MainController &controller, const QString &chosenPath);

// The window's procedure: exportCsvFile, then its message through the prompter.
void ExportCsv(MainController &controller, const QString &chosenPath);

// The plain record rows the table shows (group rows are not records).
int countRecordRows(const GridModel &grid);

} // namespace Ledgerly
