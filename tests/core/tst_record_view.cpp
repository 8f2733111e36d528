#include "TestValues.h"
#include "grid/FindReplace.h"
#include "grid/GridModel.h"
#include "grid/Grouping.h"
#include "grid/GroupingProxyModel.h"
#include "grid/RecordTableProxy.h"
#include "grid/RecordViewProxy.h"
#include "grid/TableEditor.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

enum Col { Category = 1, Amount = 2, Note = 3, Day = 4, Paid = 5, Photo = 6 };

// Six records: category, amount, note, day, paid, picture.
void fill(GridModel &table)
{
    const QList<std::pair<ColumnKind, FieldRole>> columns{
        {ColumnKind::Text, FieldRole::Group},  {ColumnKind::Text, FieldRole::Calc},
        {ColumnKind::Text, FieldRole::Shown},  {ColumnKind::Date, FieldRole::Shown},
        {ColumnKind::YesNo, FieldRole::Shown}, {ColumnKind::Picture, FieldRole::Shown}};
    const QStringList names{u"Category"_s, u"Amount"_s, u"Note"_s, u"Day"_s, u"Paid"_s, u"Photo"_s};
    for (qsizetype i = 0; i < columns.size(); ++i)
        table.addColumn(
            GridColumn{names.at(i), names.at(i), columns.at(i).first, columns.at(i).second});
    const QList<QVariantList> records{
        {u"Fuel"_s, u"46.05"_s, u"n0 tank"_s, wall(2026, 3, 2), true, bitmap(Qt::red)},
        {u"Food"_s, u"12"_s, u"n1 lunch"_s, wall(2026, 3, 1), false, QByteArray()},
        {u"Fuel"_s, u"9.5"_s, u"n2 top up"_s, wall(2026, 2, 27), false, QByteArray()},
        {u"Office"_s, u"120"_s, u"n3 desk"_s, wall(2026, 3, 5), true, QByteArray()},
        {u"Food"_s, u"7"_s, u"n4 coffee tank"_s, wall(2026, 3, 3), true, QByteArray()},
        {u"Fuel"_s, u"60"_s, u"n5 tank"_s, wall(2026, 3, 4), false, QByteArray()},
    };
    QList<GridRow> rows;
    for (const QVariantList &values : records)
        rows.append(GridRow{0, -1, QVariantList{QVariant()} + values});
    table.setRows(rows);
}

QStringList notes(const GridModel &table)
{
    QStringList out;
    for (int r = 0; r < table.rowCount(); ++r)
        out.append(table.cell(r, Note).toString().left(2));
    return out;
}

// The records a view shows, by the first two letters of their notes.
QStringList shownNotes(const QAbstractItemModel &view)
{
    QStringList out;
    for (int r = 0; r < view.rowCount(); ++r) {
        const QModelIndex index = view.index(r, Note);
        if (index.data(GridRoles::RowKindRole).toInt() == int(GridRoles::RowKind::Record))
            out.append(index.data().toString().left(2));
    }
    return out;
}

struct Stack
{
    GridModel table;
    TableEditor editor{table};
    RecordViewProxy view;
    Grouping grouping{view};
    RecordTableProxy edit{editor};

    explicit Stack(bool grouped)
    {
        fill(table);
        view.setSourceModel(&table);
        if (grouped)
            grouping.GroupColumns();
        edit.setSourceModel(grouped ? static_cast<QAbstractItemModel *>(grouping.model()) : &view);
    }

    int viewRowOf(const QString &note) const
    {
        for (int r = 0; r < edit.rowCount(); ++r)
            if (edit.index(r, Note).data().toString().startsWith(note))
                return r;
        return -1;
    }
};

} // namespace

class TestRecordView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void editsThroughViewsReachTheRecord_data();
    void editsThroughViewsReachTheRecord();
    void recordsAddedAndRemovedThroughAView();
    void findAndReplace_data();
    void findAndReplace();
    void sortRecordsIsOneStep();
};

void TestRecordView::editsThroughViewsReachTheRecord_data()
{
    QTest::addColumn<QString>("sortKeys");
    QTest::addColumn<QString>("noteFilter");
    QTest::addColumn<bool>("grouped");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("sorted by amount, descending")
        << u"Amount:desc"_s << u""_s << false << L({"n3", "n5", "n0", "n1", "n2", "n4"});
    QTest::newRow("filtered") << u""_s << u"tank"_s << false << L({"n0", "n4", "n5"});
    QTest::newRow("sorted and filtered by two keys")
        << u"Category;Day:desc"_s << u"!desk"_s << false << L({"n4", "n1", "n5", "n0", "n2"});
    QTest::newRow("grouped over a sorted filter")
        << u"Day"_s << u"tank"_s << true << L({"n4", "n0", "n5"});
}

void TestRecordView::editsThroughViewsReachTheRecord()
{
    QFETCH(QString, sortKeys);
    QFETCH(QString, noteFilter);
    QFETCH(bool, grouped);
    QFETCH(QStringList, shown);
    Stack s(grouped);
    QAbstractItemModelTester tester(&s.view,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    s.view.setSortKeys(SortKeyList::read(s.table, sortKeys));
    s.view.setFilterText(Note, noteFilter);
    QCOMPARE(shownNotes(s.edit), shown);

    // Each shown record is edited through the top of the stack; exactly it changes.
    for (const QString &note : shown) {
        const int row = s.viewRowOf(note);
        QVERIFY(row >= 0);
        QVERIFY(s.edit.setData(s.edit.index(row, Amount), note + u" edited"_s));
    }
    for (int r = 0; r < s.table.rowCount(); ++r) {
        const QString note = s.table.cell(r, Note).toString().left(2);
        QCOMPARE(s.table.cell(r, Amount).toString().endsWith(u" edited"_s), shown.contains(note));
        if (shown.contains(note))
            QCOMPARE(s.table.cell(r, Amount).toString(), note + u" edited"_s);
    }
    // The stored order is never the view's.
    QCOMPARE(notes(s.table), L({"n0", "n1", "n2", "n3", "n4", "n5"}));
    QCOMPARE(s.view.countText(),
             noteFilter.isEmpty() ? QString() : u"%1 of 6 records"_s.arg(shown.size()));
}

void TestRecordView::recordsAddedAndRemovedThroughAView()
{
    Stack s(false);
    QAbstractItemModelTester tester(&s.view,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    s.view.setSortKeys({{Amount, Qt::DescendingOrder}});
    s.view.setFilterText(Note, u"tank"_s);
    QCOMPARE(shownNotes(s.edit), L({"n5", "n0", "n4"}));

    // Typed into the new-record row: it stays in sight, last, though it
    // does not match the filter.
    const int newRow = s.edit.rowCount() - 1;
    QVERIFY(s.edit.isNewRecordRow(newRow));
    QVERIFY(s.edit.setData(s.edit.index(newRow, Note), u"n6 new"_s));
    QCOMPARE(shownNotes(s.edit), L({"n5", "n0", "n4", "n6"}));
    QCOMPARE(s.table.cell(6, Note).toString(), u"n6 new"_s);

    // Inserted above the record the cursor is on (n0, stored second):
    // before it in the view, before it in the table.
    s.editor.insertRecords(s.edit.recordRow(s.viewRowOf(u"n0"_s)));
    QCOMPARE(shownNotes(s.edit), L({"n5", "", "n0", "n4", "n6"}));
    QCOMPARE(notes(s.table), L({"", "n0", "n1", "n2", "n3", "n4", "n5", "n6"}));

    // Deleting shown records removes them from the view and the table only.
    s.editor.removeRecords(
        {s.edit.recordRow(s.viewRowOf(u"n5"_s)), s.edit.recordRow(s.viewRowOf(u"n4"_s))});
    QCOMPARE(shownNotes(s.edit), L({"", "n0", "n6"}));
    QCOMPARE(notes(s.table), L({"", "n0", "n1", "n2", "n3", "n6"}));
    QCOMPARE(s.view.countText(), u"3 of 6 records"_s);

    // Setting the filter again applies it to everything.
    s.view.setFilterText(Note, u"tank"_s);
    QCOMPARE(shownNotes(s.edit), L({"n0"}));
}

void TestRecordView::findAndReplace_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("options"); // c: match case, w: whole cell, r: regex
    QTest::addColumn<QString>("with");
    QTest::addColumn<QStringList>("found"); // "note prefix:column"
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QStringList>("afterwards"); // changed cells: "note prefix:column=text"

    QTest::newRow("contains, case ignored")
        << u"TANK"_s << u""_s << u"can"_s << L({"n0:3", "n4:3", "n5:3"}) << 0
        << L({"n0:3=n0 can", "n4:3=n4 coffee can", "n5:3=n5 can"});
    QTest::newRow("match case finds nothing")
        << u"TANK"_s << u"c"_s << u"x"_s << L({}) << 0 << L({});
    QTest::newRow("whole cell") << u"fuel"_s << u"w"_s << u"Petrol"_s << L({"n0:1", "n2:1", "n5:1"})
                                << 0 << L({"n0:1=Petrol", "n2:1=Petrol", "n5:1=Petrol"});
    QTest::newRow("regex with a group")
        << u"^(\\d+)\\.5$"_s << u"r"_s << u"\\1.75"_s << L({"n2:2"}) << 0 << L({"n2:2=9.75"});
    QTest::newRow("dates: a replacement that reads is written, one that does not is skipped")
        << u"3/"_s << u""_s << u"4/"_s << L({"n0:4", "n1:4", "n3:4", "n4:4", "n5:4"}) << 0
        << L({"n0:4=4/2/26", "n1:4=4/1/26", "n3:4=4/5/26", "n4:4=4/4/26", "n5:4=4/4/26"});
    QTest::newRow("dates that would not read are left and counted")
        << u"/26"_s << u""_s << u"/xx"_s << L({"n0:4", "n1:4", "n2:4", "n3:4", "n4:4", "n5:4"}) << 6
        << L({});
    QTest::newRow("yes/no reads the replacement as yes/no")
        << u"True"_s << u"w"_s << u"no"_s << L({"n0:5", "n3:5", "n4:5"}) << 0
        << L({"n0:5=False", "n3:5=False", "n4:5=False"});
    QTest::newRow("the same value in other words is no change")
        << u"True"_s << u"w"_s << u"yes"_s << L({"n0:5", "n3:5", "n4:5"}) << 0 << L({});
    QTest::newRow("yes/no skips what is no yes/no")
        << u"False"_s << u"w"_s << u"maybe"_s << L({"n1:5", "n2:5", "n5:5"}) << 3 << L({});
    QTest::newRow("an invalid regex finds nothing")
        << u"(x"_s << u"r"_s << u"y"_s << L({}) << 0 << L({});
}

void TestRecordView::findAndReplace()
{
    QFETCH(QString, find);
    QFETCH(QString, options);
    QFETCH(QString, with);
    QFETCH(QStringList, found);
    QFETCH(int, skipped);
    QFETCH(QStringList, afterwards);
    Stack s(false);
    const FindOptions o{find, options.contains(u'c'), options.contains(u'w'),
                        options.contains(u'r')};
    const TextMatcher matcher(o);
    const FindReplace::Scope scope = FindReplace::shownScope(s.edit);
    QVERIFY(!scope.columns.contains(Photo));
    const QList<FindReplace::Match> matches = FindReplace::findAll(s.table, scope, matcher);
    QStringList where;
    for (const FindReplace::Match &m : matches)
        where.append(notes(s.table).at(scope.tableRows.at(m.position)) + u":"_s +
                     QString::number(m.column));
    QCOMPARE(where, found);

    const QByteArray picture = s.table.cell(0, Photo).toByteArray();
    QList<QStringList> before;
    for (int r = 0; r < s.table.rowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < Photo; ++c)
            cells.append(FindReplace::cellText(s.table, r, c));
        before.append(cells);
    }
    const FindReplace::ReplaceResult result =
        FindReplace::replace(s.editor, scope, matches, matcher, with, u"Replace All"_s);
    QCOMPARE(result.skipped, skipped);
    QCOMPARE(result.changed, int(afterwards.size()));
    QCOMPARE(s.editor.history().count(), afterwards.isEmpty() ? 0 : 1);
    for (int r = 0; r < s.table.rowCount(); ++r) {
        for (int c = 1; c < Photo; ++c) {
            const QString key = before.at(r).at(Note - 1).left(2) + u":"_s + QString::number(c);
            QString expected = before.at(r).at(c - 1);
            for (const QString &change : afterwards)
                if (change.startsWith(key + u"="_s))
                    expected = change.mid(key.size() + 1);
            QCOMPARE(FindReplace::cellText(s.table, r, c), expected);
        }
    }
    QCOMPARE(s.table.cell(0, Photo).toByteArray(), picture);
    if (!afterwards.isEmpty()) {
        s.editor.undo();
        for (int r = 0; r < s.table.rowCount(); ++r)
            for (int c = 1; c < Photo; ++c)
                QCOMPARE(FindReplace::cellText(s.table, r, c), before.at(r).at(c - 1));
    }
}

void TestRecordView::sortRecordsIsOneStep()
{
    Stack s(false);
    s.view.setFilterText(Note, u"tank"_s); // hides records, which are sorted all the same
    s.view.setSortKeys({{Day, Qt::AscendingOrder}});
    QVERIFY(s.editor.reorderRecords(s.view.sortedRecords()));
    QCOMPARE(notes(s.table), L({"n2", "n1", "n0", "n4", "n5", "n3"}));
    QCOMPARE(s.editor.history().count(), 1);
    QVERIFY(!s.editor.history().isClean());
    // Already in that order: nothing to do, no step.
    QVERIFY(!s.editor.reorderRecords(s.view.sortedRecords()));
    QVERIFY(!s.editor.reorderRecords({0, 0, 1, 2, 3, 4}));
    QCOMPARE(s.editor.history().count(), 1);
    s.editor.undo();
    QCOMPARE(notes(s.table), L({"n0", "n1", "n2", "n3", "n4", "n5"}));
}

QTEST_GUILESS_MAIN(TestRecordView)
#include "tst_record_view.moc"
