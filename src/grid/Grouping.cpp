#include "Grouping.h"

#include "GridModel.h"
#include "GroupingProxyModel.h"
#include "catalogue/SchemaRules.h"

namespace Ledgerly {

Grouping::Grouping(GridModel &table, QObject *parent)
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

GroupLayout Grouping::layoutFor(const QStringList &roles, const QStringList &captions)
{
    GroupLayout layout;
    for (int i = 1; i < roles.size(); ++i) {
        const QString &role = roles.at(i);
        if (roleIsGroup(role))
            layout.append(GroupLevel{i, -1, {}});
        if (roleIsCalc(role) && !layout.isEmpty() && layout.last().calcColumn < 0) {
            layout.last().calcColumn = i;
            layout.last().calcCaption = captions.value(i);
        }
    }
    return layout;
}

void Grouping::GroupColumns(const QStringList &roles, const QStringList &captions)
{
    // Ungrouped first, so the column changes below do not regroup on the way.
    if (isGrouped())
        m_proxy->setGroupLayout({});
    restoreTextColumns();
    const int columns = int(qMin<qsizetype>(roles.size(), m_table.columnCount()));
    for (int i = 1; i < columns; ++i) {
        GridColumn &column = m_table.column(i);
        // Text columns only: other kinds keep the type their field gives them.
        if (column.dataType != DataText || !roleIsCalc(roles.at(i)))
            continue;
        column.dataType = DataInteger;
        m_numberColumns.append(i);
    }
    finish();
    m_proxy->setGroupLayout(layoutFor(roles, captions));
}

void Grouping::clear()
{
    m_proxy->setGroupLayout({});
    restoreTextColumns();
    finish();
}

void Grouping::restoreTextColumns()
{
    for (int i : std::as_const(m_numberColumns))
        if (i < m_table.columnCount() && m_table.column(i).dataType == DataInteger)
            m_table.column(i).dataType = DataText;
    m_numberColumns.clear();
}

void Grouping::finish()
{
    m_table.column(0).widthTwips = RecordNumberColumnWidth;
    m_table.notifyColumnsChanged();
}

} // namespace Ledgerly
