#pragma once

#include "grid/StoredRows.h"

#include <memory>

namespace Ledgerly {

class PdbDatabase;

// The open database's records as the table shows them: column c shows
// field c - 1 for the first `shownFields` fields, and a missing value shows
// as empty text, like an empty one. Holding the database keeps it alive for
// rows that still read from it after another database has been opened.
class StoredTableRows final : public StoredRows
{
public:
    StoredTableRows(std::shared_ptr<const PdbDatabase> database, int shownFields);

    int recordCount() const override;
    QVariant cell(int record, int column) const override;
    bool storedText(int record, int column, QByteArrayView *bytes) const override;

private:
    std::shared_ptr<const PdbDatabase> m_database;
    int m_shownFields;
};

} // namespace Ledgerly
