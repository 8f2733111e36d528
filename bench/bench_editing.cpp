// Times the table changes a person can make in one step on the largest table
// the program's loops handle (32,767 records, 20 fields): pasting and
// dropping 10,000 lines of 20 fields, deleting 10,000 selected records, and
// undoing each, all through the editing commands with a view-like proxy on
// top, as in the window.
#include "grid/GridModel.h"
#include "grid/RecordTableProxy.h"
#include "grid/TableEditor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <functional>

#include <time.h>

using namespace Ledgerly;

namespace {

constexpr int kRecords = 32767;
constexpr int kFields = 20;
constexpr int kLines = 10000;

void fill(GridModel &model)
{
    for (int f = 1; f <= kFields; ++f) {
        GridColumn column;
        column.key = QStringLiteral("Field%1").arg(f);
        if (f % 5 == 2)
            column.kind = ColumnKind::YesNo;
        model.addColumn(column);
    }
    QList<GridRow> rows(kRecords);
    for (int r = 0; r < kRecords; ++r) {
        GridRow &row = rows[r];
        row.sourceRecord = r;
        row.cells.resize(kFields + 1);
        for (int f = 1; f <= kFields; ++f)
            row.cells[f] = f % 5 == 2 ? QVariant(r % 2 == 0)
                                      : QVariant(QStringLiteral("Value %1 of %2").arg(f).arg(r));
    }
    model.setRows(std::move(rows));
}

QString lines()
{
    QString text;
    for (int l = 0; l < kLines; ++l) {
        for (int f = 1; f <= kFields; ++f) {
            if (f > 1)
                text += QLatin1Char('\t');
            text +=
                f % 5 == 2 ? QStringLiteral("True") : QStringLiteral("Pasted %1.%2").arg(l).arg(f);
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// Wall time and this thread's processor time: on a shared machine the wall
// time also counts the waits for a processor.
void time(QTextStream &out, const char *what, const std::function<void()> &step)
{
    QElapsedTimer timer;
    const double cpuBefore = threadCpuMs();
    timer.start();
    step();
    const qint64 wall = timer.elapsed();
    out << what << ": " << wall << " ms (" << qRound(threadCpuMs() - cpuBefore)
        << " ms processor)\n";
    out.flush();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    GridModel model;
    fill(model);
    TableEditor editor(model);
    RecordTableProxy proxy(editor);
    proxy.setSourceModel(&model);
    const QString text = lines();
    QList<int> columns;
    for (int f = 1; f <= kFields; ++f)
        columns.append(f);

    // Over the last 5,000 records, the other 5,000 lines become new records.
    QList<int> rows;
    for (int r = kRecords - kLines / 2; r < kRecords; ++r)
        rows.append(r);
    time(out, "paste 10,000 lines x 20 fields", [&] { editor.pasteText(text, rows, columns); });
    time(out, "undo the paste", [&] { editor.undo(); });
    time(out, "drop 10,000 lines x 20 fields", [&] { editor.dropText(text, columns); });
    time(out, "undo the drop", [&] { editor.undo(); });

    QList<int> contiguous;
    for (int r = 1000; r < 1000 + kLines; ++r)
        contiguous.append(r);
    time(out, "delete 10,000 adjoining records", [&] { editor.removeRecords(contiguous); });
    time(out, "undo the delete", [&] { editor.undo(); });

    QList<int> scattered;
    for (int r = 0; r < kLines * 3; r += 3)
        scattered.append(r);
    time(out, "delete 10,000 records apart", [&] { editor.removeRecords(scattered); });
    time(out, "undo the delete apart", [&] { editor.undo(); });
    return model.rowCount() == kRecords ? 0 : 1;
}
