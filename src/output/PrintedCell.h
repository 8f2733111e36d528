#pragma once

#include "grid/ColumnKind.h"

#include <QString>

class QModelIndex;

namespace Ledgerly {

// What one cell of a record puts on paper, read through the table's roles
// alone: the layout measures it and the painter draws it from the same text.
namespace PrintedCell {

// The whole value as text: a yes/no cell's "True"/"False", a text with its
// line breaks (the table shows those on one line), dates and times as the
// table shows them; nothing for a picture.
QString text(const QModelIndex &index, ColumnKind kind);
// Figures line up on the right, as the table shows them; so does the
// record number.
bool alignedRight(const QModelIndex &index);
// Dates, times, yes/no values, figures and record numbers are never broken
// across lines.
bool keptWhole(ColumnKind kind, int column, bool right);
// A picture cell that holds a picture (read without decoding it).
bool holdsPicture(const QModelIndex &index);
// The text of a group header or footer row.
QString groupText(const QModelIndex &index);

} // namespace PrintedCell

} // namespace Ledgerly
