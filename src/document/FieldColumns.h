#pragma once

#include "grid/GridColumn.h"

namespace Ledgerly::FieldColumns {

// How a stored field type shows in the table: yes/no as a boolean column,
// dates and times as date columns, pictures as picture columns, text as
// text. -1 for a type the table does not show (its column keeps no key and
// its values stay in the stored records). The one place this mapping lives.
int dataTypeFor(int fieldType);

// Whether the table writes the field type back into records on a save
// (unknown types are kept as stored).
bool isWritten(int fieldType);

} // namespace Ledgerly::FieldColumns
