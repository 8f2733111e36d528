#pragma once

// FieldRole, the role the schema gives a field, is the schema's own word.
#include "catalogue/SchemaRules.h"

namespace Ledgerly {

// What a column holds, fixed when its database loads: every reader (views,
// delegates, grouping, sorting, printing, the edit and paste rules) asks the
// column's KindRole instead of working it out again.
enum class ColumnKind : int {
    Text,
    YesNo,
    Date,
    Time,
    DateTime,
    Picture,
    Other, // a stored type the table does not show or write; its bytes stay as stored
};

// Dates, times and date-and-time values all read and show as wall-clock values.
constexpr bool holdsDateTime(ColumnKind kind)
{
    return kind == ColumnKind::Date || kind == ColumnKind::Time || kind == ColumnKind::DateTime;
}

} // namespace Ledgerly
