#pragma once

#include "CsvOutcome.h"

#include <functional>

namespace Ledgerly {

class Document;
class GridModel;
class PdbRecordStream;
class RecordServer;
class SchemaSection;

// Writes the records of the open database, as stored in its file (unsaved
// edits in the table are not exported), to the CSV file for chosenPath (see
// CsvNaming) and returns the message to show: the schema's fields in its
// order, one line per record the table shows. Shows nothing itself, so the
// command line can print the same text. appName goes into the message for a
// file that cannot be read. progress, when given, hears the share of records
// written (0..100).
CsvOutcome exportCsvFile(const Document &document, const QString &appName,
                         const QString &chosenPath, const std::function<void(int)> &progress = {});
// The same for a stored file without a table that shows it (the command
// line): every record is written.
CsvOutcome exportStoredCsv(RecordServer &server, const QString &storedPath,
                           const SchemaSection &schema, const QString &appName,
                           const QString &chosenPath);

// The plain record rows the table shows (group rows are not records).
int countRecordRows(const GridModel &grid);

} // namespace Ledgerly
