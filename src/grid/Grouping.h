#pragma once

#include "GroupLayout.h"

#include <QObject>

class QAbstractItemModel;

namespace Ledgerly {

class GroupingProxyModel;

// "Group Fields": groups the table by every field whose schema role is
// "Group" and totals the fields marked "Calc", as the table's columns report
// their roles.
//
// The grouping is a view over the table (model()); the table's rows, their
// order and its columns never change, so saving and exporting are the same
// grouped or not.
class Grouping : public QObject
{
    Q_OBJECT
public:
    explicit Grouping(QAbstractItemModel &table, QObject *parent = nullptr);
    ~Grouping() override;

    // The grouped table, to put between the table and a view.
    GroupingProxyModel *model() const { return m_proxy; }
    bool isGrouped() const;

    // Lays the groups out afresh from the columns' roles (a second run
    // replaces the first, it never adds to it).
    void GroupColumns();
    // Removes every group.
    void clear();

    // The levels the roles ask for: one per "Group" field in field order; a
    // "Calc" field's totals go to the level created last, and the first
    // "Calc" field a level receives names its footer. A "Calc" field before
    // any "Group" field has no group to go to and is left out.
    static GroupLayout layoutFor(const QAbstractItemModel &table);

private:
    QAbstractItemModel &m_table;
    GroupingProxyModel *m_proxy;
};

} // namespace Ledgerly
