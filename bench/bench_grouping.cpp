// Times "Group Fields" on the largest table the program's loops handle
// (32,767 records) with 20 fields, one "Group" and one "Calc" field: grouping,
// folding every group, an edit that moves a record to another group, and
// clearing the grouping again.
#include "grid/GridModel.h"
#include "grid/GridValue.h"
#include "grid/GroupBuilder.h"
#include "grid/Grouping.h"
#include "grid/GroupingProxyModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <ctime>

using namespace Ledgerly;

namespace {

constexpr int kRecords = 32767;
constexpr int kFields = 20;
constexpr int kGroupField = 3; // 250 categories
constexpr int kCalcField = 10; // amounts

void fill(GridModel &model)
{
    for (int f = 1; f <= kFields; ++f) {
        GridColumn column;
        column.key = QStringLiteral("Field%1").arg(f);
        column.caption = column.key;
        if (f % 5 == 2)
            column.kind = ColumnKind::YesNo;
        else if (f % 5 == 4)
            column.kind = ColumnKind::Date;
        if (f == kGroupField)
            column.role = FieldRole::Group;
        if (f == kCalcField)
            column.role = FieldRole::Calc;
        model.addColumn(column);
    }
    QList<GridRow> rows(kRecords);
    const QDateTime day = GridValue::wallClock(QDate(1999, 3, 1), QTime(0, 0));
    for (int r = 0; r < kRecords; ++r) {
        QList<QVariant> &cells = rows[r].cells;
        cells.resize(kFields + 1);
        for (int f = 1; f <= kFields; ++f) {
            if (f % 5 == 2)
                cells[f] = r % 2 == 0;
            else if (f % 5 == 4)
                cells[f] = day.addSecs(qint64(r) * 3607);
            else
                cells[f] = QStringLiteral("Value %1 %2").arg(f).arg(r);
        }
        cells[kGroupField] = QStringLiteral("Category %1").arg(r % 250);
        cells[kCalcField] = QString::number((r % 1000) / 4.0);
    }
    model.setRows(std::move(rows));
}

// Wall-clock and processor time since the last call: on a busy machine the
// processor time shows the work itself, the wall clock what a person waits.
class Stopwatch
{
public:
    Stopwatch() { restart(); }
    void restart()
    {
        m_wall.start();
        m_cpu = std::clock();
    }
    QString lap()
    {
        const double cpu = double(std::clock() - m_cpu) * 1000.0 / CLOCKS_PER_SEC;
        const QString text =
            QStringLiteral("%1 ms (processor %2 ms)").arg(m_wall.elapsed()).arg(qRound(cpu));
        restart();
        return text;
    }

private:
    QElapsedTimer m_wall;
    std::clock_t m_cpu = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    Stopwatch timer;

    GridModel table;
    fill(table);
    Grouping grouping(table);

    timer.restart();
    const GroupBuilder::Result alone = GroupBuilder::build(table, Grouping::layoutFor(table));
    out << "lay the groups out (no model signals): " << timer.lap() << "\n";

    timer.restart();
    grouping.GroupColumns();
    out << "group " << kRecords << " x " << kFields << " by one field with totals: " << timer.lap()
        << " (" << grouping.model()->groupCount() << " groups, " << grouping.model()->rowCount()
        << " rows)\n";

    GroupingProxyModel &view = *grouping.model();
    timer.restart();
    for (int row = view.rowCount() - 1; row >= 0; --row)
        if (view.index(row, 0).data(GridRoles::RowKindRole).toInt() ==
            int(GridRoles::RowKind::GroupHeader))
            view.setData(view.index(row, 0), true, GridRoles::GroupCollapsedRole);
    out << "collapse every group one by one: " << timer.lap() << " (" << view.rowCount()
        << " rows)\n";

    timer.restart();
    table.setData(table.index(0, kGroupField), QStringLiteral("Category 7"));
    out << "edit a grouping value (record moves group): " << timer.lap() << "\n";

    timer.restart();
    grouping.clear();
    out << "clear the grouping: " << timer.lap() << " (" << view.rowCount() << " rows)\n";
    return view.rowCount() == kRecords ? 0 : 1;
}
