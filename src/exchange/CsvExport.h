#pragma once

#include "CsvOutcome.h"

#include <functional>

namespace Ledgerly {

class GridModel;
class RecordServer;
class SchemaSection;

// Writes the records of the database stored at storedPath, as stored (not
// as the table shows them), to the CSV file for chosenPath (see CsvNaming)
// and returns the message to show: the schema's fields in its order, one
// line per record, at most tableRecords of them (the records the table
// shows; -1 for all). Shows nothing itself, so the command line can print
// the same text. appName goes into the message for a file that cannot be
// read. progress, when given, hears the share of records written (0..100).
CsvOutcome exportCsvFile(RecordServer &server, const SchemaSection &schema, int tableRecords,
                         const QString &storedPath, const QString &appName,
                         const QString &chosenPath, const std::function<void(int)> &progress = {});

// The plain record rows the table shows (group rows are not records).
int countRecordRows(const GridModel &grid);

} // namespace Ledgerly
