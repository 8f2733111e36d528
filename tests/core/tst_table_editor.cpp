#include "TestValues.h"
#include "grid/GridModel.h"
#include "grid/RecordTableProxy.h"
#include "grid/TableEditor.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

enum Col { Name = 1, Paid, When, Photo, Note };

GridColumn column(const QString &key, ColumnKind kind)
{
    GridColumn c;
    c.key = key;
    c.kind = kind;
    return c;
}

// Name (text), Paid (yes/no), When (date), Photo (picture), Note (text).
void buildTable(GridModel &model, int records)
{
    model.addColumn(column(u"Name"_s, ColumnKind::Text));
    model.addColumn(column(u"Paid"_s, ColumnKind::YesNo));
    model.addColumn(column(u"When"_s, ColumnKind::Date));
    model.addColumn(column(u"Photo"_s, ColumnKind::Picture));
    model.addColumn(column(u"Note"_s, ColumnKind::Text));
    QList<GridRow> rows;
    for (int i = 0; i < records; ++i) {
        GridRow row;
        row.sourceRecord = i;
        row.cells = {QVariant(),      u"r%1"_s.arg(i), i % 2 == 0, wall(2024, 1, 1 + i % 28),
                     bitmap(Qt::red), u"n%1"_s.arg(i)};
        rows.append(row);
    }
    model.setRows(rows);
}

// The whole table as comparable values.
QList<QVariantList> snapshot(const GridModel &model)
{
    QList<QVariantList> out;
    for (int r = 0; r < model.rowCount(); ++r) {
        QVariantList cells;
        for (int c = 1; c < model.columnCount(); ++c)
            cells.append(model.cell(r, c));
        out.append(cells);
    }
    return out;
}

enum class Change {
    EditCell,
    AppendFromNewRow,
    InsertRecord,
    DeleteScattered,
    DeleteManyRanges,
    ClearDatabase,
    Drop,
    PasteOverAndBeyond,
    EmptyCells,
};

} // namespace

Q_DECLARE_METATYPE(Change)

class TestTableEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void undoRedoRestoresExactly_data();
    void undoRedoRestoresExactly();
    void dropText_data();
    void dropText();
    void pasteText_data();
    void pasteText();
    void editsConvertOrAreRefused_data();
    void editsConvertOrAreRefused();
    void textPastTheFileLimitChangesNothing_data();
    void textPastTheFileLimitChangesNothing();
    void unchangedEditIsNoStep();
    void outsideChangeEmptiesHistory();
    void newRecordRowIsOnlyInTheView();
    void multiLineTextShowsOnOneLine();
};

void TestTableEditor::undoRedoRestoresExactly_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("a cell edit") << Change::EditCell << 10;
    QTest::newRow("typing into the new-record row") << Change::AppendFromNewRow << 11;
    QTest::newRow("insert record") << Change::InsertRecord << 11;
    QTest::newRow("delete records apart") << Change::DeleteScattered << 6;
    QTest::newRow("delete more ranges than notifications") << Change::DeleteManyRanges << 100;
    QTest::newRow("clear database") << Change::ClearDatabase << 0;
    QTest::newRow("drop two lines") << Change::Drop << 12;
    QTest::newRow("paste over the last records and beyond") << Change::PasteOverAndBeyond << 11;
    QTest::newRow("delete on cells") << Change::EmptyCells << 10;
}

void TestTableEditor::undoRedoRestoresExactly()
{
    QFETCH(Change, change);
    QFETCH(int, rowsAfter);
    GridModel model;
    buildTable(model, change == Change::DeleteManyRanges ? 200 : 10);
    TableEditor editor(model);
    QSignalSpy changed(&editor, &TableEditor::tableChanged);
    const auto before = snapshot(model);

    switch (change) {
    case Change::EditCell:
        QVERIFY(editor.editCell(3, Name, u"Cherry"_s));
        break;
    case Change::AppendFromNewRow:
        QVERIFY(editor.appendFromEdit(Note, u"new"_s));
        break;
    case Change::InsertRecord:
        editor.insertRecords(4);
        break;
    case Change::DeleteScattered:
        QCOMPARE(editor.removeRecords({9, 0, 4, 5, 4}), 4);
        break;
    case Change::DeleteManyRanges: {
        QList<int> even;
        for (int r = 0; r < 200; r += 2)
            even.append(r);
        QCOMPARE(editor.removeRecords(even), 100);
        QCOMPARE(model.cell(0, Name).toString(), u"r1"_s);
        QCOMPARE(model.cell(99, Name).toString(), u"r199"_s);
        break;
    }
    case Change::ClearDatabase:
        editor.replaceRows({}, u"Clear Database"_s);
        break;
    case Change::Drop:
        editor.dropText(u"a\tTrue\r\nb\tFalse"_s, {Name, Paid});
        break;
    case Change::PasteOverAndBeyond:
        editor.pasteText(u"x\r\ny\r\nz"_s, {8, 9}, {Note});
        QCOMPARE(model.cell(9, Note).toString(), u"y"_s);
        QCOMPARE(model.cell(10, Note).toString(), u"z"_s);
        break;
    case Change::EmptyCells:
        editor.emptyCells({{1, Name, {}}, {2, Photo, {}}, {2, Paid, {}}});
        QCOMPARE(model.cell(1, Name).toString(), QString());
        QVERIFY(model.cell(2, Photo).isNull());
        break;
    }
    const auto after = snapshot(model);
    QCOMPARE(model.rowCount(), rowsAfter);
    QVERIFY(after != before);
    QCOMPARE(editor.history().count(), 1); // one user action, one step
    QCOMPARE(changed.count(), 1);

    editor.undo();
    QCOMPARE(snapshot(model), before);
    editor.redo();
    QCOMPARE(snapshot(model), after);
    editor.undo();
    QCOMPARE(snapshot(model), before);
    // Undo and redo change the table too: the database stays edited.
    QCOMPARE(changed.count(), 4);
}

void TestTableEditor::dropText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("unreadable");
    QTest::addColumn<QVariantList>("firstRecord");

    // Fields go to Name, Note, Paid, When, Photo; records compare in column
    // order: Name, Paid, When, Photo, Note.
    const QVariantList ab{u"a"_s, QString(), QString(), QVariant(), u"b"_s};
    QTest::newRow("two lines by CR LF add two records") << u"a\tb\r\nc\td"_s << 2 << 0 << ab;
    QTest::newRow("a final CR LF adds a third, empty record")
        << u"a\tb\r\nc\td\r\n"_s << 3 << 0 << ab;
    QTest::newRow("LF alone ends a line") << u"a\tb\nc\td"_s << 2 << 0 << ab;
    QTest::newRow("empty text adds nothing") << QString() << 0 << 0 << QVariantList();
    QTest::newRow("fields beyond the columns are left out")
        << u"a\tb\t\t\t\tf\tg"_s << 1 << 0 << ab;
    QTest::newRow("yes/no words and digits")
        << u"x\t\tyes\ny\t\t0\nz\t\tTRUE"_s << 3 << 0
        << QVariantList{u"x"_s, true, QString(), QVariant(), QString()};
    QTest::newRow("a yes/no that does not read stays empty and is counted")
        << u"x\t\tmaybe"_s << 1 << 1
        << QVariantList{u"x"_s, QString(), QString(), QVariant(), QString()};
    QTest::newRow("ISO and regional dates, one unreadable")
        << u"x\t\t\t2024-02-29\ny\t\t\t3/1/2024\nz\t\t\t31/31/31"_s << 3 << 1
        << QVariantList{u"x"_s, QString(), wall(2024, 2, 29), QVariant(), QString()};
    QTest::newRow("text in a picture column stays empty and is counted")
        << u"x\t\t\t\tpicture.png"_s << 1 << 1
        << QVariantList{u"x"_s, QString(), QString(), QVariant(), QString()};
}

void TestTableEditor::dropText()
{
    QFETCH(QString, text);
    QFETCH(int, added);
    QFETCH(int, unreadable);
    QFETCH(QVariantList, firstRecord);
    GridModel model;
    buildTable(model, 2);
    TableEditor editor(model);
    // The drop fills the columns in the order given, here every field column.
    const auto result = editor.dropText(text, {Name, Note, Paid, When, Photo});
    QCOMPARE(result.recordsAdded, added);
    QCOMPARE(result.unreadable, unreadable);
    QCOMPARE(model.rowCount(), 2 + added);
    QCOMPARE(editor.history().count(), added > 0 ? 1 : 0);
    if (firstRecord.isEmpty())
        return;
    QCOMPARE(snapshot(model).at(2), firstRecord);
    if (QTest::currentDataTag() == QByteArray("a final CR LF adds a third, empty record"))
        QCOMPARE(snapshot(model).at(4),
                 (QVariantList{QString(), QString(), QString(), QVariant(), QString()}));
}

void TestTableEditor::pasteText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QStringList>("lastNames");

    QTest::newRow("a final line break adds no record")
        << u"A\r\nB\r\n"_s << QList<int>{0, 1} << QList<int>{Name} << 3 << L({"A", "B", "r2"});
    QTest::newRow("lines past the last record become records")
        << u"A\nB\nC"_s << QList<int>{2} << QList<int>{Name} << 5 << L({"A", "B", "C"});
    QTest::newRow("a quoted field keeps its tab and line break")
        << u"\"a\tb\r\nc\"\tTrue"_s << QList<int>{2} << QList<int>{Name, Paid} << 3
        << L({"r0", "r1", "a\tb\r\nc"});
}

void TestTableEditor::pasteText()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, columns);
    QFETCH(int, rowCount);
    QFETCH(QStringList, lastNames);
    GridModel model;
    buildTable(model, 3);
    TableEditor editor(model);
    editor.pasteText(text, rows, columns);
    QCOMPARE(model.rowCount(), rowCount);
    QStringList names;
    for (int r = model.rowCount() - 3; r < model.rowCount(); ++r)
        names.append(model.cell(r, Name).toString());
    QCOMPARE(names, lastNames);
    QCOMPARE(editor.history().count(), 1);
}

void TestTableEditor::editsConvertOrAreRefused_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("text") << int(Name) << QVariant(u"Pear"_s) << true << QVariant(u"Pear"_s);
    QTest::newRow("date in the regional format")
        << int(When) << QVariant(u"2/3/2025"_s) << true << QVariant(wall(2025, 2, 3));
    QTest::newRow("a date that does not read is refused")
        << int(When) << QVariant(u"soon"_s) << false << QVariant(wall(2024, 1, 2));
    QTest::newRow("text is no picture")
        << int(Photo) << QVariant(u"x"_s) << false << QVariant(bitmap(Qt::red));
}

void TestTableEditor::editsConvertOrAreRefused()
{
    QFETCH(int, column);
    QFETCH(QVariant, typed);
    GridModel model;
    buildTable(model, 2);
    TableEditor editor(model);
    QTEST(editor.editCell(1, column, typed), "accepted");
    QTEST(model.cell(1, column), "stored");
}

void TestTableEditor::textPastTheFileLimitChangesNothing_data()
{
    QTest::addColumn<bool>("isDrop");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");
    QTest::newRow("drop up to the limit") << true << u"a\nb\nc"_s << false;
    QTest::newRow("drop one past the limit") << true << u"a\nb\nc\n"_s << true;
    QTest::newRow("paste one past the limit") << false << u"x\na\nb\nc\nd"_s << true;
}

void TestTableEditor::textPastTheFileLimitChangesNothing()
{
    QFETCH(bool, isDrop);
    QFETCH(QString, text);
    QFETCH(bool, refused);
    GridModel model;
    buildTable(model, 65532); // a database file holds 65535 records
    TableEditor editor(model);
    const auto result =
        isDrop ? editor.dropText(text, {Name}) : editor.pasteText(text, {0}, {Name});
    QCOMPARE(result.tooManyRecords, refused);
    QCOMPARE(model.rowCount(), refused ? 65532 : 65535);
    QCOMPARE(model.cell(0, Name).toString(), u"r0"_s);
    QCOMPARE(editor.history().count(), refused ? 0 : 1);
}

void TestTableEditor::unchangedEditIsNoStep()
{
    GridModel model;
    buildTable(model, 2);
    TableEditor editor(model);
    QSignalSpy changed(&editor, &TableEditor::tableChanged);
    QVERIFY(editor.editCell(0, Name, u"r0"_s));
    QVERIFY(editor.appendFromEdit(Name, QString())); // the new-record row left empty
    QCOMPARE(editor.history().count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model.rowCount(), 2);
}

void TestTableEditor::outsideChangeEmptiesHistory()
{
    GridModel model;
    buildTable(model, 5);
    TableEditor editor(model);
    editor.removeRecords({1});
    editor.editCell(0, Name, u"x"_s);
    QCOMPARE(editor.history().count(), 2);
    // A load replaces the rows without the editor: its steps would address
    // rows that mean something else now.
    model.setRows({});
    QCOMPARE(editor.history().count(), 0);
    editor.undo();
    QCOMPARE(model.rowCount(), 0);
}

void TestTableEditor::newRecordRowIsOnlyInTheView()
{
    GridModel model;
    buildTable(model, 3);
    TableEditor editor(model);
    RecordTableProxy proxy(editor);
    proxy.setSourceModel(&model);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(proxy.rowCount(), 4);
    const QModelIndex marker = proxy.index(3, 0);
    QCOMPARE(marker.data().toString(), u"*"_s);
    QCOMPARE(marker.data(GridRoles::RowKindRole).toInt(), int(GridRoles::RowKind::NewRecord));
    QCOMPARE(proxy.index(2, 0).data(GridRoles::RowKindRole).toInt(),
             int(GridRoles::RowKind::Record));
    QVERIFY(!(proxy.flags(proxy.index(3, Photo)) & Qt::ItemIsEditable));
    QVERIFY(proxy.flags(proxy.index(3, Paid)) & Qt::ItemIsUserCheckable);

    QVERIFY(proxy.setData(proxy.index(3, Name), u"Quince"_s));
    QCOMPARE(model.rowCount(), 4); // the model counts records only
    QCOMPARE(proxy.rowCount(), 5);
    QCOMPARE(model.cell(3, Name).toString(), u"Quince"_s);
    QCOMPARE(proxy.index(4, 0).data().toString(), u"*"_s);

    QVERIFY(proxy.setData(proxy.index(0, Name), u"Fig"_s));
    editor.undo();
    editor.undo();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.cell(0, Name).toString(), u"r0"_s);
    editor.removeRecords({0, 1, 2});
    QCOMPARE(proxy.rowCount(), 1);
}

void TestTableEditor::multiLineTextShowsOnOneLine()
{
    GridModel model;
    buildTable(model, 1);
    TableEditor editor(model);
    RecordTableProxy proxy(editor);
    proxy.setSourceModel(&model);
    editor.editCell(0, Note, u"one\ntwo"_s);
    const QModelIndex cell = proxy.index(0, Note);
    QCOMPARE(cell.data().toString(), u"one"_s + RecordTableProxy::lineBreakMarker() + u"two"_s);
    QCOMPARE(cell.data(Qt::ToolTipRole).toString(), u"one\ntwo"_s);
    QCOMPARE(cell.data(Qt::EditRole).toString(), u"one\ntwo"_s);
}

QTEST_GUILESS_MAIN(TestTableEditor)
#include "tst_table_editor.moc"
