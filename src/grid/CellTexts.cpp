#include "CellTexts.h"

#include "GridModel.h"

namespace Ledgerly {

CellTexts::CellTexts(const GridModel &table, qsizetype cellsOneByOne)
    : m_table(table)
    , m_generation(table.shownTextGeneration())
    , m_cellsOneByOne(cellsOneByOne)
{}

QStringView CellTexts::text(int row, int column)
{
    const int record = m_table.storedRecord(row);
    if (const ShownTextCache *kept = record >= 0 ? m_table.completeShownText(column) : nullptr)
        kept->text(column, record, &m_made);
    else
        m_made = m_shown(m_table.cell(row, column));
    return m_made;
}

void CellTexts::lookFor(const QString &text, Qt::CaseSensitivity cs)
{
    // Called for every cell with the same text: the same string is the
    // same text.
    const QString &looked = m_search.text();
    const bool same =
        (looked.constData() == text.constData() && looked.size() == text.size()) || looked == text;
    if (same && m_search.caseSensitivity() == cs && m_generation == m_table.shownTextGeneration())
        return;
    m_search = ShownTextCache::Search(text, cs);
    m_generation = m_table.shownTextGeneration();
    m_columns.clear();
    m_anyKnown = false;
}

CellTexts::Column &CellTexts::columnAt(int column)
{
    if (column >= m_columns.size())
        m_columns.resize(column + 1);
    return m_columns[column];
}

const QBitArray *CellTexts::columnHits(int column)
{
    if (column < 0)
        return nullptr;
    Column &known = columnAt(column);
    if (!known.scanned) {
        const ShownTextCache *kept = m_table.completeShownText(column);
        if (!kept)
            return nullptr;
        known.hits = kept->recordsContaining(column, m_search);
        known.scanned = true;
    }
    return &known.hits;
}

bool CellTexts::contains(int row, int column, const QString &text, Qt::CaseSensitivity cs)
{
    lookFor(text, cs);
    const int record = m_table.storedRecord(row);
    if (record >= 0) {
        if (++m_cellsRead > m_cellsOneByOne) {
            if (const QBitArray *hits = columnHits(column); hits && record < hits->size())
                return hits->testBit(record);
        } else if (const ShownTextCache *kept = m_table.completeShownText(column)) {
            return kept->contains(column, record, m_search);
        }
    }
    return this->text(row, column).contains(text, cs);
}

bool CellTexts::storedRecordsContaining(const QList<int> &columns, const QString &text,
                                        Qt::CaseSensitivity cs, bool every, QBitArray *records)
{
    lookFor(text, cs);
    QBitArray combined;
    for (int column : columns) {
        const QBitArray *hits = columnHits(column);
        if (!hits)
            return false;
        if (combined.isEmpty())
            combined = *hits;
        else if (every)
            combined &= *hits;
        else
            combined |= *hits;
    }
    *records = combined;
    return true;
}

bool CellTexts::holdsNone(int row, const QList<int> &columns, const QString &text,
                          Qt::CaseSensitivity cs)
{
    lookFor(text, cs);
    if (m_cellsRead <= m_cellsOneByOne)
        return false;
    if (!m_anyKnown || m_anyColumns != columns) {
        m_anyColumns = columns;
        m_anyKnown = true;
        if (!storedRecordsContaining(columns, text, cs, false, &m_inAny))
            m_inAny.clear();
    }
    const int record = m_table.storedRecord(row);
    return record >= 0 && record < m_inAny.size() && !m_inAny.testBit(record);
}

} // namespace Ledgerly
