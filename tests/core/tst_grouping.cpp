#include "catalogue/SchemaRules.h"
#include "grid/GridModel.h"
#include "grid/GridValue.h"
#include "grid/GroupTotals.h"
#include "grid/Grouping.h"
#include "grid/GroupingProxyModel.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QStandardItemModel>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Ledgerly;
using namespace Qt::StringLiterals;
using GridRoles::RowKind;

namespace {

enum Col { Category = 1, Amount = 2, Paid = 3, Day = 4, Sub = 5, Columns = 6 };

GridColumn column(const QString &key, ColumnKind kind)
{
    GridColumn c;
    c.key = key;
    c.caption = key + u" caption"_s;
    c.kind = kind;
    return c;
}

QDateTime day(int d)
{
    return GridValue::wallClock(QDate(2026, 3, d), QTime(0, 0));
}

// Category, Amount, Paid, Day, Sub per record.
void fill(GridModel &model, const QList<QVariantList> &records)
{
    model.addColumn(column(u"Category"_s, ColumnKind::Text));
    model.addColumn(column(u"Amount"_s, ColumnKind::Text));
    model.addColumn(column(u"Paid"_s, ColumnKind::YesNo));
    model.addColumn(column(u"Day"_s, ColumnKind::Date));
    model.addColumn(column(u"Sub"_s, ColumnKind::Text));
    QList<GridRow> rows;
    for (const QVariantList &values : records) {
        GridRow row;
        row.cells = QVariantList{QVariant()} + values;
        rows.append(row);
    }
    model.setRows(rows);
}

const QList<QVariantList> kRecords = {
    {u"Food"_s, u"10"_s, true, day(3), u"b"_s},   {u"travel"_s, u"7"_s, false, day(1), u"a"_s},
    {u"Food"_s, u"20"_s, false, day(3), u"a"_s},  {u"Travel"_s, u"x"_s, true, day(2), u"a"_s},
    {u"Food"_s, u"30.5"_s, true, day(1), u"b"_s}, {QString(), u"1"_s, false, QVariant(), u"a"_s},
};

// One role per column, entry 0 for the record-number column.
QStringList roles(const QMap<int, QString> &byColumn)
{
    QStringList out;
    for (int c = 0; c < Columns; ++c)
        out.append(byColumn.value(c, u"False"_s));
    return out;
}

// Gives the table's columns the schema roles of the role values, and the
// captions "Cap<column>".
void applyRoles(GridModel &table, const QStringList &roles)
{
    for (int c = 1; c < Columns; ++c)
        table.setColumnSchema(c, u"Cap%1"_s.arg(c), fieldRole(roles.at(c)));
}

// Groups the table by the role values given.
void group(Grouping &grouping, GridModel &table, const QStringList &roles)
{
    applyRoles(table, roles);
    grouping.GroupColumns();
}

// The rows a view shows: "H<level>:text", "F<level>:text" or "R<table row>".
QStringList shown(const QAbstractItemModel &view)
{
    QStringList out;
    for (int row = 0; row < view.rowCount(); ++row) {
        const QModelIndex index = view.index(row, 1);
        const auto kind = RowKind(index.data(GridRoles::RowKindRole).toInt());
        const QString level = index.data(GridRoles::GroupLevelRole).toString();
        const QString text = index.data(GridRoles::GroupTextRole).toString();
        switch (kind) {
        case RowKind::GroupHeader:
            out.append(u"H"_s + level + u":"_s + text);
            break;
        case RowKind::GroupFooter:
            out.append(u"F"_s + level + u":"_s + text);
            break;
        default:
            out.append(u"R"_s + index.data(GridRoles::SourceRowRole).toString());
        }
    }
    return out;
}

QString calcFooter(const QString &figures)
{
    return u"F0:Calculated Values for Cap2 Records: "_s + figures;
}

} // namespace

class TestGrouping : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void footerText_data();
    void footerText();
    void figuresKeepFifteenDigits_data();
    void figuresKeepFifteenDigits();
    void roundHalfEven_data();
    void roundHalfEven();
    void levelsFromRoles_data();
    void levelsFromRoles();
    void groupedRows_data();
    void groupedRows();
    void calcTextColumnIsANumberWhileGrouped();
    void clearingRestoresPlainRows();
    void groupingTwiceDoesNotStack();
    void editMovesRecordBetweenGroups();
    void tableChangesRegroup();
    void collapseAndExpand();
    void groupRowsAreNotEditable();
    void rowsThatAreNoRecordsStayBelowTheGroups();
};

void TestGrouping::footerText_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("expected");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("three values") << us << QStringList{u"10"_s, u"20"_s, u"30.5"_s}
                                  << u"Calculated Values for Amount Records: 3     Total: 60.5     "
                                     u"Average:  20.17     Minimum: 10  Maximum : 30.5"_s;
    QTest::newRow("decimal comma")
        << de << QStringList{u"10"_s, u"20"_s, u"30,5"_s}
        << u"Calculated Values for Amount Records: 3     Total: 60,5     "
           u"Average:  20,17     Minimum: 10  Maximum : 30,5"_s;
    QTest::newRow("text and empty left out, still counted")
        << us << QStringList{u"4"_s, u"n/a"_s, QString(), u"-2"_s}
        << u"Calculated Values for Amount Records: 4     Total: 2     Average:  1     "
           u"Minimum: -2  Maximum : 4"_s;
    QTest::newRow("no number at all: empty figures")
        << us << QStringList{u"nan"_s, u"inf"_s, u"abc"_s}
        << u"Calculated Values for Amount Records: 3     Total:      Average:       Minimum:   "
           u"Maximum : "_s;
    QTest::newRow("large total without exponent or separators")
        << us << QStringList{u"999999.5"_s, u"1000000.5"_s}
        << u"Calculated Values for Amount Records: 2     Total: 2000000     Average:  1000000     "
           u"Minimum: 999999.5  Maximum : 1000000.5"_s;
    QTest::newRow("total of cents without binary noise")
        << us << QStringList{u"852.21"_s, u"0.1"_s}
        << u"Calculated Values for Amount Records: 2     Total: 852.31     Average:  426.16     "
           u"Minimum: 0.1  Maximum : 852.21"_s;
    QTest::newRow("average half goes to even")
        << us << QStringList{u"0.125"_s, u"0.125"_s}
        << u"Calculated Values for Amount Records: 2     Total: 0.25     Average:  0.12     "
           u"Minimum: 0.125  Maximum : 0.125"_s;
}

void TestGrouping::footerText()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, values);
    GroupTotals totals(locale);
    for (const QString &value : std::as_const(values)) {
        totals.addRecord();
        totals.addValue(value);
    }
    QTEST(totals.footerText(u"Amount"_s), "expected");
    QCOMPARE(totals.recordsText(), u"Records : %1"_s.arg(values.size()));
}

void TestGrouping::figuresKeepFifteenDigits_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("sum noise beyond fifteen digits") << us << 852.3100000000001 << u"852.31"_s;
    QTest::newRow("large sum with noise") << us << 13577107.570000019 << u"13577107.57"_s;
    QTest::newRow("tenths that do not add up in binary") << us << 0.1 + 0.2 << u"0.3"_s;
    QTest::newRow("negative") << us << -852.3100000000001 << u"-852.31"_s;
    QTest::newRow("decimal comma, no thousands separator")
        << de << 13577107.570000019 << u"13577107,57"_s;
    QTest::newRow("fifteen digits kept") << us << 1234567.89012345 << u"1234567.89012345"_s;
    QTest::newRow("sixteenth digit rounded") << us << 1234567890.1234567 << u"1234567890.12346"_s;
    QTest::newRow("whole million without exponent") << us << 1e6 << u"1000000"_s;
    QTest::newRow("negative zero") << us << -0.0 << u"0"_s;
    QTest::newRow("not a number") << us << std::nan("") << QString();
    QTest::newRow("infinity") << us << std::numeric_limits<double>::infinity() << QString();
}

void TestGrouping::figuresKeepFifteenDigits()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QTEST(GroupTotals::numberText(value, locale), "expected");
}

void TestGrouping::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("thirds") << 20.1666666 << 20.17;
    QTest::newRow("half up to even") << 0.375 << 0.38;
    QTest::newRow("half down to even") << 0.125 << 0.12;
    QTest::newRow("written half without exact binary form") << 2.675 << 2.68;
    QTest::newRow("negative half") << -0.125 << -0.12;
    QTest::newRow("whole number") << 3.0 << 3.0;
}

void TestGrouping::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(GroupTotals::roundHalfEven(value, 2), expected);
}

void TestGrouping::levelsFromRoles_data()
{
    QTest::addColumn<QStringList>("roles");
    QTest::addColumn<QList<int>>("expected"); // column, calc column, per level
    QTest::newRow("one group, one calc")
        << roles({{Category, u"Group"_s}, {Amount, u"Calc"_s}}) << QList<int>{Category, Amount};
    QTest::newRow("roles ignore case")
        << roles({{Category, u"gROUP"_s}, {Amount, u"cAlC"_s}}) << QList<int>{Category, Amount};
    QTest::newRow("calc before group finds no group")
        << roles({{Category, u"Calc"_s}, {Amount, u"Group"_s}}) << QList<int>{Amount, -1};
    QTest::newRow("calc after the second group totals the inner groups")
        << roles({{Category, u"Group"_s}, {Paid, u"Group"_s}, {Sub, u"Calc"_s}})
        << QList<int>{Category, -1, Paid, Sub};
    QTest::newRow("calc between two groups totals the outer groups")
        << roles({{Category, u"Group"_s}, {Amount, u"Calc"_s}, {Paid, u"Group"_s}})
        << QList<int>{Category, Amount, Paid, -1};
    QTest::newRow("the first calc of a group names its footer")
        << roles({{Category, u"Group"_s}, {Amount, u"Calc"_s}, {Sub, u"Calc"_s}})
        << QList<int>{Category, Amount};
    QTest::newRow("no group field") << roles({{Amount, u"Calc"_s}}) << QList<int>{};
}

void TestGrouping::levelsFromRoles()
{
    QFETCH(QStringList, roles);
    GridModel table;
    fill(table, kRecords);
    applyRoles(table, roles);
    QList<int> got;
    for (const GroupLevel &level : Grouping::layoutFor(table)) {
        got << level.column << level.calcColumn;
        if (level.calcColumn > 0)
            QCOMPARE(level.calcCaption, u"Cap%1"_s.arg(level.calcColumn));
    }
    QTEST(got, "expected");
}

void TestGrouping::groupedRows_data()
{
    QTest::addColumn<QStringList>("roles");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("text: empty first, case ignored, then exact; footer totals")
        << roles({{Category, u"Group"_s}, {Amount, u"Calc"_s}})
        << QStringList{u"H0:"_s,
                       u"R5"_s,
                       calcFooter(u"1     Total: 1     Average:  1     Minimum: 1  Maximum : 1"_s),
                       u"H0:Food"_s,
                       u"R0"_s,
                       u"R2"_s,
                       u"R4"_s,
                       calcFooter(u"3     Total: 60.5     Average:  20.17     Minimum: 10  "
                                  u"Maximum : 30.5"_s),
                       u"H0:Travel"_s,
                       u"R3"_s,
                       calcFooter(u"1     Total:      Average:       Minimum:   Maximum : "_s),
                       u"H0:travel"_s,
                       u"R1"_s,
                       calcFooter(u"1     Total: 7     Average:  7     Minimum: 7  Maximum : 7"_s)};
    QTest::newRow("yes/no as False and True, records counted")
        << roles({{Paid, u"Group"_s}})
        << QStringList{u"H0:False"_s, u"R1"_s, u"R2"_s, u"R5"_s, u"F0:Records : 3"_s,
                       u"H0:True"_s,  u"R0"_s, u"R3"_s, u"R4"_s, u"F0:Records : 3"_s};
    QTest::newRow("dates in time order, empty first")
        << roles({{Day, u"Group"_s}})
        << QStringList{u"H0:"_s,
                       u"R5"_s,
                       u"F0:Records : 1"_s,
                       u"H0:"_s + GridValue::displayText(day(1)),
                       u"R1"_s,
                       u"R4"_s,
                       u"F0:Records : 2"_s,
                       u"H0:"_s + GridValue::displayText(day(2)),
                       u"R3"_s,
                       u"F0:Records : 1"_s,
                       u"H0:"_s + GridValue::displayText(day(3)),
                       u"R0"_s,
                       u"R2"_s,
                       u"F0:Records : 2"_s};
    QTest::newRow("two group fields nest in field order")
        << roles({{Sub, u"Group"_s}, {Paid, u"Group"_s}}) << QStringList{u"H0:False"_s,
                                                                         u"H1:a"_s,
                                                                         u"R1"_s,
                                                                         u"R2"_s,
                                                                         u"R5"_s,
                                                                         u"F1:Records : 3"_s,
                                                                         u"F0:Records : 3"_s,
                                                                         u"H0:True"_s,
                                                                         u"H1:a"_s,
                                                                         u"R3"_s,
                                                                         u"F1:Records : 1"_s,
                                                                         u"H1:b"_s,
                                                                         u"R0"_s,
                                                                         u"R4"_s,
                                                                         u"F1:Records : 2"_s,
                                                                         u"F0:Records : 3"_s};
    QTest::newRow("no group field: the rows as they are")
        << roles({{Amount, u"Calc"_s}})
        << QStringList{u"R0"_s, u"R1"_s, u"R2"_s, u"R3"_s, u"R4"_s, u"R5"_s};
}

void TestGrouping::groupedRows()
{
    QFETCH(QStringList, roles);
    GridModel table;
    fill(table, kRecords);
    Grouping grouping(table);
    QAbstractItemModelTester tester(grouping.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    group(grouping, table, roles);
    QTEST(shown(*grouping.model()), "expected");
}

void TestGrouping::calcTextColumnIsANumberWhileGrouped()
{
    GridModel table;
    fill(table, kRecords);
    Grouping grouping(table);
    const QAbstractItemModel &view = *grouping.model();
    auto dataType = [](const QAbstractItemModel &model, int column) {
        return model.headerData(column, Qt::Horizontal, GridRoles::DataTypeRole).toInt();
    };
    // A date field marked "Calc" keeps its kind; only text becomes a number,
    // and only in the grouped view: the table below is never written to.
    group(grouping, table, roles({{Category, u"Group"_s}, {Amount, u"Calc"_s}, {Day, u"Calc"_s}}));
    QCOMPARE(dataType(view, Amount), int(DataInteger));
    QCOMPARE(dataType(view, Day), int(DataDate));
    QCOMPARE(dataType(table, Amount), int(DataText));
    QCOMPARE(view.index(1, Amount).data(Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));

    grouping.clear();
    QCOMPARE(dataType(view, Amount), int(DataText));
    QCOMPARE(dataType(view, Day), int(DataDate));
    // Figures line up on the right grouped or not.
    QCOMPARE(table.index(0, Amount).data(Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));
}

void TestGrouping::clearingRestoresPlainRows()
{
    GridModel table;
    fill(table, kRecords);
    Grouping grouping(table);
    group(grouping, table, roles({{Category, u"Group"_s}, {Sub, u"True"_s}}));
    QVERIFY(grouping.isGrouped());
    grouping.clear();
    QVERIFY(!grouping.isGrouped());
    QCOMPARE(shown(*grouping.model()),
             (QStringList{u"R0"_s, u"R1"_s, u"R2"_s, u"R3"_s, u"R4"_s, u"R5"_s}));
    QVERIFY(table.isColumnHidden(Sub)); // the columns stay as they are
    QCOMPARE(table.rowCount(), kRecords.size());
}

void TestGrouping::groupingTwiceDoesNotStack()
{
    GridModel table;
    fill(table, kRecords);
    Grouping grouping(table);
    const QStringList byCategory = roles({{Category, u"Group"_s}, {Amount, u"Calc"_s}});
    group(grouping, table, byCategory);
    const QStringList once = shown(*grouping.model());
    group(grouping, table, byCategory);
    QCOMPARE(shown(*grouping.model()), once);
    QCOMPARE(grouping.model()->groupCount(), 4);
}

void TestGrouping::editMovesRecordBetweenGroups()
{
    GridModel table;
    fill(table, kRecords);
    Grouping grouping(table);
    GroupingProxyModel &view = *grouping.model();
    QAbstractItemModelTester tester(&view, QAbstractItemModelTester::FailureReportingMode::QtTest);
    group(grouping, table, roles({{Category, u"Group"_s}, {Amount, u"Calc"_s}}));

    // Record 2 (Food, 20) becomes travel: it leaves the Food group for the
    // travel group, after the record that was there, and both footers follow.
    const QModelIndex food20 = view.mapFromSource(table.index(2, Category));
    QVERIFY(view.setData(food20, u"travel"_s, Qt::EditRole));
    QCOMPARE(table.cell(2, Category).toString(), u"travel"_s);
    const QStringList after = shown(view);
    QCOMPARE(after.mid(3, 4),
             (QStringList{u"H0:Food"_s, u"R0"_s, u"R4"_s,
                          calcFooter(u"2     Total: 40.5     Average:  20.25     Minimum: 10  "
                                     u"Maximum : 30.5"_s)}));
    QCOMPARE(after.mid(10),
             (QStringList{u"H0:travel"_s, u"R1"_s, u"R2"_s,
                          calcFooter(u"2     Total: 27     Average:  13.5     Minimum: 7  "
                                     u"Maximum : 20"_s)}));

    // A changed amount only changes the footer.
    QVERIFY(view.setData(view.mapFromSource(table.index(1, Amount)), u"8"_s));
    QCOMPARE(shown(view).last(),
             calcFooter(u"2     Total: 28     Average:  14     Minimum: 8  Maximum : 20"_s));
    QCOMPARE(table.rowCount(), kRecords.size()); // the table's rows never move
    QCOMPARE(table.cell(2, Amount).toString(), u"20"_s);
}

void TestGrouping::tableChangesRegroup()
{
    GridModel table;
    fill(table, kRecords);
    Grouping grouping(table);
    GroupingProxyModel &view = *grouping.model();
    QAbstractItemModelTester tester(&view, QAbstractItemModelTester::FailureReportingMode::QtTest);
    group(grouping, table, roles({{Sub, u"Group"_s}}));

    GridRow added;
    added.cells = {QVariant(), u"New"_s, u"1"_s, false, day(9), u"c"_s};
    table.addRow(added);
    QCOMPARE(shown(view).mid(shown(view).size() - 3),
             (QStringList{u"H0:c"_s, u"R6"_s, u"F0:Records : 1"_s}));
    QVERIFY(table.removeRows(0, 2));
    // Old rows 2 to 6 are rows 0 to 4 now.
    QCOMPARE(shown(view),
             (QStringList{u"H0:a"_s, u"R0"_s, u"R1"_s, u"R3"_s, u"F0:Records : 3"_s, u"H0:b"_s,
                          u"R2"_s, u"F0:Records : 1"_s, u"H0:c"_s, u"R4"_s, u"F0:Records : 1"_s}));
    table.removeAllRows();
    QCOMPARE(view.rowCount(), 0);
}

void TestGrouping::collapseAndExpand()
{
    GridModel table;
    fill(table, kRecords);
    Grouping grouping(table);
    GroupingProxyModel &view = *grouping.model();
    QAbstractItemModelTester tester(&view, QAbstractItemModelTester::FailureReportingMode::QtTest);
    group(grouping, table, roles({{Sub, u"Group"_s}, {Paid, u"Group"_s}}));
    const QStringList open = shown(view);

    // Collapsing the outer "False" group leaves its header and footer.
    QVERIFY(view.setData(view.index(0, 0), true, GridRoles::GroupCollapsedRole));
    QCOMPARE(shown(view).mid(0, 3),
             (QStringList{u"H0:False"_s, u"F0:Records : 3"_s, u"H0:True"_s}));
    QVERIFY(view.index(0, 0).data(GridRoles::GroupCollapsedRole).toBool());
    QVERIFY(!view.mapFromSource(table.index(1, Sub)).isValid());
    QCOMPARE(view.mapFromSource(table.index(0, Sub)).row(), 7);

    // A fold survives an edit elsewhere; footers are never folded.
    table.setCell(0, Sub, u"a"_s); // record 0 joins record 3 in True/a
    QCOMPARE(shown(view).mid(0, 7),
             (QStringList{u"H0:False"_s, u"F0:Records : 3"_s, u"H0:True"_s, u"H1:a"_s, u"R0"_s,
                          u"R3"_s, u"F1:Records : 2"_s}));

    QVERIFY(view.setData(view.index(0, 0), false, GridRoles::GroupCollapsedRole));
    QCOMPARE(shown(view).mid(0, 7), open.mid(0, 7));
    QCOMPARE(view.rowCount(), open.size());
    QVERIFY(!view.setData(view.index(2, 0), true, GridRoles::GroupCollapsedRole)); // a record
    QCOMPARE(table.rowCount(), kRecords.size());
}

void TestGrouping::groupRowsAreNotEditable()
{
    GridModel table;
    fill(table, kRecords);
    Grouping grouping(table);
    group(grouping, table, roles({{Category, u"Group"_s}}));
    GroupingProxyModel &view = *grouping.model();
    const QModelIndex header = view.index(0, Category);
    const QModelIndex footer = view.index(2, Amount);
    const QModelIndex record = view.index(1, Amount);
    for (const QModelIndex &group : {header, footer}) {
        QCOMPARE(view.flags(group), Qt::ItemFlags(Qt::ItemIsEnabled));
        QVERIFY(!view.setData(group, u"9"_s, Qt::EditRole));
        QVERIFY(!view.mapToSource(group).isValid());
    }
    QVERIFY(view.flags(record) & Qt::ItemIsEditable);
    QCOMPARE(view.index(1, 0).data().toInt(), 6); // the record number of table row 5
    QCOMPARE(view.headerData(1, Qt::Vertical).toInt(), 6);
    QVERIFY(!view.headerData(0, Qt::Vertical).isValid());
}

void TestGrouping::rowsThatAreNoRecordsStayBelowTheGroups()
{
    // Any table model will do; the last row is the one that appends a record.
    QStandardItemModel table(4, 2);
    const QStringList values = {u"b"_s, u"a"_s, u"b"_s, QString()};
    for (int row = 0; row < values.size(); ++row)
        table.setItem(row, 1, new QStandardItem(values.at(row)));
    for (int row = 0; row < 3; ++row)
        table.setData(table.index(row, 0), int(RowKind::Record), GridRoles::RowKindRole);
    table.setData(table.index(3, 0), int(RowKind::NewRecord), GridRoles::RowKindRole);
    GroupingProxyModel view;
    view.setSourceModel(&table);
    view.setGroupLayout({GroupLevel{1, -1, {}}});
    QCOMPARE(view.rowCount(), 8);
    QCOMPARE(view.index(7, 0).data(GridRoles::RowKindRole).toInt(), int(RowKind::NewRecord));
    QCOMPARE(view.mapToSource(view.index(7, 1)), table.index(3, 1));
    QCOMPARE(view.index(0, 1).data().toString(), u"a"_s);
}

QTEST_MAIN(TestGrouping)
#include "tst_grouping.moc"
