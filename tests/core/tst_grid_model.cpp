#include "TestValues.h"
#include "grid/GridModel.h"
#include "grid/GridValue.h"

#include <QAbstractItemModelTester>
#include <QImage>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

using namespace Ledgerly;

namespace {

GridColumn makeColumn(ColumnKind kind, const QString &key = QStringLiteral("F"),
                      FieldRole role = FieldRole::Shown)
{
    GridColumn c;
    c.key = key;
    c.caption = key + QStringLiteral(" caption");
    c.kind = kind;
    c.role = role;
    return c;
}

QByteArray redBitmap()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    return GridValue::bitmapBytes(image);
}

// Stored values named after their record and column.
class NamedStoredRows : public StoredRows
{
public:
    int recordCount() const override { return 3; }
    QVariant cell(int record, int column) const override
    {
        return QStringLiteral("r%1c%2").arg(record).arg(column);
    }
};

} // namespace

class TestGridModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void recordNumberColumn();
    void displayText_data();
    void displayText();
    void checkBoxColumnShowsState_data();
    void checkBoxColumnShowsState();
    void pictureColumnDecodesBitmap();
    void userEditConverts_data();
    void userEditConverts();
    void userEditRefused_data();
    void userEditRefused();
    void checkStateEdit();
    void programmaticChangeIsNoEdit();
    void flagsByColumnAndRowType();
    void headerExposesMetadata();
    void textColumnsOfNumbers_data();
    void textColumnsOfNumbers();
    void keyLookupIgnoresCase();
    void removeAllColumnsKeepsRecordNumbers();
    void setRowsResetsOnce();
    void insertAndRemoveRows();
    void rowsReadStoredRecordsUntilChanged();
    void passesTheModelTester();
};

void TestGridModel::recordNumberColumn()
{
    GridModel model;
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(model.column(0).key, QStringLiteral("Col0"));
    model.addColumn(makeColumn(ColumnKind::Text));
    model.addRow();
    model.addRow();
    GridRow group;
    group.rowType = 2;
    model.addRow(group);
    QCOMPARE(model.data(model.index(0, 0)).toInt(), 1);
    QCOMPARE(model.data(model.index(1, 0)).toInt(), 2);
    QVERIFY(!model.data(model.index(2, 0)).isValid()); // group rows carry no record number
}

void TestGridModel::displayText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("text as is") << int(ColumnKind::Text) << QVariant(QStringLiteral(" a b "))
                                << QStringLiteral(" a b ");
    QTest::newRow("a yes/no value in a text column as text")
        << int(ColumnKind::Text) << QVariant(true) << QStringLiteral("True");
    QTest::newRow("false as text")
        << int(ColumnKind::Text) << QVariant(false) << QStringLiteral("False");
    QTest::newRow("check box shows no text")
        << int(ColumnKind::YesNo) << QVariant(true) << QString();
    QTest::newRow("date at midnight shows the date alone")
        << int(ColumnKind::Date) << QVariant(wall(2024, 3, 5))
        << QLocale().toString(QDate(2024, 3, 5), QLocale::ShortFormat);
    QTest::newRow("time of day shows the time alone")
        << int(ColumnKind::Date) << QVariant(QDateTime(QDate(1904, 1, 1), QTime(14, 30), Qt::UTC))
        << QLocale().toString(QTime(14, 30), QLocale::ShortFormat);
    QTest::newRow("date with time shows both")
        << int(ColumnKind::Date) << QVariant(wall(2023, 12, 31, 8, 5))
        << QLocale().toString(QDate(2023, 12, 31), QLocale::ShortFormat) + QLatin1Char(' ') +
               QLocale().toString(QTime(8, 5), QLocale::ShortFormat);
    QTest::newRow("opaque bytes show nothing")
        << int(ColumnKind::Text) << QVariant(QByteArray("\x01\x02", 2)) << QString();
    QTest::newRow("picture shows no text")
        << int(ColumnKind::Picture) << QVariant(redBitmap()) << QString();
    QTest::newRow("empty cell") << int(ColumnKind::Text) << QVariant() << QString();
}

void TestGridModel::displayText()
{
    QFETCH(int, kind);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    GridModel model;
    model.addColumn(makeColumn(ColumnKind(kind)));
    model.addRow();
    model.setCell(0, 1, value);
    QCOMPARE(model.data(model.index(0, 1), Qt::DisplayRole).toString(), expected);
    QCOMPARE(model.data(model.index(0, 1), Qt::EditRole), value);
}

void TestGridModel::checkBoxColumnShowsState_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("state");
    QTest::newRow("true") << QVariant(true) << int(Qt::Checked);
    QTest::newRow("false") << QVariant(false) << int(Qt::Unchecked);
    QTest::newRow("text True in any case") << QVariant(QStringLiteral("tRUE")) << int(Qt::Checked);
    QTest::newRow("other text") << QVariant(QStringLiteral("Yes")) << int(Qt::Unchecked);
    QTest::newRow("empty") << QVariant(QString()) << int(Qt::Unchecked);
}

void TestGridModel::checkBoxColumnShowsState()
{
    QFETCH(QVariant, value);
    QFETCH(int, state);
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::YesNo));
    model.addColumn(makeColumn(ColumnKind::Text, QStringLiteral("G")));
    model.addRow();
    model.setCell(0, 1, value);
    model.setCell(0, 2, value);
    QCOMPARE(model.data(model.index(0, 1), Qt::CheckStateRole).toInt(), state);
    QVERIFY(!model.data(model.index(0, 2), Qt::CheckStateRole).isValid());
}

void TestGridModel::pictureColumnDecodesBitmap()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::Picture));
    model.addColumn(makeColumn(ColumnKind::Text, QStringLiteral("T")));
    model.addRow();
    model.setCell(0, 1, redBitmap());
    model.setCell(0, 2, redBitmap());
    const QImage image = model.data(model.index(0, 1), Qt::DecorationRole).value<QImage>();
    QCOMPARE(image.size(), QSize(3, 2));
    QCOMPARE(QColor(image.pixel(1, 1)), QColor(Qt::red));
    QVERIFY(!model.data(model.index(0, 2), Qt::DecorationRole).isValid());

    // A changed cell is decoded afresh, not served from the cache.
    QImage blue(5, 5, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    model.setCell(0, 1, GridValue::bitmapBytes(blue));
    QCOMPARE(model.data(model.index(0, 1), Qt::DecorationRole).value<QImage>().size(), QSize(5, 5));
    model.setCell(0, 1, QByteArray("not a bitmap"));
    QVERIFY(model.data(model.index(0, 1), Qt::DecorationRole).value<QImage>().isNull());
}

void TestGridModel::userEditConverts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("edit");
    QTest::addColumn<QVariant>("stored");

    QTest::newRow("text stays text")
        << int(ColumnKind::Text) << QVariant(QStringLiteral("x")) << QVariant(QStringLiteral("x"));
    QTest::newRow("bool into yes/no") << int(ColumnKind::YesNo) << QVariant(true) << QVariant(true);
    QTest::newRow("typed false into yes/no")
        << int(ColumnKind::YesNo) << QVariant(QStringLiteral("FALSE")) << QVariant(false);
    QTest::newRow("Yes, as paste reads it")
        << int(ColumnKind::YesNo) << QVariant(QStringLiteral("Yes")) << QVariant(true);
    QTest::newRow("regional short date")
        << int(ColumnKind::Date)
        << QVariant(QLocale().toString(QDate(2024, 7, 9), QLocale::ShortFormat))
        << QVariant(wall(2024, 7, 9));
    QTest::newRow("four-digit year in a two-digit format")
        << int(ColumnKind::Date) << QVariant(QStringLiteral("7/9/1931"))
        << QVariant(wall(1931, 7, 9));
    QTest::newRow("two-digit year late in the century")
        << int(ColumnKind::Date) << QVariant(QStringLiteral("7/9/85"))
        << QVariant(wall(1985, 7, 9));
    QTest::newRow("ISO date") << int(ColumnKind::Date) << QVariant(QStringLiteral("2021-02-03"))
                              << QVariant(wall(2021, 2, 3));
    QTest::newRow("regional time is a time of day")
        << int(ColumnKind::Date) << QVariant(QLocale().toString(QTime(9, 15), QLocale::ShortFormat))
        << QVariant(QDateTime(QDate(1904, 1, 1), QTime(9, 15), Qt::UTC));
    QTest::newRow("date value keeps its wall clock")
        << int(ColumnKind::Date)
        << QVariant(QDateTime(QDate(2022, 3, 27), QTime(12, 30), QTimeZone("Europe/Berlin")))
        << QVariant(wall(2022, 3, 27, 12, 30));
    QTest::newRow("empty date waits for the save")
        << int(ColumnKind::Date) << QVariant(QString()) << QVariant(QString());
    QTest::newRow("picture bytes as given")
        << int(ColumnKind::Picture) << QVariant(QByteArray("BMx")) << QVariant(QByteArray("BMx"));
}

void TestGridModel::userEditConverts()
{
    QFETCH(int, kind);
    QFETCH(QVariant, edit);
    QFETCH(QVariant, stored);
    GridModel model;
    model.addColumn(makeColumn(ColumnKind(kind)));
    model.addRow();
    QSignalSpy edited(&model, &GridModel::cellEdited);
    QSignalSpy changed(&model, &GridModel::dataChanged);
    QVERIFY(model.setData(model.index(0, 1), edit, Qt::EditRole));
    QCOMPARE(model.cell(0, 1), stored);
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.first().at(0).toInt(), 0);
    QCOMPARE(edited.first().at(1).toInt(), 1);
    QCOMPARE(changed.count(), 1);
}

void TestGridModel::userEditRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("edit");

    QTest::newRow("unreadable date")
        << int(ColumnKind::Date) << 1 << QVariant(QStringLiteral("someday"));
    QTest::newRow("text into a picture")
        << int(ColumnKind::Picture) << 1 << QVariant(QStringLiteral("cat.bmp"));
    QTest::newRow("a word that is no yes or no")
        << int(ColumnKind::YesNo) << 1 << QVariant(QStringLiteral("maybe"));
    QTest::newRow("a column of a type the table cannot store")
        << int(ColumnKind::Other) << 1 << QVariant(QStringLiteral("x"));
    QTest::newRow("record-number column")
        << int(ColumnKind::Text) << 0 << QVariant(QStringLiteral("7"));
}

void TestGridModel::userEditRefused()
{
    QFETCH(int, kind);
    QFETCH(int, column);
    QFETCH(QVariant, edit);
    GridModel model;
    model.addColumn(makeColumn(ColumnKind(kind)));
    model.addRow();
    model.setCell(0, 1, QStringLiteral("before"));
    QSignalSpy edited(&model, &GridModel::cellEdited);
    QVERIFY(!model.setData(model.index(0, column), edit, Qt::EditRole));
    QCOMPARE(model.cell(0, 1), QVariant(QStringLiteral("before")));
    QCOMPARE(edited.count(), 0);
}

void TestGridModel::checkStateEdit()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::YesNo));
    model.addColumn(makeColumn(ColumnKind::Text, QStringLiteral("T")));
    model.addRow();
    QSignalSpy edited(&model, &GridModel::cellEdited);
    QVERIFY(model.setData(model.index(0, 1), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(model.cell(0, 1), QVariant(true));
    QVERIFY(model.setData(model.index(0, 1), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(model.cell(0, 1), QVariant(false));
    QVERIFY(!model.setData(model.index(0, 2), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(edited.count(), 2);
}

void TestGridModel::programmaticChangeIsNoEdit()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::Text));
    QSignalSpy edited(&model, &GridModel::cellEdited);
    model.addRow();
    model.setCell(0, 1, QStringLiteral("a"));
    model.setRows({GridRow{}, GridRow{}});
    model.removeAllRows();
    QCOMPARE(edited.count(), 0);
}

void TestGridModel::flagsByColumnAndRowType()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::Text));
    model.addColumn(makeColumn(ColumnKind::YesNo, QStringLiteral("B")));
    model.addRow();
    GridRow group;
    group.rowType = 1;
    model.addRow(group);
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable));
    QVERIFY(model.flags(model.index(0, 2)) & Qt::ItemIsUserCheckable);
    QVERIFY(!(model.flags(model.index(1, 1)) & Qt::ItemIsEditable));
}

void TestGridModel::headerExposesMetadata()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::Picture, QStringLiteral("Receipt"), FieldRole::Hidden));
    model.addColumn(makeColumn(ColumnKind::Text, QStringLiteral("Amount"), FieldRole::Calc));
    model.addRow();
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Receipt caption"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, GridModel::KeyRole).toString(),
             QStringLiteral("Receipt"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, GridModel::HiddenRole).toBool(), true);
    QCOMPARE(GridRoles::kindOf(model, 1), ColumnKind::Picture);
    QCOMPARE(GridRoles::fieldRoleOf(model, 2), FieldRole::Calc);
    QCOMPARE(model.headerData(1, Qt::Horizontal, GridModel::DataTypeRole).toInt(), 65);
    QCOMPARE(GridRoles::kindOf(model, 0), ColumnKind::Other); // record numbers hold no field
    QVERIFY(!model.headerData(5, Qt::Horizontal).isValid());
    // A totalled column's figures line up on the right.
    QCOMPARE(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));
    QVERIFY(!model.data(model.index(0, 1), Qt::TextAlignmentRole).isValid());

    // Showing every column and a changed schema are header changes.
    QSignalSpy headers(&model, &GridModel::headerDataChanged);
    model.setAllColumnsShown(true);
    QCOMPARE(model.headerData(1, Qt::Horizontal, GridModel::HiddenRole).toBool(), false);
    model.setColumnSchema(2, QStringLiteral("Sum"), FieldRole::Hidden);
    QCOMPARE(headers.count(), 2);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Sum"));
    QCOMPARE(GridRoles::kindOf(model, 2), ColumnKind::Text);
}

void TestGridModel::textColumnsOfNumbers_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("numbers");
    QTest::addColumn<bool>("afterEight"); // once the first value is "8"
    const int text = int(ColumnKind::Text);
    QTest::newRow("amounts") << text << QStringList{u"46.05"_qs, u"-3"_qs, u"1,234.5"_qs} << true
                             << true;
    QTest::newRow("empty cells do not count")
        << text << QStringList{u"12"_qs, QString(), u"7"_qs} << true << true;
    QTest::newRow("one word among numbers")
        << text << QStringList{u"12"_qs, u"n/a"_qs} << false << false;
    QTest::newRow("the only word replaced by a number")
        << text << QStringList{u"n/a"_qs, u"12"_qs} << false << true;
    QTest::newRow("no values at all") << text << QStringList{QString(), QString()} << false << true;
    QTest::newRow("yes/no columns are no number columns")
        << int(ColumnKind::YesNo) << QStringList{u"1"_qs, u"0"_qs} << false << false;
}

void TestGridModel::textColumnsOfNumbers()
{
    QFETCH(int, kind);
    QFETCH(QStringList, values);
    QFETCH(bool, numbers);
    GridModel model;
    model.addColumn(makeColumn(ColumnKind(kind)));
    QList<GridRow> rows;
    for (const QString &value : values)
        rows.append(GridRow{0, -1, {QVariant(), value}});
    model.setRows(rows);
    auto aligned = [&model](int row) {
        return model.index(row, 1).data(Qt::TextAlignmentRole).toInt() ==
               int(Qt::AlignRight | Qt::AlignVCenter);
    };
    QCOMPARE(model.headerData(1, Qt::Horizontal, GridModel::HoldsNumbersRole).toBool(), numbers);
    QCOMPARE(aligned(0), numbers);
    // Edits count: a number can make a column of numbers, a word ends one.
    model.setCell(0, 1, u"8"_qs);
    QTEST(model.holdsNumbers(1), "afterEight");
    model.setCell(0, 1, u"eight"_qs);
    QVERIFY(!model.holdsNumbers(1));
}

void TestGridModel::keyLookupIgnoresCase()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::Text, QStringLiteral("Amount")));
    model.addColumn(makeColumn(ColumnKind::Text, QString()));
    QCOMPARE(model.columnByKey(QStringLiteral("aMOUNT")), 1);
    QCOMPARE(model.columnByKey(QStringLiteral("Col0")), 0);
    QCOMPARE(model.columnByKey(QStringLiteral("Missing")), -1);
    QCOMPARE(model.columnByKey(QString()), -1); // unkeyed columns are never found
}

void TestGridModel::removeAllColumnsKeepsRecordNumbers()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::Text));
    model.addColumn(makeColumn(ColumnKind::Text, QStringLiteral("G")));
    model.addRow();
    model.setCell(0, 2, QStringLiteral("x"));
    model.removeAllColumns();
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(!model.cell(0, 2).isValid());
    model.addColumn(makeColumn(ColumnKind::Text));
    QVERIFY(!model.cell(0, 1).isValid());
}

void TestGridModel::setRowsResetsOnce()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::Text));
    QSignalSpy reset(&model, &GridModel::modelReset);
    QList<GridRow> rows(1000);
    for (int i = 0; i < rows.size(); ++i)
        rows[i].cells = {QVariant(), QString::number(i)};
    model.setRows(rows);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 1000);
    QCOMPARE(model.cell(999, 1).toString(), QStringLiteral("999"));
    QVERIFY(!model.cell(1000, 1).isValid());
    QVERIFY(!model.cell(-1, 1).isValid());
}

void TestGridModel::insertAndRemoveRows()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::Text));
    model.addRow();
    model.setCell(0, 1, QStringLiteral("first"));
    QVERIFY(model.insertRows(0, 2));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.cell(2, 1).toString(), QStringLiteral("first"));
    QCOMPARE(model.gridRow(0).sourceRecord, -1);
    QVERIFY(model.removeRows(0, 2));
    QCOMPARE(model.cell(0, 1).toString(), QStringLiteral("first"));
    QVERIFY(!model.removeRows(0, 5));
    QVERIFY(!model.insertRows(7, 1));
}

// Every change a load, an edit, an import or a clear makes, under Qt's own
// consistency checks of the model's signals, indexes and roles.
void TestGridModel::rowsReadStoredRecordsUntilChanged()
{
    GridModel model;
    model.addColumn(makeColumn(ColumnKind::Text, QStringLiteral("A")));
    model.addColumn(makeColumn(ColumnKind::Text, QStringLiteral("B")));
    model.setStoredRows(std::make_shared<NamedStoredRows>());
    QList<GridRow> rows(4);
    rows[0].sourceRecord = 2;
    rows[1].sourceRecord = 0;
    rows[3].sourceRecord = 7; // no such record: reads nothing
    model.setRows(rows);

    QCOMPARE(model.data(model.index(0, 1)).toString(), u"r2c1"_qs);
    QVERIFY(model.readsStoredRecord(0));
    QVERIFY(!model.readsStoredRecord(2));
    QVERIFY(!model.cell(2, 1).isValid());
    QVERIFY(!model.cell(3, 1).isValid());
    QVERIFY(!model.cell(0, 0).isValid());

    // The first change gives the row its own cells, the others kept.
    model.setCells({{0, 2, u"edited"_qs}});
    QVERIFY(!model.readsStoredRecord(0));
    QCOMPARE(model.cell(0, 1).toString(), u"r2c1"_qs);
    QCOMPARE(model.cell(0, 2).toString(), u"edited"_qs);

    // Rows taken for an undo read their records again when put back.
    const QList<GridRow> taken = model.takeGridRows(1, 1);
    model.insertGridRows(0, taken);
    QCOMPARE(model.cell(0, 2).toString(), u"r0c2"_qs);
    QCOMPARE(model.cell(1, 2).toString(), u"edited"_qs);
}

void TestGridModel::passesTheModelTester()
{
    GridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.addColumn(makeColumn(ColumnKind::Text, QStringLiteral("Name")));
    model.addColumn(makeColumn(ColumnKind::YesNo, QStringLiteral("Paid")));
    model.addColumn(makeColumn(ColumnKind::Picture, QStringLiteral("Photo")));
    GridRow row;
    row.cells = {QVariant(), QStringLiteral("Ann"), true, redBitmap()};
    model.addRow(row);
    model.setRows({row, row, row});
    QVERIFY(model.setData(model.index(1, 1), QStringLiteral("Bob")));
    QVERIFY(model.setData(model.index(2, 2), Qt::Unchecked, Qt::CheckStateRole));
    model.setColumnSchema(1, QStringLiteral("Who"), FieldRole::Hidden);
    model.setAllColumnsShown(true);
    // Inserting or removing a row in the middle renumbers the rows below it
    // (column 0 shows positions), which the tester's neighbour check takes
    // for a change of unrelated data; rows at the end keep every number.
    QVERIFY(model.insertRows(3, 2));
    QVERIFY(model.removeRows(3, 2));
    model.removeAllColumns();
    model.removeAllRows();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 1);
}

QTEST_GUILESS_MAIN(TestGridModel)
#include "tst_grid_model.moc"
