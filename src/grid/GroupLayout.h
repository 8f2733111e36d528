#pragma once

#include <QList>
#include <QString>

namespace Ledgerly {

// One level of grouping: the column whose values form the groups and, when a
// "Calc" field's calculations were attached to it, the totalled column and
// the caption its footer names. Levels are outermost first.
struct GroupLevel
{
    int column = -1;
    int calcColumn = -1; // -1: the footer only counts the records
    QString calcCaption;

    bool operator==(const GroupLevel &) const = default;
};

using GroupLayout = QList<GroupLevel>;

} // namespace Ledgerly
