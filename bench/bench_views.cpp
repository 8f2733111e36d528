// Times the table's views and tools on the largest database a file holds
// (65,535 records, 20 fields, loaded as the window loads it, values read
// from the stored records on demand): sorting by one column of each kind,
// each keystroke typed into a filter box, Find Next, counting the matches,
// Replace All of 10,000 matches, Sort Records, and how soon a regular
// expression that backtracks badly gives up. Every one of them runs on the
// window's thread, so its time is also how long the window waits.
#include "catalogue/Catalogue.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"
#include "document/Document.h"
#include "gen/BenchData.h"
#include "grid/FindReplace.h"
#include "grid/RecordTableProxy.h"
#include "grid/RecordViewProxy.h"
#include "grid/ShownTextKeeper.h"
#include "grid/TableEditor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>

using namespace Ledgerly;

namespace {

constexpr int kRecords = 65535;

// Columns of the benchmark table (field number + 1).
constexpr int kName = 1;
constexpr int kCategory = 8;
constexpr int kAmount = 9;
constexpr int kPaid = 11;
constexpr int kDue = 13;
constexpr int kCode = 20;

double ms(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Processor time used so far: on a shared machine it shows the work itself,
// the wall clock what a person would wait.
double cpuMs()
{
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

QString figure(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

// Wall-clock and processor time since start().
class Clock
{
public:
    void start()
    {
        m_cpu = cpuMs();
        m_wall.start();
    }
    double wallMs() const { return ms(m_wall); }
    double processorMs() const { return cpuMs() - m_cpu; }
    QString text() const
    {
        return figure(wallMs()) + QStringLiteral(" (processor ") + figure(processorMs()) +
               QLatin1Char(')');
    }

private:
    QElapsedTimer m_wall;
    double m_cpu = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("QuayDB.ini"));
    {
        QFile file(ini);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(Bench::benchSchemaSection(QStringLiteral("Bench"), true).toUtf8());
    }
    const QString path = dir.filePath(QStringLiteral("Bench.pdb"));
    Bench::makeBenchDatabase(kRecords, true)->SaveAs(path);

    RecordServer server(dir.path());
    Document document(server);
    document.setSchema(Catalogue::build(ini).schemaSection(0));
    document.open(path);
    document.fillTable();
    document.unHideColumns();
    document.hideColumns();
    GridModel &table = document.model();
    RecordViewProxy view;
    view.setSourceModel(&table);
    RecordTableProxy shown(document.editor());
    shown.setSourceModel(&view);
    out << "table: " << table.rowCount() << " records x " << table.columnCount() - 1 << " fields\n";

    const double cpuStart = cpuMs();
    QElapsedTimer whole;
    whole.start();
    Clock timer;
    for (const auto &[column, what] :
         {std::pair{kName, "text (collation)"}, std::pair{kAmount, "text of numbers"},
          std::pair{kDue, "date"}, std::pair{kPaid, "yes/no"}}) {
        timer.start();
        view.setSortKeys({{column, Qt::AscendingOrder}});
        out << "sort by one column, " << what << ": " << timer.text() << "\n";
    }
    timer.start();
    view.setSortKeys({{kCategory, Qt::AscendingOrder}, {kDue, Qt::DescendingOrder}});
    out << "sort by two columns: " << timer.text() << "\n";
    view.setSortKeys({});

    // Typed one key at a time, as the filter box hears it.
    auto typeFilters = [&](const char *when) {
        for (const auto &[column, typed] :
             {std::pair{kName, QStringLiteral("harbour")},
              std::pair{kAmount, QStringLiteral(">2500")}, std::pair{0, QStringLiteral("quay")}}) {
            double worst = 0;
            double total = 0;
            Clock all;
            all.start();
            for (qsizetype n = 1; n <= typed.size(); ++n) {
                timer.start();
                view.setFilterText(column, typed.left(n));
                const double took = timer.wallMs();
                worst = std::max(worst, took);
                total += took;
            }
            out << "filter keystrokes \"" << typed << "\" in "
                << (column == 0 ? QStringLiteral("the any-column box")
                                : QStringLiteral("column %1").arg(column))
                << ", " << when << ": worst " << figure(worst) << ", mean "
                << figure(total / double(typed.size())) << " (processor "
                << figure(all.processorMs() / double(typed.size())) << "), " << view.countText()
                << "\n";
            view.clearFilter();
        }
    };
    typeFilters("text not kept yet");

    // What the window does when the filter row or the find bar opens: the
    // shown text is kept, a slice at a time between events.
    QList<int> keptColumns;
    for (int c = 1; c < table.columnCount(); ++c)
        if (!table.isColumnHidden(c) && table.column(c).kind != ColumnKind::Picture &&
            table.column(c).kind != ColumnKind::Other)
            keptColumns.append(c);
    double longestSlice = 0;
    int slices = 0;
    timer.start();
    for (bool done = false; !done; ++slices) {
        QElapsedTimer slice;
        slice.start();
        done = table.keepShownText(keptColumns, QDeadlineTimer(ShownTextKeeper::sliceMs));
        longestSlice = std::max(longestSlice, ms(slice));
    }
    out << "keep the shown text of " << keptColumns.size() << " columns: " << timer.text() << " in "
        << slices << " slices, the longest " << figure(longestSlice) << ", "
        << QString::number(double(table.shownTextBytes()) / 1e6, 'f', 1) << " MB\n";
    typeFilters("text kept");

    // Regular expressions that do not backtrack, over one column and over all.
    for (const auto &[column, typed] : {std::pair{kCode, QStringLiteral("/^C-0[0-9]+5$/")},
                                        std::pair{0, QStringLiteral("/qu.y/")}}) {
        timer.start();
        view.setFilterText(column, typed);
        out << "filter " << typed << " in "
            << (column == 0 ? QStringLiteral("the any-column box")
                            : QStringLiteral("column %1").arg(column))
            << ": " << timer.text() << ", "
            << (view.filterError(column).isEmpty() ? view.countText() : view.filterError(column))
            << "\n";
        view.clearFilter();
    }

    // The window applies a box in slices between events: how soon the view
    // follows, and the longest the window waits meanwhile.
    const auto inSlices = [&](int column, const QString &typed) {
        view.setFilterInSlices(true);
        QElapsedTimer slice;
        timer.start();
        slice.start();
        view.setFilterText(column, typed);
        double longest = ms(slice);
        while (view.isFilterPending()) {
            slice.restart();
            QCoreApplication::processEvents();
            longest = std::max(longest, ms(slice));
        }
        out << "filter " << typed << " in "
            << (column == 0 ? QStringLiteral("the any-column box")
                            : QStringLiteral("column %1").arg(column))
            << ", in slices: done after " << timer.text() << ", the longest slice "
            << figure(longest) << ", "
            << (view.filterError(column).isEmpty() ? view.countText() : view.filterError(column))
            << "\n";
        view.clearFilter();
        view.setFilterInSlices(false);
    };
    inSlices(0, QStringLiteral("/qu.y/"));

    timer.start();
    const FindReplace::Scope scope = FindReplace::shownScope(shown);
    out << "find: the records and columns shown: " << timer.text() << "\n";
    const TextMatcher common(FindOptions{QStringLiteral("Straße parts"), false, false, false});
    FindReplace::Match at;
    double worst = 0;
    timer.start();
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer one;
        one.start();
        if (const auto next = FindReplace::findNext(table, scope, common, at, false))
            at = *next;
        worst = std::max(worst, ms(one));
    }
    out << "Find Next, 200 times (\"Straße parts\"): mean " << figure(timer.wallMs() / 200)
        << " (processor " << figure(timer.processorMs() / 200) << "), worst " << figure(worst)
        << "\n";
    const TextMatcher last(FindOptions{QStringLiteral("C-0655"), false, false, false});
    table.forgetShownText();
    timer.start();
    FindReplace::findNext(table, scope, last, {}, false);
    out << "Find Next from the top to a match in the last records, text not kept: " << timer.text()
        << "\n";
    table.keepShownText(keptColumns, QDeadlineTimer::Forever);
    timer.start();
    FindReplace::findNext(table, scope, last, {}, false);
    out << "Find Next from the top to a match in the last records, before the count is done: "
        << timer.text() << "\n";
    timer.start();
    const QList<FindReplace::Match> counted = FindReplace::findAll(table, scope, common);
    out << "count the matches (\"k of n\"), " << counted.size() << " matches: " << timer.text()
        << "\n";
    const QList<FindReplace::Match> lastCounted = FindReplace::findAll(table, scope, last);
    timer.start();
    const auto far = FindReplace::nextOf(lastCounted, scope, {}, false);
    out << "Find Next from the top to a match " << (far ? far->position : -1)
        << " records away, the count done: " << timer.text() << "\n";

    const TextMatcher tenThousand(FindOptions{QStringLiteral("C-01"), false, false, false});
    timer.start();
    const QList<FindReplace::Match> matches = FindReplace::findAll(table, scope, tenThousand);
    out << "Replace All: count " << matches.size() << " matches: " << timer.text() << "\n";
    timer.start();
    const FindReplace::ReplaceResult replaced =
        FindReplace::replace(document.editor(), scope, matches, tenThousand, QStringLiteral("D-01"),
                             QStringLiteral("Replace All"));
    out << "Replace All, " << replaced.changed << " matches (the count done): " << timer.text()
        << "\n";
    timer.start();
    document.editor().undo();
    out << "undo Replace All: " << timer.text() << "\n";

    view.setSortKeys({{kName, Qt::AscendingOrder}});
    timer.start();
    document.editor().reorderRecords(view.sortedRecords());
    out << "Sort Records by one text column: " << timer.text() << "\n";

    // A pattern that backtracks badly on long text, in a column of long notes.
    QList<GridCell> longNotes;
    for (int r = 0; r < kRecords; ++r)
        longNotes.append({r, kCode, QString(200, QLatin1Char('a')) + QLatin1Char('!')});
    table.setCells(longNotes);
    view.setSortKeys({}); // the time of giving up alone, not of sorting what is left
    timer.start();
    view.setFilterText(kCode, QStringLiteral("/(a+)+$/"));
    out << "a filter /(a+)+$/ on 65,535 cells of 200 letters gives up after " << timer.text()
        << ": " << view.filterError(kCode) << "\n";
    view.clearFilter();
    inSlices(kCode, QStringLiteral("/(a+)+$/"));
    const TextMatcher bad(FindOptions{QStringLiteral("(a+)+$"), false, false, true});
    bool gaveUp = false;
    timer.start();
    FindReplace::findNext(table, FindReplace::tableScope(table, {kCode}), bad, {}, false, &gaveUp);
    out << "Find Next with it gives up after " << timer.text()
        << (gaveUp ? "" : " (it did not give up)") << "\n";
    out << "all of the above: " << figure(ms(whole)) << " wall, " << figure(cpuMs() - cpuStart)
        << " processor\n";
    return 0;
}
