#include "PdbRecord.h"

#include "PdbFieldList.h"

namespace Ledgerly {

void PdbRecord::setValue(int field, const QVariant &value)
{
    if (field < 0)
        return;
    // Values past the end read as null, so a null needs no room.
    if (field >= m_values.size()) {
        if (!value.isValid())
            return;
        m_values.resize(field + 1);
    }
    m_values[field] = value;
}

QVariant PdbRecord::value(const QString &fieldName) const
{
    if (!m_fields)
        return {};
    return value(m_fields->indexOf(fieldName));
}

bool PdbRecord::setValue(const QString &fieldName, const QVariant &value)
{
    const int index = m_fields ? m_fields->indexOf(fieldName) : -1;
    if (index < 0)
        return false;
    setValue(index, value);
    return true;
}

} // namespace Ledgerly
