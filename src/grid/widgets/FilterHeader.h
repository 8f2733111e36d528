#pragma once

#include "grid/SortKey.h"

#include <QHeaderView>
#include <QList>

class QLineEdit;
class QMenu;

namespace Ledgerly {

// The table's column header with what a person sorts and filters by:
//  - a click sorts by the column (ascending, descending, stored order),
//    Shift+click adds a further key; every key shows its direction, and
//    keys after the first their place;
//  - its context menu: Sort Ascending, Sort Descending, Stored Order;
//  - the filter row under the captions, one box per column, the record-
//    number column's box matching any column. A box whose text cannot be
//    applied is marked and says why in its tooltip.
// It only asks: the keys and the boxes' texts go out as signals, and the
// keys and the boxes' errors come back in.
class FilterHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit FilterHeader(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;

    bool filtersShown() const { return m_shown; }
    void setFiltersShown(bool shown);
    // The box of a column (0: any column); null when there is none.
    QLineEdit *filterBox(int logical) const;
    void setFilterError(int logical, const QString &error);
    // Empties every box without telling anyone: the filter was cleared.
    void clearFilters();

    const SortKeys &sortKeys() const { return m_keys; }
    void setSortKeys(const SortKeys &keys);

    QSize sizeHint() const override;

Q_SIGNALS:
    void sortKeysRequested(const Ledgerly::SortKeys &keys);
    void filterTextChanged(int logical, const QString &text);
    // The context menu is about to show: others add their entries.
    void contextMenuAboutToShow(QMenu *menu);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void updateGeometries() override;

private:
    void rebuildBoxes();
    void placeBoxes();
    void showMenu(const QPoint &position);
    int boxHeight() const;

    QList<QLineEdit *> m_boxes; // per logical column
    SortKeys m_keys;
    bool m_shown = false;
    bool m_extendClick = false;
    QList<QMetaObject::Connection> m_modelConnections;
};

} // namespace Ledgerly
