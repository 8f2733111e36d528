#pragma once

#include "GridValue.h"
#include "ShownTextCache.h"

#include <QBitArray>
#include <QList>
#include <QString>

namespace Ledgerly {

class GridModel;

// The text a table's cells show, for searching: read from the table's kept
// shown text where it is complete, made from the cell's value elsewhere.
// A search that goes on past a few thousand cells has each column answered
// in one pass over its kept text, so one instance is best kept for a whole
// pass.
class CellTexts
{
public:
    // Cells read one at a time before whole columns are searched.
    static constexpr qsizetype cellsBeforeColumns = 4096;

    explicit CellTexts(const GridModel &table, qsizetype cellsOneByOne = cellsBeforeColumns);

    // Valid until the next call.
    QStringView text(int row, int column);
    bool contains(int row, int column, const QString &text, Qt::CaseSensitivity cs);

    // The stored records that hold the text in any of the columns (or, with
    // `every`, in each of them), by stored record; false when a column's
    // text is not kept complete. Rows with values of their own are not
    // answered: ask contains() for them.
    bool storedRecordsContaining(const QList<int> &columns, const QString &text,
                                 Qt::CaseSensitivity cs, bool every, QBitArray *records);

    // Whether the row surely holds the text in none of the columns, so a
    // search may pass over it whole; false when that is not known (the row
    // has values of its own, or the search has not gone far enough yet for
    // whole columns to be worth searching).
    bool holdsNone(int row, const QList<int> &columns, const QString &text, Qt::CaseSensitivity cs);

private:
    void lookFor(const QString &text, Qt::CaseSensitivity cs);
    const QBitArray *columnHits(int column);

    // What is known of one column while the kept text stays the same.
    struct Column
    {
        bool scanned = false;
        QBitArray hits; // the stored records that hold the text
    };
    Column &columnAt(int column);

    const GridModel &m_table;
    GridValue::ShownText m_shown;
    QString m_made;
    // What contains() looks for, and the stored records each column holds
    // it in, while the kept text stays the same.
    ShownTextCache::Search m_search;
    quint64 m_generation = 0;
    qsizetype m_cellsOneByOne;
    qsizetype m_cellsRead = 0;
    QList<Column> m_columns; // by table column
    // The stored records that hold the text in any of these columns.
    QList<int> m_anyColumns;
    QBitArray m_inAny;
    bool m_anyKnown = false;
};

} // namespace Ledgerly
