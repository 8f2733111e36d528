#include "CatalogueList.h"

namespace Ledgerly {

void CatalogueList::clear()
{
    m_items.clear();
    m_current = -1;
}

void CatalogueList::select(int index)
{
    m_current = (index >= 0 && index < m_items.size()) ? index : -1;
    Q_EMIT selected(m_current);
}

void CatalogueList::selectText(const QString &text)
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).compare(text, Qt::CaseInsensitive) == 0) {
            select(i);
            return;
        }
    }
    select(-1);
}

} // namespace Ledgerly
