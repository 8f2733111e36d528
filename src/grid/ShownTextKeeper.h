#pragma once

#include <QObject>
#include <QTimer>

namespace Ledgerly {

class GridModel;

// Keeps the table's shown text ready while the filter row or the find bar
// is in use: fills it between events, a slice at a time, so that opening
// them never holds the window up, and gives its memory back when neither is.
class ShownTextKeeper : public QObject
{
    Q_OBJECT
public:
    explicit ShownTextKeeper(GridModel &table, QObject *parent = nullptr);

    void setNeeded(bool needed);
    bool isNeeded() const { return m_needed; }
    // Every shown column that holds text is kept (none while not needed).
    bool isReady() const;

    static constexpr int sliceMs = 20;

private:
    void fillSome();
    void columnsChanged();

    GridModel &m_table;
    QTimer m_fill;
    bool m_needed = false;
    QList<int> m_columns; // the shown columns that hold text
};

} // namespace Ledgerly
