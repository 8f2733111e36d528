#pragma once

#include "RecordFilter.h"
#include "SortKey.h"

#include <QAbstractProxyModel>
#include <QTimer>

#include <memory>

namespace Ledgerly {

// The table as the person has chosen to look at it: sorted by the keys and
// filtered by the filter row, between the table model and grouping. A view
// only: the table's rows and their order never change here, so saving and
// exporting are the same whatever is shown.
//
// The order and the filter are worked out when the keys or a box change
// (and when the table is replaced). Records added or changed through the
// view after that stay where they are and stay shown, so a record typed in
// does not vanish under the cursor because it does not match yet: an
// appended record comes last, an inserted one before the record it was
// inserted above. Setting the keys or a box again puts everything in place.
class RecordViewProxy : public QAbstractProxyModel
{
    Q_OBJECT
public:
    explicit RecordViewProxy(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;

    const SortKeys &sortKeys() const { return m_keys; }
    void setSortKeys(const SortKeys &keys);
    // Every record of the table (shown or not) in the keys' order.
    QList<int> sortedRecords() const;

    // A box of the filter row (RecordFilter::AnyColumn for the one that
    // matches any shown column).
    void setFilterText(int column, const QString &text);
    QString filterText(int column) const { return m_filter.text(column); }
    QString filterError(int column) const { return m_filter.error(column); }
    void clearFilter();
    bool isFiltering() const { return m_filter.isActive(); }
    // Whether a box is applied in slices between events, the view changing
    // when every record has been seen (the window's way: a slow regular
    // expression never holds it up), or at once (the default).
    void setFilterInSlices(bool inSlices, int sliceMs = filterSliceMs);
    // A box set in slices is still being applied.
    bool isFilterPending() const { return m_pass != nullptr; }
    static constexpr int filterSliceMs = 30;
    // How long a regular expression may run in all when applied in slices.
    static constexpr int slicedRegexBudgetMs = 3000;
    // "N of M records" while a filter is on, else empty.
    QString countText() const;

    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &idx) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // The rows shown or their order changed (keys, filter, records added
    // or removed).
    void viewChanged();
    // Every box was emptied (by clearFilter(), or because the table's
    // columns changed).
    void filterCleared();

private:
    QList<int> arrange();
    QList<int> ordered(QList<int> rows) const;
    void relayout();
    void relayoutWith(QList<int> rows);
    void startFilterPass();
    void continueFilterPass();
    void cancelFilterPass();
    void remapFromSource();
    QList<int> filterColumns() const;
    void sourceRowsInserted(int first, int last);
    void sourceRowsAboutToBeRemoved(int first, int last);
    void sourceRowsRemoved(int first, int last);
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                           const QList<int> &roles);
    void sourceReset();
    void sourceColumnsChanged();

    SortKeys m_keys;
    RecordFilter m_filter;
    QList<int> m_rows;    // view row -> table row
    QList<int> m_viewRow; // table row -> view row, -1 when filtered out
    QList<QMetaObject::Connection> m_sourceConnections;
    bool m_inSlices = false;
    int m_sliceMs = filterSliceMs;
    std::unique_ptr<RecordFilter::Pass> m_pass; // a box being applied in slices
    QTimer m_passTimer;
};

} // namespace Ledgerly
