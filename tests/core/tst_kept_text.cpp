#include "RoundtripFixture.h"
#include "TestValues.h"
#include "database/FieldType.h"
#include "grid/CellTexts.h"
#include "grid/FindReplace.h"
#include "grid/GridModel.h"
#include "grid/RecordFilter.h"
#include "grid/RecordViewProxy.h"
#include "grid/ShownTextKeeper.h"
#include "grid/TableEditor.h"

#include <QLocale>
#include <QTest>

#include <numeric>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

class ListedRows final : public StoredRows
{
public:
    explicit ListedRows(QList<QVariantList> records)
        : m_records(std::move(records))
    {}
    int recordCount() const override { return int(m_records.size()); }
    QVariant cell(int record, int column) const override
    {
        return m_records.at(record).value(column - 1);
    }

private:
    QList<QVariantList> m_records;
};

enum Col { Name = 1, Day = 2, Arrow = 3 };

// Letters whose case pairs lie outside ASCII, a date column, a column with a
// character the handheld's code page has none for (so it is never kept),
// and a record whose text runs on into the next one's ("ab" then "cd").
QList<QVariantList> records(const QString &first = u"Café ÉTÉ"_s)
{
    return {{first, wall(2026, 3, 2), u"a→b"_s},
            {u"Šárka ŸVES"_s, wall(2025, 12, 31), u"x"_s},
            {u"Straße µ"_s, QVariant(), u"→"_s},
            {u"ab"_s, wall(2026, 1, 1), QString()},
            {u"cd kelvin"_s, wall(2026, 3, 2), u"plain"_s}};
}

// The stored records loaded as the window loads them; the last row is an
// edited one, with values of its own.
void load(GridModel &table, const QList<QVariantList> &stored)
{
    for (const auto &[kind, name] :
         {std::pair{ColumnKind::Text, u"Name"_s}, std::pair{ColumnKind::Date, u"Day"_s},
          std::pair{ColumnKind::Text, u"Arrow"_s}})
        table.addColumn(GridColumn{name, name, kind, FieldRole::Shown});
    QList<GridRow> rows(stored.size());
    for (qsizetype r = 0; r < rows.size(); ++r)
        rows[r].sourceRecord = int(r);
    table.setStoredRows(std::make_shared<ListedRows>(stored));
    table.setRows(rows);
    table.setCell(int(rows.size()) - 1, Name, u"edited ÉTÉ"_s);
}

QString shown(const GridModel &table, int row, int column)
{
    GridValue::ShownText text;
    return text(table.cell(row, column));
}

} // namespace

class TestKeptText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void keptTextAnswersAsTheCellsDo_data();
    void keptTextAnswersAsTheCellsDo();
    void keptTextFollowsTheStoredRecords();
    void filtersAgreeWithAndWithoutKeptText_data();
    void filtersAgreeWithAndWithoutKeptText();
    void filterInSlicesShowsWhatAFilterAtOnceShows();
    void regexPastItsBudgetIsLeftOut_data();
    void regexPastItsBudgetIsLeftOut();
    void nextFromTheCountIsFindNext();
    void searchesWaitForTheKeptText();
    void keptTextOfADatabaseIsWhatItsCellsShow();
};

void TestKeptText::keptTextAnswersAsTheCellsDo_data()
{
    QTest::addColumn<QString>("needle");
    for (const QString &needle :
         {u"é"_s, u"ÉTÉ"_s, u"š"_s, u"ÿves"_s, u"µ"_s, u"\u03bc"_s /* Greek mu */,
          u"\u212a"_s /* Kelvin sign */, u"ss"_s, u"ß"_s, u"bc"_s, u"3/2/2026"_s, u"→"_s, u""_s,
          u"\u00e9\U0001F600"_s})
        QTest::newRow(qPrintable(needle.isEmpty() ? u"(empty)"_s : needle)) << needle;
}

// Whether read a cell at a time or a whole column at once from the kept
// text, every answer is the one the cell's own text gives.
void TestKeptText::keptTextAnswersAsTheCellsDo()
{
    QFETCH(QString, needle);
    GridModel table;
    load(table, records());
    QVERIFY(table.keepShownText({Name, Day, Arrow}, QDeadlineTimer::Forever));
    QVERIFY(table.completeShownText(Name) && table.completeShownText(Day));
    QVERIFY(!table.completeShownText(Arrow)); // "→" has no code: read from the cells
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        CellTexts oneByOne(table);
        CellTexts byColumn(table, 0);
        for (int row = 0; row < table.rowCount(); ++row)
            for (int column : {Name, Day, Arrow}) {
                const QString text = shown(table, row, column);
                const bool expected = text.contains(needle, cs);
                QCOMPARE(oneByOne.text(row, column).toString(), text);
                QVERIFY2(oneByOne.contains(row, column, needle, cs) == expected,
                         qPrintable(u"%1 in \"%2\""_s.arg(needle, text)));
                QVERIFY2(byColumn.contains(row, column, needle, cs) == expected,
                         qPrintable(u"%1 in \"%2\", by column"_s.arg(needle, text)));
            }
    }
}

// Kept text is by stored record: new stored records (a reload, or a save
// numbering them anew) make it go, even under a search that keeps answers,
// and the window's keeper fills it again while it is needed.
void TestKeptText::keptTextFollowsTheStoredRecords()
{
    GridModel table;
    load(table, records());
    ShownTextKeeper keeper(table, 0, ShownTextKeeper::fillBeforeWaitingMs);
    keeper.setNeeded(true);
    QTRY_VERIFY(keeper.isReady());
    QVERIFY(table.completeShownText(Name));

    RecordViewProxy view;
    view.setSourceModel(&table);
    view.setFilterText(RecordFilter::AnyColumn, u"été"_s);
    QCOMPARE(view.rowCount(), 2); // "Café ÉTÉ" and the edited row

    CellTexts search(table, 0);
    QVERIFY(search.contains(0, Name, u"café"_s, Qt::CaseInsensitive));
    table.setStoredRows(std::make_shared<ListedRows>(records(u"Tea"_s)));
    QVERIFY(!table.completeShownText(Name));
    QVERIFY(!search.contains(0, Name, u"café"_s, Qt::CaseInsensitive));
    QTRY_VERIFY(keeper.isReady() && table.completeShownText(Name));
    QVERIFY(search.contains(0, Name, u"tea"_s, Qt::CaseInsensitive));
    view.setFilterText(RecordFilter::AnyColumn, u"tea"_s);
    QCOMPARE(view.rowCount(), 1);

    keeper.setNeeded(false);
    QTRY_COMPARE(table.shownTextBytes(), qsizetype(0));
}

// A search given while the text is still being kept waits for it (here at
// once: no filling before waiting), the last one under a key in its place,
// and runs at once when the text is kept or no longer needed.
void TestKeptText::searchesWaitForTheKeptText()
{
    GridModel table;
    load(table, records());
    ShownTextKeeper keeper(table, 0, 0);
    QStringList ran;
    const auto job = [&ran, &table](const QString &name) {
        return [&ran, &table, name] {
            ran << name + (table.completeShownText(Name) ? u" kept"_s : QString());
        };
    };
    keeper.whenReady(1, job(u"unneeded"_s));
    keeper.setNeeded(true);
    keeper.whenReady(1, job(u"first"_s));
    keeper.whenReady(1, job(u"second"_s));
    keeper.whenReady(-1, job(u"find"_s));
    QCOMPARE(ran, QStringList{u"unneeded"_s});
    QTRY_COMPARE(ran, (QStringList{u"unneeded"_s, u"second kept"_s, u"find kept"_s}));
    keeper.whenReady(2, job(u"ready"_s));
    QCOMPARE(ran.last(), u"ready kept"_s);

    table.forgetShownText();
    keeper.whenReady(3, job(u"closing"_s));
    QCOMPARE(ran.last(), u"ready kept"_s);
    keeper.setNeeded(false);
    QCOMPARE(ran.last(), u"closing"_s);
}

void TestKeptText::filtersAgreeWithAndWithoutKeptText_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    for (const QString &text : {u"é"_s, u"!é"_s, u"!a"_s, u"=ab"_s, u"/^c/"_s, u"2026"_s, u"→"_s})
        for (int column : {int(RecordFilter::AnyColumn), int(Name)})
            QTest::newRow(qPrintable(u"%1 in %2"_s.arg(text).arg(column))) << column << text;
}

// A filter box answers the same whether the table's text is kept (every
// stored record answered at once, "does not contain" by the records that
// hold the text in every column) or read from each cell.
void TestKeptText::filtersAgreeWithAndWithoutKeptText()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    GridModel table;
    load(table, records());
    // Only columns whose text can be kept, so the any-column box is answered
    // from it.
    table.setColumnSchema(Arrow, u"Arrow"_s, FieldRole::Hidden);
    RecordViewProxy view;
    view.setSourceModel(&table);
    const auto shownRows = [&] {
        view.setFilterText(column, text);
        QList<int> rows;
        for (int r = 0; r < view.rowCount(); ++r)
            rows.append(view.mapToSource(view.index(r, 1)).row());
        return rows;
    };
    const QList<int> fromCells = shownRows();
    QVERIFY(table.keepShownText({Name, Day, Arrow}, QDeadlineTimer::Forever));
    view.clearFilter();
    QCOMPARE(shownRows(), fromCells);
}

// A box applied in slices between events (here a few rows at a time) shows,
// once every record is seen, what the box applied at once shows, in the
// keys' order; a record added meanwhile is counted in.
void TestKeptText::filterInSlicesShowsWhatAFilterAtOnceShows()
{
    GridModel table;
    table.addColumn(GridColumn{u"Name"_s, u"Name"_s, ColumnKind::Text, FieldRole::Shown});
    QList<GridRow> rows;
    for (int r = 0; r < 1000; ++r)
        rows.append(GridRow{0, -1, {QVariant(), u"r%1"_s.arg((r * 7919) % 1000)}});
    table.setRows(rows);
    RecordViewProxy atOnce;
    RecordViewProxy inSlices;
    for (RecordViewProxy *view : {&atOnce, &inSlices}) {
        view->setSourceModel(&table);
        view->setSortKeys({{Name, Qt::DescendingOrder}});
    }
    inSlices.setFilterInSlices(true, 0);
    const auto shown = [](const RecordViewProxy &view) {
        QStringList names;
        for (int r = 0; r < view.rowCount(); ++r)
            names.append(view.index(r, Name).data().toString());
        return names;
    };
    for (const QString &text : {u"/7$/"_s, u"5"_s, u"/^r1/"_s}) {
        atOnce.setFilterText(Name, text);
        inSlices.setFilterText(Name, text);
        QVERIFY(inSlices.isFilterPending());
        QTRY_VERIFY(!inSlices.isFilterPending());
        QCOMPARE(shown(inSlices), shown(atOnce));
    }
    inSlices.setFilterText(Name, u"/9/"_s);
    table.insertGridRows(0, {GridRow{0, -1, {QVariant(), u"r9999"_s}}});
    QTRY_VERIFY(!inSlices.isFilterPending());
    atOnce.setFilterText(Name, u"/9/"_s);
    QCOMPARE(shown(inSlices), shown(atOnce));
}

void TestKeptText::regexPastItsBudgetIsLeftOut_data()
{
    QTest::addColumn<int>("sliceMs"); // -1: at once
    QTest::addColumn<int>("budgetMs");
    QTest::addColumn<bool>("applied");
    QTest::newRow("at once, in budget") << -1 << 60000 << true;
    QTest::newRow("at once, past it") << -1 << 0 << false;
    QTest::newRow("in slices, in budget") << 0 << 60000 << true;
    QTest::newRow("in slices, past it") << 0 << 0 << false;
}

// A regular expression that spends its budget (counted over every slice)
// is marked and not applied; the other boxes still are.
void TestKeptText::regexPastItsBudgetIsLeftOut()
{
    QFETCH(int, sliceMs);
    QFETCH(int, budgetMs);
    QFETCH(bool, applied);
    GridModel table;
    load(table, records());
    QList<GridRow> more;
    for (int r = 0; r < 100; ++r)
        more.append(GridRow{0, -1, {QVariant(), u"n%1"_s.arg(r), QVariant(), u"x"_s}});
    table.insertGridRows(table.rowCount(), more);
    RecordFilter filter;
    filter.setText(Name, u"/^n1/"_s, ColumnKind::Text);
    filter.setText(Arrow, u"x"_s, ColumnKind::Text);
    QList<int> rows(table.rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    RecordFilter::Pass pass(filter, table, rows, {Name, Day, Arrow}, budgetMs);
    if (sliceMs < 0) {
        QVERIFY(pass.run(QDeadlineTimer::Forever));
    } else {
        int runs = 1;
        while (!pass.run(QDeadlineTimer(sliceMs)))
            ++runs;
        QVERIFY(!applied || runs > 1); // it did stop and go on
    }
    // "x": record 1 and the hundred added; /^n1/ keeps n1 and n10..n19 of them.
    QCOMPARE(pass.rows().size(), applied ? 11 : 101);
    QCOMPARE(filter.error(Name).isEmpty(), applied);
    QVERIFY(filter.error(Arrow).isEmpty());
}

// Once every match is counted, Find Next looks the next one up in the
// count: from any cell, either way, it lands where a search would.
void TestKeptText::nextFromTheCountIsFindNext()
{
    GridModel table;
    load(table, records());
    QVERIFY(table.keepShownText({Name, Day, Arrow}, QDeadlineTimer::Forever));
    const FindReplace::Scope scope = FindReplace::tableScope(table);
    for (const QString &text : {u"a"_s, u"2026"_s, u"zzz"_s}) {
        const TextMatcher matcher(FindOptions{text, false, false, false});
        const QList<FindReplace::Match> all = FindReplace::findAll(table, scope, matcher);
        for (qsizetype position = -1; position < scope.tableRows.size(); ++position)
            for (int column : scope.columns)
                for (bool backwards : {false, true}) {
                    const FindReplace::Match from{position, column};
                    QCOMPARE(FindReplace::nextOf(all, scope, from, backwards),
                             FindReplace::findNext(table, scope, matcher, from, backwards));
                }
    }
}

// Text fields are kept straight from the stored bytes, other kinds as they
// are written out; after a save, which numbers the records anew, each keeps
// its text.
void TestKeptText::keptTextOfADatabaseIsWhatItsCellsShow()
{
    RoundtripFixture fx;
    const QList<SchemaField> fields{
        {u"Name"_s, FieldText, u"Name"_s, u"False"_s},
        {u"Done"_s, FieldYesNo, u"Done"_s, u"False"_s},
        {u"Day"_s, FieldDate, u"Day"_s, u"False"_s},
        {u"Note"_s, FieldText, u"Note"_s, u"False"_s},
    };
    fx.writeSchema(RoundtripFixture::section(u"Kept"_s, fields));
    fx.writeDatabase(u"Kept"_s, fields,
                     {{u"Café Ÿ €"_s, true, wall(2026, 3, 2), u"x"_s},
                      {QString(), false, wall(2025, 1, 1), QVariant()},
                      {u"Ann"_s, false, wall(1999, 12, 31), u"\u2022 dot"_s}});
    fx.open(u"Kept"_s);
    GridModel &table = fx.grid();
    QCOMPARE(table.rowCount(), 3);
    auto compareAll = [&table] {
        QVERIFY(table.keepShownText({1, 2, 3, 4}, QDeadlineTimer::Forever));
        CellTexts texts(table);
        for (int row = 0; row < table.rowCount(); ++row)
            for (int column = 1; column <= 4; ++column) {
                QVERIFY(table.completeShownText(column));
                QCOMPARE(texts.text(row, column).toString(), shown(table, row, column));
            }
    };
    compareAll();
    CellTexts held(table, 0);
    QVERIFY(held.contains(0, 1, u"café"_s, Qt::CaseInsensitive));
    table.setCell(2, 1, u"Renamed"_s);
    fx.controller->document().editor().removeRecords({0});
    fx.controller->SaveDatabase();
    // The records were numbered anew: the kept text followed them, and what
    // a search had found by record is not taken for the new numbers.
    QVERIFY(table.completeShownText(1));
    QCOMPARE(table.storedRecord(0), 0);
    QVERIFY(!held.contains(0, 1, u"café"_s, Qt::CaseInsensitive));
    QVERIFY(held.contains(1, 1, u"renamed"_s, Qt::CaseInsensitive));
    compareAll();
}

QTEST_GUILESS_MAIN(TestKeptText)
#include "tst_kept_text.moc"
