#pragma once

#include "ColumnKind.h"

#include <QVariant>

namespace Ledgerly {

// Turns text from a drop or a paste into a cell value of the column's kind.
namespace CellTextReader {

// false when the text does not read as the column's kind; *out is then the
// empty value. Empty text always reads, as the empty value.
bool read(ColumnKind kind, const QString &text, QVariant *out);

// What an emptied cell holds: no picture for picture columns, empty text
// otherwise (a save writes False for an empty yes/no and today for an empty
// date).
QVariant emptyValue(ColumnKind kind);

} // namespace CellTextReader

} // namespace Ledgerly
