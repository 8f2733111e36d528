#include "PdbTable.h"

namespace Ledgerly {

PdbTable::PdbTable()
    : m_fields(std::make_unique<PdbFieldList>())
{}

PdbRecord &PdbTable::AddRecord()
{
    m_records.append(PdbRecord(m_fields.get()));
    return m_records.last();
}

void PdbTable::AddField(const QString &name, int type)
{
    m_fields->append(PdbField{name, type});
}

} // namespace Ledgerly
