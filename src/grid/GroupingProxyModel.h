#pragma once

#include "GroupBuilder.h"
#include "GroupLayout.h"

#include <QAbstractProxyModel>
#include <QSet>

namespace Ledgerly {

// Shows the table in groups: header and footer rows around each group's
// records, records in their own order inside a group. A view only; the table
// keeps its rows and their order, so saving and exporting never see a group.
//
// Record rows pass everything through to the table (edits included). Group
// rows answer RowKindRole, GroupLevelRole, GroupTextRole (also as
// DisplayRole, in every column) and, for headers, GroupCollapsedRole, which
// can be set to collapse or expand the group. They cannot be edited or
// selected. Every change of the table keeps groups and totals current.
// While grouped, a totalled text column reports itself as a number column
// (DataTypeRole); the table below is never written to.
class GroupingProxyModel : public QAbstractProxyModel
{
    Q_OBJECT
public:
    explicit GroupingProxyModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;

    // An empty layout shows the table's rows as they are.
    void setGroupLayout(const GroupLayout &layout);
    const GroupLayout &groupLayout() const { return m_layout; }
    int groupCount() const { return int(m_built.groups.size()); }

    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &idx) const override;
    QModelIndex buddy(const QModelIndex &index) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QMap<int, QVariant> itemData(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const GroupBuilder::Result &resultOf(int code) const;
    const GroupBuilder::Entry &entryOf(int code) const;
    const GroupBuilder::Entry *entryAt(int row) const;
    const GroupBuilder::Group &groupAt(int row) const;
    bool setCollapsed(int row, bool collapsed);
    QList<int> visibleEntries(const GroupBuilder::Result &built) const;
    void install(GroupBuilder::Result built, QList<int> visible);
    void setVisible(QList<int> visible);
    void rebuildAll();
    void rebuildInPlace();
    void onSourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                             const QList<int> &roles);
    bool touchesLayout(int firstColumn, int lastColumn) const;
    bool isTotalledTextColumn(int column) const;

    GroupLayout m_layout;
    GroupBuilder::Result m_built;
    GroupBuilder::Result m_previous; // only while an edit regroups in place
    QList<int> m_visible;            // view row -> entry of m_built, or -1 - entry of m_previous
    QList<int> m_sourceToProxy;      // table row -> view row, -1 inside a collapsed group
    QSet<QString> m_collapsed;       // paths of collapsed groups, kept across rebuilds
    QList<QMetaObject::Connection> m_sourceConnections;
};

} // namespace Ledgerly
