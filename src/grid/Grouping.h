#pragma once

#include "GroupLayout.h"

#include <QObject>
#include <QStringList>

namespace Ledgerly {

class GridModel;
class GroupingProxyModel;

// "Group Fields": groups the table by every field whose role value is
// "Group" and totals the fields marked "Calc". The roles and captions come in
// as plain lists, one entry per table column (entry 0, the record-number
// column, is not a field), so this does not care where the schema lives.
//
// The grouping is a view over the table (model()); the table's rows and
// their order never change, so saving and exporting are the same grouped or
// not. Only the column types change: a totalled text column is a number
// column (data type 3) while grouped and a text column again afterwards.
class Grouping : public QObject
{
    Q_OBJECT
public:
    explicit Grouping(GridModel &table, QObject *parent = nullptr);
    ~Grouping() override;

    // The grouped table, to put between the table and a view.
    GroupingProxyModel *model() const { return m_proxy; }
    bool isGrouped() const;

    // Lays the groups out afresh from the roles (a second run replaces the
    // first, it never adds to it) and sets the text columns' data types.
    // Hiding columns by role is left to the caller, as after loading.
    void GroupColumns(const QStringList &roles, const QStringList &captions);
    // Removes every group; totalled columns become text columns again.
    void clear();

    // The levels the roles ask for: one per "Group" field in field order; a
    // "Calc" field's totals go to the level created last, and the first
    // "Calc" field a level receives names its footer. A "Calc" field before
    // any "Group" field has no group to go to and is left out.
    static GroupLayout layoutFor(const QStringList &roles, const QStringList &captions);

private:
    void restoreTextColumns();
    void finish();

    GridModel &m_table;
    GroupingProxyModel *m_proxy;
    QList<int> m_numberColumns;
};

} // namespace Ledgerly
