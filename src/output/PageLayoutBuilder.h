#pragma once

#include "ColumnFit.h"
#include "PageLayout.h"

#include <QDeadlineTimer>

#include <vector>

namespace Ledgerly {

// Lays a table out in steps, so that the window stays responsive while the
// records of a large table are measured: first every cell is measured (the
// widths of its longest line and of its longest word or figure), then the
// columns are fitted to the page, then every row gets its height and its
// page. Each cell's text is read once, and read again only when it does
// not fit its column on one line.
class PageLayoutBuilder
{
public:
    PageLayoutBuilder(const QAbstractItemModel &model, QSizeF pageSize, const QString &title = {},
                      std::shared_ptr<const PageStyle> style = {});

    // Works until the deadline; true once the layout is complete.
    bool advance(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));
    bool isDone() const { return m_phase == Phase::Done; }
    // How far it has got, 0 to 100.
    int percent() const;
    // The finished layout (complete once isDone()).
    const PageLayout &layout() const { return m_layout; }

private:
    enum class Phase { Measure, Rows, Done };
    struct Column
    {
        int column = 0;
        ColumnKind kind = ColumnKind::Other;
        QString caption;
        double full = 0;
        double minimum = 0;
        bool right = false;
    };

    void start();
    void measureRow(int row);
    void fitColumns();
    void layOutRow(int row);
    double recordLines(int row, bool *picture);
    void place(const PrintedRow &printed, double lineHeight);
    void startPage(qsizetype at);
    double bodyRoom() const { return m_layout.bodyBottom() - m_layout.bodyTop(); }
    float &cellWidth(int row, int visible)
    {
        return m_widths[size_t(row) * size_t(m_columns.size()) + size_t(visible)];
    }

    PageLayout m_layout;
    const TextMetrics &m_cell;
    Phase m_phase = Phase::Measure;
    int m_rowCount = 0;
    int m_next = 0; // the next model row of the phase
    QList<Column> m_columns;
    QList<GridRoles::RowKind> m_kinds;
    // Per record cell: the width of its text on one line, or a marker below.
    std::vector<float> m_widths;
    QList<double> m_inner; // per visible column: the width its text has
    double m_used = 0;     // of the body of the page being filled
};

} // namespace Ledgerly
