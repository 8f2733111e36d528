#include "GroupingProxyModel.h"

#include "GridColumn.h"

namespace Ledgerly {

using GridRoles::RowKind;

GroupingProxyModel::GroupingProxyModel(QObject *parent)
    : QAbstractProxyModel(parent)
{}

void GroupingProxyModel::setSourceModel(QAbstractItemModel *source)
{
    beginResetModel();
    for (const QMetaObject::Connection &c : std::as_const(m_sourceConnections))
        disconnect(c);
    m_sourceConnections.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        // Any change of the table's shape lays the groups out afresh.
        auto begin = [this] { beginResetModel(); };
        auto end = [this] {
            rebuildAll();
            endResetModel();
        };
        using M = QAbstractItemModel;
        m_sourceConnections = {
            connect(source, &M::modelAboutToBeReset, this, begin),
            connect(source, &M::modelReset, this, end),
            connect(source, &M::rowsAboutToBeInserted, this, begin),
            connect(source, &M::rowsInserted, this, end),
            connect(source, &M::rowsAboutToBeRemoved, this, begin),
            connect(source, &M::rowsRemoved, this, end),
            connect(source, &M::rowsAboutToBeMoved, this, begin),
            connect(source, &M::rowsMoved, this, end),
            connect(source, &M::columnsAboutToBeInserted, this, begin),
            connect(source, &M::columnsInserted, this, end),
            connect(source, &M::columnsAboutToBeRemoved, this, begin),
            connect(source, &M::columnsRemoved, this, end),
            connect(source, &M::columnsAboutToBeMoved, this, begin),
            connect(source, &M::columnsMoved, this, end),
            connect(source, &M::layoutAboutToBeChanged, this, begin),
            connect(source, &M::layoutChanged, this, end),
            connect(source, &M::dataChanged, this, &GroupingProxyModel::onSourceDataChanged),
            connect(source, &M::headerDataChanged, this, &QAbstractItemModel::headerDataChanged),
        };
    }
    rebuildAll();
    endResetModel();
}

void GroupingProxyModel::setGroupLayout(const GroupLayout &layout)
{
    beginResetModel();
    m_layout = layout;
    m_collapsed.clear();
    rebuildAll();
    endResetModel();
}

const GroupBuilder::Result &GroupingProxyModel::resultOf(int code) const
{
    return code >= 0 ? m_built : m_previous;
}

const GroupBuilder::Entry &GroupingProxyModel::entryOf(int code) const
{
    return resultOf(code).entries.at(code >= 0 ? code : -code - 1);
}

const GroupBuilder::Entry *GroupingProxyModel::entryAt(int row) const
{
    if (row < 0 || row >= m_visible.size())
        return nullptr;
    return &entryOf(m_visible.at(row));
}

const GroupBuilder::Group &GroupingProxyModel::groupAt(int row) const
{
    const int code = m_visible.at(row);
    return resultOf(code).groups.at(entryOf(code).ref);
}

QList<int> GroupingProxyModel::visibleEntries(const GroupBuilder::Result &built) const
{
    QList<int> visible;
    visible.reserve(built.entries.size());
    int hiddenGroup = -1; // while set, rows up to this group's footer are folded away
    for (int i = 0; i < built.entries.size(); ++i) {
        const GroupBuilder::Entry &entry = built.entries.at(i);
        if (hiddenGroup >= 0) {
            if (entry.kind != RowKind::GroupFooter || entry.ref != hiddenGroup)
                continue;
            hiddenGroup = -1;
        } else if (entry.kind == RowKind::GroupHeader &&
                   m_collapsed.contains(built.groups.at(entry.ref).path)) {
            hiddenGroup = entry.ref;
        }
        visible.append(i);
    }
    return visible;
}

void GroupingProxyModel::install(GroupBuilder::Result built, QList<int> visible)
{
    m_built = std::move(built);
    setVisible(std::move(visible));
}

void GroupingProxyModel::setVisible(QList<int> visible)
{
    m_visible = std::move(visible);
    const QAbstractItemModel *source = sourceModel();
    m_sourceToProxy.fill(-1, source ? source->rowCount() : 0);
    for (int row = 0; row < m_visible.size(); ++row) {
        const GroupBuilder::Entry &entry = entryOf(m_visible.at(row));
        if (entry.kind == RowKind::Record && entry.ref < m_sourceToProxy.size())
            m_sourceToProxy[entry.ref] = row;
    }
}

void GroupingProxyModel::rebuildAll()
{
    if (!sourceModel()) {
        install({}, {});
        return;
    }
    GroupBuilder::Result built = GroupBuilder::build(*sourceModel(), m_layout);
    QList<int> visible = visibleEntries(built);
    install(std::move(built), std::move(visible));
}

// After an edit of a grouping or totalled value: only the rows that changed
// place are removed and inserted, so the view keeps its scroll position, its
// selection and the cell the person is on. Until the last step the rows that
// stay show their old figures (codes below 0 point into the old layout), so
// every signal tells the truth about the rows around it; a dataChanged over
// all rows then brings the footers up to date.
void GroupingProxyModel::rebuildInPlace()
{
    GroupBuilder::Result built = GroupBuilder::build(*sourceModel(), m_layout);
    QList<int> visible = visibleEntries(built);
    const qsizetype oldCount = m_visible.size();
    const qsizetype newCount = visible.size();
    qsizetype prefix = 0;
    while (prefix < oldCount && prefix < newCount &&
           GroupBuilder::sameRow(m_built, m_visible.at(prefix), built, visible.at(prefix)))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < oldCount - prefix && suffix < newCount - prefix &&
           GroupBuilder::sameRow(m_built, m_visible.at(oldCount - 1 - suffix), built,
                                 visible.at(newCount - 1 - suffix)))
        ++suffix;

    QList<int> old;
    old.reserve(oldCount);
    for (int code : std::as_const(m_visible))
        old.append(-code - 1);
    const QList<int> oldPrefix = old.mid(0, prefix);
    const QList<int> oldSuffix = old.mid(oldCount - suffix);
    auto swapLayouts = [&] {
        m_previous = std::move(m_built);
        m_built = std::move(built);
    };

    if (oldCount - suffix > prefix) {
        beginRemoveRows({}, int(prefix), int(oldCount - suffix - 1));
        swapLayouts();
        setVisible(oldPrefix + oldSuffix);
        endRemoveRows();
    } else {
        swapLayouts();
        setVisible(old);
    }
    if (newCount - suffix > prefix) {
        beginInsertRows({}, int(prefix), int(newCount - suffix - 1));
        setVisible(oldPrefix + visible.mid(prefix, newCount - suffix - prefix) + oldSuffix);
        endInsertRows();
    }
    setVisible(std::move(visible));
    m_previous = {};
    if (!m_visible.isEmpty() && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool GroupingProxyModel::touchesLayout(int firstColumn, int lastColumn) const
{
    for (const GroupLevel &level : m_layout) {
        if (level.column >= firstColumn && level.column <= lastColumn)
            return true;
        if (level.calcColumn >= firstColumn && level.calcColumn <= lastColumn)
            return true;
    }
    return false;
}

void GroupingProxyModel::onSourceDataChanged(const QModelIndex &topLeft,
                                             const QModelIndex &bottomRight,
                                             const QList<int> &roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    if (touchesLayout(topLeft.column(), bottomRight.column())) {
        rebuildInPlace();
        return;
    }
    if (topLeft.row() == bottomRight.row()) {
        const QModelIndex first = mapFromSource(topLeft);
        if (first.isValid())
            Q_EMIT dataChanged(first, index(first.row(), bottomRight.column()), roles);
        return;
    }
    if (!m_visible.isEmpty())
        Q_EMIT dataChanged(index(0, topLeft.column()), index(rowCount() - 1, bottomRight.column()),
                           roles);
}

bool GroupingProxyModel::isTotalledTextColumn(int column) const
{
    return !m_layout.isEmpty() && GridRoles::kindOf(*sourceModel(), column) == ColumnKind::Text &&
           GridRoles::fieldRoleOf(*sourceModel(), column) == FieldRole::Calc;
}

bool GroupingProxyModel::setCollapsed(int row, bool collapsed)
{
    const GroupBuilder::Entry *entry = entryAt(row);
    if (!entry || entry->kind != RowKind::GroupHeader)
        return false;
    const QString path = groupAt(row).path;
    if (m_collapsed.contains(path) == collapsed)
        return true;
    if (collapsed)
        m_collapsed.insert(path);
    else
        m_collapsed.remove(path);
    QList<int> visible = visibleEntries(m_built);
    const int change = int(visible.size() - m_visible.size());
    if (change < 0) {
        beginRemoveRows({}, row + 1, row - change);
        setVisible(std::move(visible));
        endRemoveRows();
    } else if (change > 0) {
        beginInsertRows({}, row + 1, row + change);
        setVisible(std::move(visible));
        endInsertRows();
    }
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1),
                       {GridRoles::GroupCollapsedRole});
    return true;
}

QModelIndex GroupingProxyModel::mapToSource(const QModelIndex &proxyIndex) const
{
    const GroupBuilder::Entry *entry =
        proxyIndex.isValid() && proxyIndex.model() == this ? entryAt(proxyIndex.row()) : nullptr;
    if (!entry || entry->kind != RowKind::Record || !sourceModel())
        return {};
    return sourceModel()->index(entry->ref, proxyIndex.column());
}

QModelIndex GroupingProxyModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != sourceModel() ||
        sourceIndex.row() >= m_sourceToProxy.size())
        return {};
    const int row = m_sourceToProxy.at(sourceIndex.row());
    return row < 0 ? QModelIndex() : index(row, sourceIndex.column());
}

QModelIndex GroupingProxyModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex GroupingProxyModel::parent(const QModelIndex &) const
{
    return {};
}

QModelIndex GroupingProxyModel::sibling(int row, int column, const QModelIndex &idx) const
{
    return idx.isValid() ? index(row, column) : QModelIndex();
}

QModelIndex GroupingProxyModel::buddy(const QModelIndex &index) const
{
    // The base class asks the table, which knows nothing of group rows.
    return index;
}

bool GroupingProxyModel::hasChildren(const QModelIndex &parent) const
{
    return !parent.isValid() && rowCount() > 0 && columnCount() > 0;
}

int GroupingProxyModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_visible.size());
}

int GroupingProxyModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

QVariant GroupingProxyModel::data(const QModelIndex &index, int role) const
{
    const GroupBuilder::Entry *entry = index.isValid() ? entryAt(index.row()) : nullptr;
    if (!entry)
        return {};
    if (entry->kind == RowKind::Record) {
        if (role == GridRoles::GroupLevelRole)
            return entry->level;
        return mapToSource(index).data(role);
    }
    const GroupBuilder::Group &group = groupAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case GridRoles::GroupTextRole:
        return entry->kind == RowKind::GroupHeader ? group.headerText : group.footerText;
    case GridRoles::RowKindRole:
        return int(entry->kind);
    case GridRoles::GroupLevelRole:
        return entry->level;
    case GridRoles::GroupCollapsedRole:
        if (entry->kind != RowKind::GroupHeader)
            return {};
        return m_collapsed.contains(group.path);
    default:
        return {};
    }
}

QMap<int, QVariant> GroupingProxyModel::itemData(const QModelIndex &index) const
{
    return QAbstractItemModel::itemData(index);
}

bool GroupingProxyModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const GroupBuilder::Entry *entry = index.isValid() ? entryAt(index.row()) : nullptr;
    if (!entry)
        return false;
    if (entry->kind != RowKind::Record)
        return role == GridRoles::GroupCollapsedRole && setCollapsed(index.row(), value.toBool());
    const QModelIndex source = mapToSource(index);
    return source.isValid() && sourceModel()->setData(source, value, role);
}

Qt::ItemFlags GroupingProxyModel::flags(const QModelIndex &index) const
{
    const GroupBuilder::Entry *entry = index.isValid() ? entryAt(index.row()) : nullptr;
    if (!entry)
        return Qt::NoItemFlags;
    if (entry->kind != RowKind::Record)
        return Qt::ItemIsEnabled; // reachable with the keyboard, never edited
    return sourceModel()->flags(mapToSource(index));
}

QVariant GroupingProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!sourceModel())
        return {};
    if (orientation == Qt::Horizontal) {
        // A totalled text column is a number column while grouped.
        if (role == GridRoles::DataTypeRole && isTotalledTextColumn(section))
            return int(DataInteger);
        return sourceModel()->headerData(section, orientation, role);
    }
    const GroupBuilder::Entry *entry = entryAt(section);
    if (!entry || entry->kind != RowKind::Record)
        return {};
    return sourceModel()->headerData(entry->ref, orientation, role);
}

} // namespace Ledgerly
