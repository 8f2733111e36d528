#pragma once

#include "PdbFieldList.h"
#include "PdbRecord.h"

#include <memory>

namespace Ledgerly {

// The records of a database with their field definitions. Records are kept
// in file order; positions count from 0.
class PdbTable
{
public:
    PdbTable();
    PdbTable(const PdbTable &) = delete;
    PdbTable &operator=(const PdbTable &) = delete;

    PdbFieldList &FieldDefs() { return *m_fields; }
    const PdbFieldList &FieldDefs() const { return *m_fields; }
    int RecordCount() const { return int(m_records.size()); }
    PdbRecord &Record(int index) { return m_records[index]; }
    const PdbRecord &Record(int index) const { return m_records.at(index); }
    // Appends an empty record (every value null) and returns it.
    PdbRecord &AddRecord();
    void appendRecord(PdbRecord record) { m_records.append(std::move(record)); }
    void appendRecords(QList<PdbRecord> records)
    {
        // Room for exactly these: a list grown by halves would hold up to
        // half as many records again, unused.
        m_records.reserve(m_records.size() + records.size());
        m_records.append(std::move(records));
    }
    // Replaces every record at once; they must belong to this table's fields.
    void setRecords(QList<PdbRecord> records) { m_records = std::move(records); }
    // Appends a field definition; existing records read null for it.
    void AddField(const QString &name, int type);
    void DeleteAllRecords() { m_records.clear(); }
    void reserveRecords(int count) { m_records.reserve(count); }

private:
    std::unique_ptr<PdbFieldList> m_fields; // records point at it, so its address is fixed
    QList<PdbRecord> m_records;
};

} // namespace Ledgerly
