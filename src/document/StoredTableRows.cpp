#include "StoredTableRows.h"

#include "database/PdbDatabase.h"

namespace Ledgerly {

StoredTableRows::StoredTableRows(std::shared_ptr<const PdbDatabase> database, int shownFields)
    : m_database(std::move(database))
    , m_shownFields(shownFields)
{}

int StoredTableRows::recordCount() const
{
    return m_database->Table().RecordCount();
}

QVariant StoredTableRows::cell(int record, int column) const
{
    const int field = column - 1;
    if (field < 0 || field >= m_shownFields || record < 0 || record >= recordCount())
        return {};
    QVariant value = m_database->Table().Record(record).value(field);
    if (!value.isValid())
        value = QString();
    return value;
}

bool StoredTableRows::storedText(int record, int column, QByteArrayView *bytes) const
{
    const int field = column - 1;
    if (field < 0 || field >= m_shownFields || record < 0 || record >= recordCount())
        return false;
    return m_database->Table().Record(record).storedText(field, bytes);
}

} // namespace Ledgerly
