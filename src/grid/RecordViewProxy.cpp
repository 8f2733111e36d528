#include "RecordViewProxy.h"

#include "GridRoles.h"
#include "RecordOrder.h"

#include <algorithm>
#include <numeric>

namespace Ledgerly {

RecordViewProxy::RecordViewProxy(QObject *parent)
    : QAbstractProxyModel(parent)
{
    m_passTimer.setInterval(0);
    connect(&m_passTimer, &QTimer::timeout, this, &RecordViewProxy::continueFilterPass);
}

void RecordViewProxy::setSourceModel(QAbstractItemModel *source)
{
    beginResetModel();
    for (const QMetaObject::Connection &c : std::as_const(m_sourceConnections))
        disconnect(c);
    m_sourceConnections.clear();
    QAbstractProxyModel::setSourceModel(source);
    m_keys.clear();
    m_filter.clear();
    if (source) {
        using M = QAbstractItemModel;
        auto begin = [this] { beginResetModel(); };
        auto end = [this] { sourceReset(); };
        auto columnsEnd = [this] { sourceColumnsChanged(); };
        m_sourceConnections = {
            connect(source, &M::modelAboutToBeReset, this, begin),
            connect(source, &M::modelReset, this, end),
            connect(source, &M::layoutAboutToBeChanged, this, begin),
            connect(source, &M::layoutChanged, this, end),
            connect(source, &M::rowsAboutToBeMoved, this, begin),
            connect(source, &M::rowsMoved, this, end),
            connect(source, &M::columnsAboutToBeInserted, this, begin),
            connect(source, &M::columnsInserted, this, columnsEnd),
            connect(source, &M::columnsAboutToBeRemoved, this, begin),
            connect(source, &M::columnsRemoved, this, columnsEnd),
            connect(source, &M::columnsAboutToBeMoved, this, begin),
            connect(source, &M::columnsMoved, this, columnsEnd),
            connect(source, &M::rowsInserted, this,
                    [this](const QModelIndex &, int first, int last) {
                        sourceRowsInserted(first, last);
                    }),
            connect(source, &M::rowsAboutToBeRemoved, this,
                    [this](const QModelIndex &, int first, int last) {
                        sourceRowsAboutToBeRemoved(first, last);
                    }),
            connect(source, &M::rowsRemoved, this,
                    [this](const QModelIndex &, int first, int last) {
                        sourceRowsRemoved(first, last);
                    }),
            connect(source, &M::dataChanged, this, &RecordViewProxy::sourceDataChanged),
            connect(source, &M::headerDataChanged, this, &QAbstractItemModel::headerDataChanged),
        };
    }
    m_rows = arrange();
    remapFromSource();
    endResetModel();
}

QList<int> RecordViewProxy::filterColumns() const
{
    QList<int> columns;
    const QAbstractItemModel *source = sourceModel();
    for (int c = 1; c < source->columnCount(); ++c) {
        const ColumnKind kind = GridRoles::kindOf(*source, c);
        if (kind != ColumnKind::Picture && kind != ColumnKind::Other &&
            !source->headerData(c, Qt::Horizontal, GridRoles::HiddenRole).toBool())
            columns.append(c);
    }
    return columns;
}

QList<int> RecordViewProxy::arrange()
{
    // Whatever asks for the whole view again replaces a pass in slices.
    cancelFilterPass();
    const QAbstractItemModel *source = sourceModel();
    if (!source)
        return {};
    QList<int> rows(source->rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    if (m_filter.isActive())
        rows = m_filter.apply(*source, rows, filterColumns());
    return ordered(std::move(rows));
}

QList<int> RecordViewProxy::ordered(QList<int> rows) const
{
    return m_keys.isEmpty() ? rows : RecordOrder::sorted(*sourceModel(), m_keys, rows);
}

void RecordViewProxy::setFilterInSlices(bool inSlices, int sliceMs)
{
    m_inSlices = inSlices;
    m_sliceMs = sliceMs;
}

void RecordViewProxy::startFilterPass()
{
    cancelFilterPass();
    QList<int> rows(sourceModel()->rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    m_pass = std::make_unique<RecordFilter::Pass>(m_filter, *sourceModel(), std::move(rows),
                                                  filterColumns(), slicedRegexBudgetMs);
    continueFilterPass();
}

void RecordViewProxy::continueFilterPass()
{
    if (!m_pass || !m_pass->run(QDeadlineTimer(m_sliceMs))) {
        if (m_pass)
            m_passTimer.start();
        return;
    }
    QList<int> rows = m_pass->rows();
    cancelFilterPass();
    relayoutWith(ordered(std::move(rows)));
}

void RecordViewProxy::cancelFilterPass()
{
    m_passTimer.stop();
    m_pass.reset();
}

QList<int> RecordViewProxy::sortedRecords() const
{
    if (!sourceModel())
        return {};
    return RecordOrder::sortedAll(*sourceModel(), m_keys);
}

void RecordViewProxy::remapFromSource()
{
    m_viewRow.fill(-1, sourceModel() ? sourceModel()->rowCount() : 0);
    for (int row = 0; row < m_rows.size(); ++row) {
        const int source = m_rows.at(row);
        if (source >= 0 && source < m_viewRow.size())
            m_viewRow[source] = row;
    }
}

// A new order keeps the person's current cell and selection on the same
// records; records the filter now hides drop out of them.
void RecordViewProxy::relayout()
{
    if (!sourceModel())
        return;
    relayoutWith(arrange());
}

void RecordViewProxy::relayoutWith(QList<int> rows)
{
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QList<QPersistentModelIndex> sources;
    sources.reserve(before.size());
    for (const QModelIndex &index : before)
        sources.append(mapToSource(index));
    m_rows = std::move(rows);
    remapFromSource();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QPersistentModelIndex &source : std::as_const(sources))
        after.append(mapFromSource(source));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
    Q_EMIT viewChanged();
}

void RecordViewProxy::setSortKeys(const SortKeys &keys)
{
    SortKeys usable;
    const int columns = sourceModel() ? sourceModel()->columnCount() : 0;
    for (const SortKey &key : keys)
        if (key.column >= 1 && key.column < columns)
            usable.append(key);
    m_keys = usable;
    // While boxes are applied in slices, the order follows when they are.
    if (m_inSlices && m_filter.isActive())
        startFilterPass();
    else
        relayout();
}

void RecordViewProxy::setFilterText(int column, const QString &text)
{
    if (!sourceModel())
        return;
    m_filter.setText(column, text, GridRoles::kindOf(*sourceModel(), column));
    if (m_inSlices)
        startFilterPass();
    else
        relayout();
}

void RecordViewProxy::clearFilter()
{
    m_filter.clear();
    relayout();
    Q_EMIT filterCleared();
}

QString RecordViewProxy::countText() const
{
    if (!isFiltering() || !sourceModel())
        return {};
    return QStringLiteral("%1 of %2 records").arg(m_rows.size()).arg(sourceModel()->rowCount());
}

void RecordViewProxy::sourceReset()
{
    const int columns = sourceModel()->columnCount();
    m_keys.removeIf([columns](const SortKey &key) { return key.column >= columns; });
    m_rows = arrange();
    remapFromSource();
    endResetModel();
    Q_EMIT viewChanged();
}

// Another database's columns: its order and filter start afresh.
void RecordViewProxy::sourceColumnsChanged()
{
    m_keys.clear();
    m_filter.clear();
    m_rows = arrange();
    remapFromSource();
    endResetModel();
    Q_EMIT viewChanged();
    Q_EMIT filterCleared();
}

void RecordViewProxy::sourceRowsInserted(int first, int last)
{
    const int count = last - first + 1;
    // The rows already shown keep their records, which moved down by count.
    for (int &row : m_rows)
        if (row >= first)
            row += count;
    remapFromSource();
    const int sourceRows = sourceModel()->rowCount();
    int at = int(m_rows.size());
    for (int next = last + 1; next < sourceRows; ++next) {
        if (m_viewRow.at(next) >= 0) {
            at = m_viewRow.at(next);
            break;
        }
    }
    // Appended records come last, whatever the order.
    if (last + 1 == sourceRows)
        at = int(m_rows.size());
    beginInsertRows({}, at, at + count - 1);
    QList<int> added(count);
    std::iota(added.begin(), added.end(), first);
    m_rows.insert(at, count, 0);
    std::copy(added.cbegin(), added.cend(), m_rows.begin() + at);
    remapFromSource();
    endInsertRows();
    Q_EMIT viewChanged();
    // A pass under way counted the rows before these.
    if (m_pass)
        startFilterPass();
}

void RecordViewProxy::sourceRowsAboutToBeRemoved(int first, int last)
{
    QList<int> going;
    for (int row = first; row <= last && row < m_viewRow.size(); ++row)
        if (m_viewRow.at(row) >= 0)
            going.append(m_viewRow.at(row));
    std::sort(going.begin(), going.end());
    // From the bottom, one block of neighbouring view rows at a time.
    qsizetype end = going.size();
    while (end > 0) {
        qsizetype start = end - 1;
        while (start > 0 && going.at(start - 1) == going.at(start) - 1)
            --start;
        const int top = going.at(start);
        const int bottom = going.at(end - 1);
        beginRemoveRows({}, top, bottom);
        m_rows.remove(top, bottom - top + 1);
        remapFromSource();
        endRemoveRows();
        end = start;
    }
}

void RecordViewProxy::sourceRowsRemoved(int first, int last)
{
    const int count = last - first + 1;
    for (int &row : m_rows)
        if (row > last)
            row -= count;
    remapFromSource();
    Q_EMIT viewChanged();
    if (m_pass)
        startFilterPass();
}

void RecordViewProxy::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                        const QList<int> &roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    int top = INT_MAX;
    int bottom = -1;
    for (int row = topLeft.row(); row <= bottomRight.row() && row < m_viewRow.size(); ++row) {
        const int shown = m_viewRow.at(row);
        if (shown < 0)
            continue;
        top = qMin(top, shown);
        bottom = qMax(bottom, shown);
    }
    if (bottom >= 0)
        Q_EMIT dataChanged(index(top, topLeft.column()), index(bottom, bottomRight.column()),
                           roles);
}

QModelIndex RecordViewProxy::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.model() != this || !sourceModel() ||
        proxyIndex.row() >= m_rows.size())
        return {};
    return sourceModel()->index(m_rows.at(proxyIndex.row()), proxyIndex.column());
}

QModelIndex RecordViewProxy::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != sourceModel() ||
        sourceIndex.row() >= m_viewRow.size())
        return {};
    const int row = m_viewRow.at(sourceIndex.row());
    return row < 0 ? QModelIndex() : index(row, sourceIndex.column());
}

QModelIndex RecordViewProxy::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex RecordViewProxy::parent(const QModelIndex &) const
{
    return {};
}

QModelIndex RecordViewProxy::sibling(int row, int column, const QModelIndex &idx) const
{
    return idx.isValid() ? index(row, column) : QModelIndex();
}

bool RecordViewProxy::hasChildren(const QModelIndex &parent) const
{
    return !parent.isValid() && rowCount() > 0 && columnCount() > 0;
}

int RecordViewProxy::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecordViewProxy::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

QVariant RecordViewProxy::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!sourceModel())
        return {};
    if (orientation == Qt::Horizontal)
        return sourceModel()->headerData(section, orientation, role);
    if (section < 0 || section >= m_rows.size())
        return {};
    return sourceModel()->headerData(m_rows.at(section), orientation, role);
}

} // namespace Ledgerly
