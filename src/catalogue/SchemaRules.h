#pragma once

#include <QString>

namespace Ledgerly {

// A schema section holds Databasename and two keys per field: the number of
// fields is (keyCount - 1) / 2 rounded to nearest, a half going to even
// (5 keys give 2, 6 give 2, 8 give 4). The one place this rule lives.
int schemaFieldCount(int keyCount);
// True when (keyCount - 1) / 2 is not the whole number fieldCount (the
// loader's field pass compares against the unrounded quotient).
bool fieldCountDiffersFromSchema(int fieldCount, int keyCount);

// The role the schema gives a field ("<field>Hide").
enum class FieldRole : int {
    Shown,
    Hidden,
    Group, // shown; grouping forms its groups on this field
    Calc,  // shown; grouping totals this field
};
// The role a "<field>Hide" value gives: "Calc" and "Group" (case ignored)
// show the field, a boolean false shows it, anything else hides it.
FieldRole fieldRole(const QString &roleValue);

// Role values ("<field>Hide"), compared without regard to case.
bool roleIsCalc(const QString &role);
bool roleIsGroup(const QString &role);
// Hidden unless the value reads as boolean false, is "Calc" or is "Group";
// empty, missing, true and unreadable values hide.
bool roleHidesColumn(const QString &role);

// A section name is used as a file stem; this refuses separators, "..",
// and characters a file name cannot hold.
bool isSafeSectionName(const QString &section);

} // namespace Ledgerly
