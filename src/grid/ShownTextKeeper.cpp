#include "ShownTextKeeper.h"

#include "GridModel.h"

namespace Ledgerly {

ShownTextKeeper::ShownTextKeeper(GridModel &table, int releaseAfterMs, int fillBeforeWaiting,
                                 QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_fillBeforeWaitingMs(fillBeforeWaiting)
{
    m_fill.setInterval(0);
    connect(&m_fill, &QTimer::timeout, this, [this] { fillSome(QDeadlineTimer(sliceMs)); });
    m_release.setSingleShot(true);
    m_release.setInterval(releaseAfterMs);
    connect(&m_release, &QTimer::timeout, &m_table, &GridModel::forgetShownText);
    // Whatever the table does may add records or columns to keep: a pass
    // over what is already kept costs nothing.
    using M = QAbstractItemModel;
    connect(&table, &M::modelReset, this, &ShownTextKeeper::columnsChanged);
    for (auto signal : {&M::rowsInserted, &M::columnsInserted, &M::columnsRemoved})
        connect(&table, signal, this, &ShownTextKeeper::columnsChanged);
    connect(&table, &M::headerDataChanged, this, &ShownTextKeeper::columnsChanged);
    connect(&table, &GridModel::shownTextForgotten, this, [this] {
        if (m_needed)
            m_fill.start();
    });
}

void ShownTextKeeper::setNeeded(bool needed)
{
    if (needed == m_needed)
        return;
    m_needed = needed;
    if (needed) {
        m_release.stop();
        columnsChanged();
    } else {
        m_release.start();
        // Nothing waits for text that is no longer needed.
        fillSome({});
    }
}

bool ShownTextKeeper::isReady() const
{
    return m_needed && !m_fill.isActive();
}

void ShownTextKeeper::columnsChanged()
{
    if (!m_needed)
        return;
    m_columns.clear();
    for (int c = 1; c < m_table.columnCount(); ++c) {
        const ColumnKind kind = m_table.column(c).kind;
        if (kind != ColumnKind::Picture && kind != ColumnKind::Other && !m_table.isColumnHidden(c))
            m_columns.append(c);
    }
    m_fill.start();
}

void ShownTextKeeper::whenReady(int key, std::function<void()> job)
{
    if (m_needed && m_fill.isActive())
        fillSome(QDeadlineTimer(m_fillBeforeWaitingMs));
    if (!m_needed || !m_fill.isActive()) {
        job();
        return;
    }
    for (auto &waiting : m_waiting)
        if (waiting.first == key) {
            waiting.second = std::move(job);
            return;
        }
    m_waiting.append({key, std::move(job)});
}

void ShownTextKeeper::fillSome(QDeadlineTimer deadline)
{
    if (m_needed && !m_table.keepShownText(m_columns, deadline))
        return;
    m_fill.stop();
    for (const auto &waiting : std::exchange(m_waiting, {}))
        waiting.second();
}

} // namespace Ledgerly
