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
#include "grid/TableEditor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

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

QString figure(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

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

    QElapsedTimer timer;
    for (const auto &[column, what] :
         {std::pair{kName, "text (collation)"}, std::pair{kAmount, "text of numbers"},
          std::pair{kDue, "date"}, std::pair{kPaid, "yes/no"}}) {
        timer.start();
        view.setSortKeys({{column, Qt::AscendingOrder}});
        out << "sort by one column, " << what << ": " << figure(ms(timer)) << "\n";
    }
    timer.start();
    view.setSortKeys({{kCategory, Qt::AscendingOrder}, {kDue, Qt::DescendingOrder}});
    out << "sort by two columns: " << figure(ms(timer)) << "\n";
    view.setSortKeys({});

    // Typed one key at a time, as the filter box hears it.
    for (const auto &[column, typed] :
         {std::pair{kName, QStringLiteral("harbour")}, std::pair{kAmount, QStringLiteral(">2500")},
          std::pair{0, QStringLiteral("quay")}}) {
        double worst = 0;
        double total = 0;
        for (qsizetype n = 1; n <= typed.size(); ++n) {
            timer.start();
            view.setFilterText(column, typed.left(n));
            const double took = ms(timer);
            worst = std::max(worst, took);
            total += took;
        }
        out << "filter keystrokes \"" << typed << "\" in "
            << (column == 0 ? QStringLiteral("the any-column box")
                            : QStringLiteral("column %1").arg(column))
            << ": worst " << figure(worst) << ", mean " << figure(total / double(typed.size()))
            << " (" << view.countText() << ")\n";
        view.clearFilter();
    }

    timer.start();
    const FindReplace::Scope scope = FindReplace::shownScope(shown);
    out << "find: the records and columns shown: " << figure(ms(timer)) << "\n";
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
    out << "Find Next, 200 times (\"Straße parts\"): mean " << figure(ms(timer) / 200) << ", worst "
        << figure(worst) << "\n";
    const TextMatcher last(FindOptions{QStringLiteral("C-0655"), false, false, false});
    timer.start();
    FindReplace::findNext(table, scope, last, {}, false);
    out << "Find Next from the top to a match in the last records: " << figure(ms(timer)) << "\n";
    timer.start();
    const QList<FindReplace::Match> counted = FindReplace::findAll(table, scope, common);
    out << "count the matches (\"k of n\"), " << counted.size() << " matches: " << figure(ms(timer))
        << "\n";

    const TextMatcher tenThousand(FindOptions{QStringLiteral("C-01"), false, false, false});
    timer.start();
    const QList<FindReplace::Match> matches = FindReplace::findAll(table, scope, tenThousand);
    const FindReplace::ReplaceResult replaced =
        FindReplace::replace(document.editor(), scope, matches, tenThousand, QStringLiteral("D-01"),
                             QStringLiteral("Replace All"));
    out << "Replace All, " << replaced.changed
        << " matches (find and replace): " << figure(ms(timer)) << "\n";
    timer.start();
    document.editor().undo();
    out << "undo Replace All: " << figure(ms(timer)) << "\n";

    view.setSortKeys({{kName, Qt::AscendingOrder}});
    timer.start();
    document.editor().reorderRecords(view.sortedRecords());
    out << "Sort Records by one text column: " << figure(ms(timer)) << "\n";

    // A pattern that backtracks badly on long text, in a column of long notes.
    QList<GridCell> longNotes;
    for (int r = 0; r < kRecords; ++r)
        longNotes.append({r, kCode, QString(200, QLatin1Char('a'))});
    table.setCells(longNotes);
    timer.start();
    view.setFilterText(kCode, QStringLiteral("/(a+)+$b/"));
    out << "a filter /(a+)+$b/ on 65,535 cells of 200 letters gives up after " << figure(ms(timer))
        << ": " << view.filterError(kCode) << "\n";
    const TextMatcher bad(FindOptions{QStringLiteral("(a+)+$b"), false, false, true});
    bool gaveUp = false;
    timer.start();
    FindReplace::findNext(table, FindReplace::tableScope(table, {kCode}), bad, {}, false, &gaveUp);
    out << "Find Next with it gives up after " << figure(ms(timer))
        << (gaveUp ? "" : " (it did not give up)") << "\n";
    return 0;
}
