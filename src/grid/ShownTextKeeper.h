#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

namespace Ledgerly {

class GridModel;

// Keeps the table's shown text ready while the filter row or the find bar
// is in use: fills it between events, a slice at a time, so that opening
// them never holds the window up, and gives its memory back a while after
// neither is (so that closing the find bar and opening it again for one
// more search finds the text still there).
class ShownTextKeeper : public QObject
{
    Q_OBJECT
public:
    explicit ShownTextKeeper(GridModel &table, int releaseAfterMs = releaseDelayMs,
                             int fillBeforeWaiting = fillBeforeWaitingMs,
                             QObject *parent = nullptr);

    void setNeeded(bool needed);
    bool isNeeded() const { return m_needed; }
    // Every shown column that holds text is kept (none while not needed).
    bool isReady() const;
    // Runs a search once the text is kept: at once when it is (or is not
    // needed), after filling a little more when that is all it takes, else
    // when the filling ends, so that a search never decodes every record
    // while the window waits. A job given under the same key before then
    // (a filter box's column, or one of the find bar's) takes the waiting
    // one's place. A job runs when it is its turn, not when it was given,
    // so it reads what it works on then; jobs still waiting when the text
    // is no longer needed run at once.
    void whenReady(int key, std::function<void()> job);

    static constexpr int sliceMs = 20;
    static constexpr int releaseDelayMs = 30000;
    // How long a search may fill before it is left to wait.
    static constexpr int fillBeforeWaitingMs = 10;

private:
    void fillSome(QDeadlineTimer deadline);
    void columnsChanged();

    GridModel &m_table;
    QTimer m_fill;
    QTimer m_release;
    int m_fillBeforeWaitingMs;
    bool m_needed = false;
    QList<int> m_columns; // the shown columns that hold text
    QList<std::pair<int, std::function<void()>>> m_waiting;
};

} // namespace Ledgerly
