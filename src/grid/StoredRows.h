#pragma once

#include <QByteArrayView>
#include <QVariant>

namespace Ledgerly {

// Where the table finds the values of rows loaded from stored records and
// not changed since: they are read on demand instead of being copied into
// every row, so a large database costs the table little more than a row
// count.
class StoredRows
{
public:
    virtual ~StoredRows() = default;
    virtual int recordCount() const = 0;
    // The value stored record `record` shows in table column `column` (>= 1).
    virtual QVariant cell(int record, int column) const = 0;
    // The bytes, in the handheld's code page, of the text cell() gives,
    // when the record stores it as such: copied as they are where the text
    // would only be decoded and encoded again. false otherwise.
    virtual bool storedText(int record, int column, QByteArrayView *bytes) const
    {
        Q_UNUSED(record)
        Q_UNUSED(column)
        Q_UNUSED(bytes)
        return false;
    }
};

} // namespace Ledgerly
