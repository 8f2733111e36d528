#include "RemoveRowsCommand.h"

#include <algorithm>

namespace Ledgerly {

namespace {
// Beyond this many separate ranges one reset is quicker for a view than a
// notification per range.
constexpr int maxRangeNotifications = 64;
} // namespace

RemoveRowsCommand::RemoveRowsCommand(GridModel &model, QList<int> rows, const QString &text,
                                     QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const int total = model.rowCount();
    for (int row : std::as_const(rows)) {
        if (row < 0 || row >= total)
            continue;
        if (!m_ranges.isEmpty() && m_ranges.last().start + m_ranges.last().rows.size() == row)
            m_ranges.last().rows.append(GridRow{});
        else
            m_ranges.append({row, {GridRow{}}});
        ++m_count;
    }
}

void RemoveRowsCommand::redo()
{
    if (m_ranges.size() <= maxRangeNotifications) {
        // From the bottom, so the starts of the ranges above stay valid.
        for (auto it = m_ranges.rbegin(); it != m_ranges.rend(); ++it)
            it->rows = m_model.takeGridRows(it->start, int(it->rows.size()));
        return;
    }
    const QList<GridRow> &all = m_model.gridRows();
    QList<GridRow> kept;
    kept.reserve(all.size() - m_count);
    int next = 0;
    for (Range &range : m_ranges) {
        kept.append(all.mid(next, range.start - next));
        range.rows = all.mid(range.start, range.rows.size());
        next = range.start + int(range.rows.size());
    }
    kept.append(all.mid(next));
    m_model.setRows(std::move(kept));
}

void RemoveRowsCommand::undo()
{
    if (m_ranges.size() <= maxRangeNotifications) {
        for (const Range &range : std::as_const(m_ranges))
            m_model.insertGridRows(range.start, range.rows);
        return;
    }
    const QList<GridRow> &kept = m_model.gridRows();
    QList<GridRow> all;
    all.reserve(kept.size() + m_count);
    int taken = 0;
    for (const Range &range : std::as_const(m_ranges)) {
        const int before = range.start - int(all.size());
        all.append(kept.mid(taken, before));
        taken += before;
        all.append(range.rows);
    }
    all.append(kept.mid(taken));
    m_model.setRows(std::move(all));
}

} // namespace Ledgerly
