#pragma once

#include "PageLayout.h"

#include <QList>

namespace Ledgerly {

// What a printed column asks for, in points with its padding: the width
// that shows every value and the caption on one line, and the narrowest
// width that breaks no word, date or figure.
struct ColumnNeed
{
    int column = 0;
    double natural = 0;
    double minimum = 0;
    bool stretches = false; // text that wraps takes the room left over
    bool right = false;
    bool repeated = false; // the record number: starts every band
};

// Shares a page width out among columns: all at their natural width when
// they fit (the room left over goes to the columns of text), else the
// columns that ask for little get their natural width and the wide ones
// share the rest alike, none narrower than its minimum. Columns whose
// minimums do not fit together go on to further bands of pages, each
// started by the repeated column; a band takes columns while each can have
// its natural width or a quarter of the page, whichever is less.
namespace ColumnFit {
QList<QList<PageColumn>> bands(const QList<ColumnNeed> &needs, double width);
}

} // namespace Ledgerly
