#pragma once

#include <QList>
#include <QString>
#include <Qt>

class QAbstractItemModel;

namespace Ledgerly {

// One key of the table's view order: a column and its direction. Keys are
// listed first key first; an empty list is the stored order.
struct SortKey
{
    int column = -1;
    Qt::SortOrder order = Qt::AscendingOrder;

    bool operator==(const SortKey &) const = default;
};

using SortKeys = QList<SortKey>;

namespace SortKeyList {

// What a click on a column header makes of the keys: ascending, then
// descending, then gone. A plain click keeps only that column; an extending
// click (Shift) adds it as a further key or turns it where it stands.
SortKeys clicked(const SortKeys &keys, int column, bool extend);

// "Field" or "Field:desc" for a column, by its key or caption (case ignored).
// False with a reason when the text names no column of the table.
bool parse(const QAbstractItemModel &table, const QString &text, SortKey *out, QString *error);
// The keys as "Amount:desc;Date", by the columns' keys, and back; names the
// table does not have are left out, so a changed schema costs only those keys.
QString write(const QAbstractItemModel &table, const SortKeys &keys);
SortKeys read(const QAbstractItemModel &table, const QString &text);

} // namespace SortKeyList

} // namespace Ledgerly
