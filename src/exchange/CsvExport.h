#pragma once

#include "CsvOutcome.h"

#include <functional>

namespace Ledgerly {

class Document;
class GridModel;

// Writes the records of the open database, as stored in its file, to the
// CSV file for chosenPath (see CsvNaming) and returns the message to show.
// Shows nothing itself, so the command line can print the same text.
// appName goes into the message for a file that cannot be read. progress,
// when given, hears the share of records written (0..100).
CsvOutcome exportCsvFile(const Document &document, const QString &appName,
                         const QString &chosenPath, const std::function<void(int)> &progress = {});

// The plain record rows the table shows (group rows are not records).
int countRecordRows(const GridModel &grid);

} // namespace Ledgerly
