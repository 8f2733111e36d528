#pragma once

#include "GridRoles.h"
#include "GroupLayout.h"

#include <QList>
#include <QLocale>
#include <QString>

class QAbstractItemModel;

namespace Ledgerly {

// Lays the rows of a table out in groups: for every level, one header row per
// distinct value of the level's column, the group's records (or the groups of
// the next level) in their own order, then a footer row with the group's
// count or totals. Groups follow the ascending order of their value, compared
// by the column's kind. Reads the table only through its roles.
class GroupBuilder
{
public:
    struct Entry
    {
        GridRoles::RowKind kind = GridRoles::RowKind::Record;
        int level = 0;
        int ref = -1; // record rows: the table row; group rows: the group number
    };
    struct Group
    {
        QString path; // the values of this group and its outer groups, as one key
        QString headerText;
        QString footerText;
        int level = 0;
    };
    struct Result
    {
        QList<Entry> entries;
        QList<Group> groups;
    };

    static Result build(const QAbstractItemModel &table, const GroupLayout &layout,
                        const QLocale &locale = QLocale());

    // Whether two entries of two layouts stand for the same row of the view.
    static bool sameRow(const Result &a, qsizetype ia, const Result &b, qsizetype ib);
};

} // namespace Ledgerly
