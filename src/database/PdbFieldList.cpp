#include "PdbFieldList.h"

namespace Ledgerly {

int PdbFieldList::indexOf(const QString &name) const
{
    for (int i = 0; i < int(m_fields.size()); ++i)
        if (m_fields.at(i).Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace Ledgerly
