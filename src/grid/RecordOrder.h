#pragma once

#include "SortKey.h"

#include <QList>
#include <QLocale>

class QAbstractItemModel;

namespace Ledgerly {

// The order of records by sort keys, with values compared as their column's
// kind says: dates and times by the moment, yes/no False before True,
// pictures present before absent, text case-insensitively in the locale's
// collation, or as numbers when every value of the column reads as one.
// Empty values come last in either direction. The sort is stable: records
// with equal keys keep the order they were given in.
namespace RecordOrder {

// The rows of the table (its own row numbers) in the keys' order.
QList<int> sorted(const QAbstractItemModel &table, const SortKeys &keys, const QList<int> &rows,
                  const QLocale &locale = QLocale());

// Every row of the table in the keys' order.
QList<int> sortedAll(const QAbstractItemModel &table, const SortKeys &keys,
                     const QLocale &locale = QLocale());

} // namespace RecordOrder

} // namespace Ledgerly
