#include "TestValues.h"
#include "grid/FilterExpression.h"
#include "grid/GridModel.h"
#include "grid/RecordOrder.h"
#include "grid/SortKey.h"

#include <QLocale>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

// A table of one column of the kind holding the values, one record each.
void fill(GridModel &table, ColumnKind kind, const QVariantList &values)
{
    table.addColumn(GridColumn{u"Value"_s, u"Value caption"_s, kind, FieldRole::Shown});
    QList<GridRow> rows;
    for (const QVariant &value : values)
        rows.append(GridRow{0, -1, {QVariant(), value}});
    table.setRows(rows);
}

} // namespace

class TestRecordOrder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void orderByKind_data();
    void orderByKind();
    void headerClicks_data();
    void headerClicks();
    void filterExpression_data();
    void filterExpression();
};

void TestRecordOrder::orderByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QList<int>>("expected"); // the records' rows in the order shown

    const int text = int(ColumnKind::Text);
    QTest::newRow("text ignores case, equal keys keep stored order")
        << text << QVariantList{u"beta"_s, u"Alpha"_s, u"alpha"_s, u"Beta"_s} << false
        << QList<int>{1, 2, 0, 3};
    QTest::newRow("text follows collation, not code points")
        << text << QVariantList{u"Zebra"_s, u"Äpfel"_s, u"Birne"_s} << false << QList<int>{1, 2, 0};
    QTest::newRow("numbers with a point or the regional comma sort as numbers")
        << text << QVariantList{u"46.05"_s, u"9,5"_s, u"100"_s, u"-3"_s} << false
        << QList<int>{3, 1, 0, 2};
    QTest::newRow("one word makes the column text")
        << text << QVariantList{u"46.05"_s, u"9"_s, u"100"_s, u"n/a"_s} << false
        << QList<int>{2, 0, 1, 3};
    QTest::newRow("thousands separators are no number")
        << text << QVariantList{u"1.234,5"_s, u"2"_s} << false << QList<int>{0, 1};
    QTest::newRow("empty values last, descending too")
        << text << QVariantList{u""_s, u"2"_s, u"  "_s, u"10"_s} << true << QList<int>{3, 1, 0, 2};
    QTest::newRow("dates by the moment")
        << int(ColumnKind::Date)
        << QVariantList{wall(2026, 3, 1), wall(2025, 12, 31), u""_s, wall(2026, 1, 15)} << false
        << QList<int>{1, 3, 0, 2};
    QTest::newRow("times descending, empty last")
        << int(ColumnKind::Time)
        << QVariantList{wall(1904, 1, 1, 9), QVariant(), wall(1904, 1, 1, 17, 30)} << true
        << QList<int>{2, 0, 1};
    QTest::newRow("yes/no: False before True")
        << int(ColumnKind::YesNo) << QVariantList{true, false, u"True"_s, false} << false
        << QList<int>{1, 3, 0, 2};
    QTest::newRow("pictures: present before absent, either way")
        << int(ColumnKind::Picture) << QVariantList{QByteArray(), bitmap(Qt::red), QVariant()}
        << true << QList<int>{1, 0, 2};
}

void TestRecordOrder::orderByKind()
{
    QFETCH(int, kind);
    QFETCH(QVariantList, values);
    QFETCH(bool, descending);
    QFETCH(QList<int>, expected);
    GridModel table;
    fill(table, ColumnKind(kind), values);
    const SortKeys keys{{1, descending ? Qt::DescendingOrder : Qt::AscendingOrder}};
    QCOMPARE(RecordOrder::sortedAll(table, keys), expected);
}

void TestRecordOrder::headerClicks_data()
{
    QTest::addColumn<QList<int>>("clicks"); // a column; negative: with Shift
    QTest::addColumn<QString>("expected");

    QTest::newRow("ascending, descending, stored") << QList<int>{2} << u"2+"_s;
    QTest::newRow("second click descends") << QList<int>{2, 2} << u"2-"_s;
    QTest::newRow("third click is the stored order") << QList<int>{2, 2, 2} << u""_s;
    QTest::newRow("a plain click on another column replaces") << QList<int>{2, 3} << u"3+"_s;
    QTest::newRow("shift adds a further key") << QList<int>{2, -3} << u"2+ 3+"_s;
    QTest::newRow("shift turns a key where it stands") << QList<int>{2, -3, -2} << u"2- 3+"_s;
    QTest::newRow("shift on a descending key drops it") << QList<int>{2, -3, -3, -3} << u"2+"_s;
    QTest::newRow("a plain click leaves one key") << QList<int>{2, -3, 3} << u"3+"_s;
}

void TestRecordOrder::headerClicks()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QString, expected);
    SortKeys keys;
    for (int click : clicks)
        keys = SortKeyList::clicked(keys, qAbs(click), click < 0);
    QStringList shown;
    for (const SortKey &key : keys)
        shown.append(QString::number(key.column) +
                     (key.order == Qt::AscendingOrder ? u"+"_s : u"-"_s));
    QCOMPARE(shown.join(u' '), expected);
}

void TestRecordOrder::filterExpression_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("expected"); // 1/0 per value, or the start of the error

    const int text = int(ColumnKind::Text);
    const QVariantList words{u"Fuel"_s, u"fuel tax"_s, u"Food"_s, u""_s};
    QTest::newRow("word: contains, case ignored") << text << u"FUEL"_s << words << u"1100"_s;
    QTest::newRow("=text: equal, case ignored") << text << u"=fuel"_s << words << u"1000"_s;
    QTest::newRow("= alone: empty") << text << u"="_s << words << u"0001"_s;
    QTest::newRow("!text: does not contain") << text << u"!fuel"_s << words << u"0011"_s;
    QTest::newRow("! alone: not empty") << text << u"!"_s << words << u"1110"_s;
    QTest::newRow("/regex/: case ignored") << text << u"/^f.o/"_s << words << u"0010"_s;
    QTest::newRow("a word with slashes is a word")
        << text << u"1/2"_s << QVariantList{u"1/2 l"_s, u"12"_s} << u"10"_s;

    const QVariantList amounts{u"46.05"_s, u"100"_s, u"9,5"_s, u"n/a"_s, u""_s};
    QTest::newRow(">number: numbers only") << text << u">46"_s << amounts << u"11000"_s;
    QTest::newRow(">=number, regional comma") << text << u">=9,5"_s << amounts << u"11100"_s;
    QTest::newRow("<number excludes the bound") << text << u"<100"_s << amounts << u"10100"_s;
    QTest::newRow("<=number") << text << u"<=100"_s << amounts << u"11100"_s;
    QTest::newRow("a..b: inclusive") << text << u"9.5..46.05"_s << amounts << u"10100"_s;
    QTest::newRow("..b: no lower end") << text << u"..10"_s << amounts << u"00100"_s;
    QTest::newRow("text range in collation order")
        << text << u"b..d"_s << QVariantList{u"apple"_s, u"Banana"_s, u"cherry"_s, u"date"_s}
        << u"0110"_s;

    const int date = int(ColumnKind::Date);
    const QVariantList days{wall(2026, 2, 28), wall(2026, 3, 1), wall(2026, 3, 15), u""_s};
    QTest::newRow("date >= in ISO") << date << u">=2026-03-01"_s << days << u"0110"_s;
    QTest::newRow("date range in the regional form")
        << date << u"28.02.26..01.03.26"_s << days << u"1100"_s;
    QTest::newRow("=date") << date << u"=2026-03-15"_s << days << u"0010"_s;
    QTest::newRow("date word matches the shown text") << date << u"03.26"_s << days << u"0110"_s;
    QTest::newRow("a date and time column takes a day as the whole day")
        << int(ColumnKind::DateTime) << u"<=2026-03-01"_s
        << QVariantList{wall(2026, 3, 1, 18, 5), wall(2026, 3, 2, 0, 1)} << u"10"_s;

    const int yesNo = int(ColumnKind::YesNo);
    const QVariantList ticks{true, false, u"True"_s};
    QTest::newRow("yes/no reads yes") << yesNo << u"yes"_s << ticks << u"101"_s;
    QTest::newRow("yes/no =0") << yesNo << u"=0"_s << ticks << u"010"_s;
    QTest::newRow("yes/no !true") << yesNo << u"!true"_s << ticks << u"010"_s;

    const int picture = int(ColumnKind::Picture);
    const QVariantList pictures{bitmap(Qt::blue), QByteArray()};
    QTest::newRow("picture = none") << picture << u"="_s << pictures << u"01"_s;
    QTest::newRow("picture ! one") << picture << u"!"_s << pictures << u"10"_s;

    QTest::newRow("invalid: broken regex")
        << text << u"/(abc/"_s << words << u"Not a valid regular expression"_s;
    QTest::newRow("invalid: empty regex") << text << u"//"_s << words << u"The regular"_s;
    QTest::newRow("invalid: nothing after >") << text << u"> "_s << words << u"Nothing to"_s;
    QTest::newRow("invalid: no ends") << text << u".."_s << words << u"A range needs"_s;
    QTest::newRow("invalid: not a date") << date << u">soon"_s << days << u"\"soon\" is not"_s;
    QTest::newRow("invalid: yes/no has no order") << yesNo << u">0"_s << ticks << u"A yes/no"_s;
    QTest::newRow("invalid: picture text") << picture << u"cat"_s << pictures << u"A picture"_s;
}

void TestRecordOrder::filterExpression()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QVariantList, values);
    QFETCH(QString, expected);
    const FilterExpression expression = FilterExpression::parse(text, ColumnKind(kind));
    if (!expected.front().isDigit()) {
        QVERIFY(!expression.isValid());
        QVERIFY2(expression.error().startsWith(expected), qPrintable(expression.error()));
        // An invalid box filters nothing away.
        for (const QVariant &value : values)
            QVERIFY(expression.matches(value));
        return;
    }
    QVERIFY2(expression.isValid(), qPrintable(expression.error()));
    QString matched;
    for (const QVariant &value : values)
        matched += expression.matches(value) ? u'1' : u'0';
    QCOMPARE(matched, expected);
}

QTEST_GUILESS_MAIN(TestRecordOrder)
#include "tst_record_order.moc"
