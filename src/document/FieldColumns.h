#pragma once

#include "grid/ColumnKind.h"

namespace Ledgerly::FieldColumns {

// The kind of column a stored field type shows as: yes/no, date, time and
// date-and-time, pictures, text; Other for a type the table neither shows
// nor writes (its values stay in the stored records). The one place this
// mapping lives.
ColumnKind kindFor(int fieldType);

// Whether the table writes the field type back into records on a save
// (unknown types are kept as stored).
bool isWritten(int fieldType);

} // namespace Ledgerly::FieldColumns
