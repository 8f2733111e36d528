#include "Grouping.h"

#include "GridRoles.h"
#include "GroupingProxyModel.h"

namespace Ledgerly {

Grouping::Grouping(QAbstractItemModel &table, QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_proxy(new GroupingProxyModel(this))
{
    m_proxy->setSourceModel(&m_table);
}

Grouping::~Grouping() = default;

bool Grouping::isGrouped() const
{
    return !m_proxy->groupLayout().isEmpty();
}

GroupLayout Grouping::layoutFor(const QAbstractItemModel &table)
{
    GroupLayout layout;
    for (int i = 1; i < table.columnCount(); ++i) {
        const FieldRole role = GridRoles::fieldRoleOf(table, i);
        if (role == FieldRole::Group)
            layout.append(GroupLevel{i, -1, {}});
        if (role == FieldRole::Calc && !layout.isEmpty() && layout.last().calcColumn < 0) {
            layout.last().calcColumn = i;
            layout.last().calcCaption = table.headerData(i, Qt::Horizontal).toString();
        }
    }
    return layout;
}

void Grouping::GroupColumns()
{
    m_proxy->setGroupLayout(layoutFor(m_table));
}

void Grouping::clear()
{
    m_proxy->setGroupLayout({});
}

} // namespace Ledgerly
