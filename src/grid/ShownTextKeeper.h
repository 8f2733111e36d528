#pragma once

#include <QObject>
#include <QTimer>

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
                             QObject *parent = nullptr);

    void setNeeded(bool needed);
    bool isNeeded() const { return m_needed; }
    // Every shown column that holds text is kept (none while not needed).
    bool isReady() const;

    static constexpr int sliceMs = 20;
    static constexpr int releaseDelayMs = 30000;

private:
    void fillSome();
    void columnsChanged();

    GridModel &m_table;
    QTimer m_fill;
    QTimer m_release;
    bool m_needed = false;
    QList<int> m_columns; // the shown columns that hold text
};

} // namespace Ledgerly
