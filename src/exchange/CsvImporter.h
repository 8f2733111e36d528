#pragma once

#include "CsvReader.h"
#include "CsvRegionalFormat.h"
#include "CsvValueReader.h"
#include "database/PdbRecord.h"

#include <QStringList>

#include <functional>

class QIODevice;

namespace Ledgerly {

class PdbFieldList;

// Turns CSV bytes in the export's layout into records of a database: line 1
// (captions) is skipped, line 2 names the field of each file column, and
// every later line becomes one record holding a value, or none, for every
// field. Fields the file lacks hold no value; file columns naming no field
// are ignored. Blank lines are skipped.
//
// The records are built in the form a database file stores them in, one
// block of bytes for all of them: an imported table costs what a loaded one
// does, and a save copies their bytes.
class CsvImporter
{
public:
    enum class Status {
        Ok,
        NotExportLayout,
        TooManyRecords,
        UnreadableCell,
        UnclosedQuote,
        RecordTooLong,
        ReadFailed
    };

    // No record line is longer than this: the fields of a record hold far
    // less, and a file that is one endless line must not fill the memory.
    static constexpr qsizetype kMaxRecordBytes = 64 * 1024 * 1024;

    // fields are the open database's definitions (the records point at
    // them); csvFolder resolves relative bitmap paths.
    CsvImporter(const PdbFieldList &fields, const CsvRegionalFormat &format = CsvRegionalFormat(),
                QString csvFolder = {});

    Status read(QByteArrayView text);
    // Reads the device a block at a time; size (when known) lets progress
    // hear the share read (0..100).
    Status read(QIODevice &device, qint64 size = -1, const std::function<void(int)> &progress = {});

    int recordCount() const { return int(m_ends.size()); }
    // The records read; every one holds a stored value or none per field.
    QList<PdbRecord> takeRecords();
    int matchedColumns() const { return m_matched; }
    // After a failure: the line, field and text of the cell, for a person.
    QString problem() const { return m_problem; }
    // Fields of the database the file has no column for; the import would
    // leave them empty in every record.
    QStringList missingFields() const;
    // Dates and times the records hold no value for: a save sets them to now.
    int emptyDatesAndTimes() const { return m_emptyDatesAndTimes; }

private:
    enum class Step { Continue, Stop };
    Step takeRecord(const CsvReader::Record &record, Status *status);
    void mapColumns(const CsvReader::Record &names);
    bool checkClosed(const CsvReader::Record &record);
    void describe(const CsvReader::Cell &cell, int column, const CsvValueReader::Problem &problem);
    QString columnName(int column) const;

    const PdbFieldList &m_fields;
    CsvRegionalFormat m_format;
    CsvValueReader m_values;
    CsvReader m_reader;
    int m_headerLines = 0;
    QList<int> m_columnOfField; // field -> file column (-1: not in the file)
    QStringList m_names;        // file column -> field name as in the file
    int m_matched = 0;
    StoredValues m_bytes;    // every record's stored values, one after another
    QList<qsizetype> m_ends; // where each record's bytes end in m_bytes
    int m_emptyDatesAndTimes = 0;
    QString m_problem;
};

} // namespace Ledgerly
