// The one yes/no reader and the one date/time reader every layer shares.

#include "common/DateTimeText.h"
#include "common/YesNoText.h"
#include "grid/GridValue.h"

#include <QtTest>

using namespace Ledgerly;

Q_DECLARE_METATYPE(YesNoText::Answer)

class TestValueText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void yesNo_data();
    void yesNo();
    void dateTime_data();
    void dateTime();
    void writtenDatesReadBack_data();
    void writtenDatesReadBack();
};

void TestValueText::yesNo_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("forms");
    QTest::addColumn<YesNoText::Answer>("answer");
    using A = YesNoText::Answer;
    const int all = YesNoText::AnyForm;
    const int strict = YesNoText::TrueFalse;
    QTest::newRow("True any case") << u" tRUE "_qs << strict << A::Yes;
    QTest::newRow("False") << u"False"_qs << strict << A::No;
    QTest::newRow("yes word") << u"yes"_qs << all << A::Yes;
    QTest::newRow("Y") << u"Y"_qs << all << A::Yes;
    QTest::newRow("n") << u"n"_qs << all << A::No;
    QTest::newRow("NO") << u"NO"_qs << all << A::No;
    QTest::newRow("1") << u"1"_qs << all << A::Yes;
    QTest::newRow("-1 as written by older tools") << u"-1"_qs << all << A::Yes;
    QTest::newRow("0.0 is zero") << u"0.0"_qs << all << A::No;
    QTest::newRow("empty is unreadable") << u""_qs << all << A::Unreadable;
    QTest::newRow("other text is unreadable") << u"maybe"_qs << all << A::Unreadable;
    // The save keeps texts like these as they are: the strict reader must not
    // turn them into yes or no.
    QTest::newRow("strict: yes stays unreadable") << u"yes"_qs << strict << A::Unreadable;
    QTest::newRow("strict: 1 stays unreadable") << u"1"_qs << strict << A::Unreadable;
    QTest::newRow("binary: 2 is unreadable")
        << u"2"_qs << int(YesNoText::TrueFalse | YesNoText::Binary) << A::Unreadable;
}

void TestValueText::yesNo()
{
    QFETCH(QString, text);
    QFETCH(int, forms);
    QFETCH(YesNoText::Answer, answer);
    QCOMPARE(YesNoText::read(text, forms), answer);
}

void TestValueText::dateTime_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    const auto at = [](int y, int m, int d, int h = 0, int min = 0) {
        return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC);
    };
    QTest::newRow("US short date") << u"en_US"_qs << u"1/2/2026"_qs << at(2026, 1, 2);
    QTest::newRow("US two-digit year goes to 20xx")
        << u"en_US"_qs << u"1/2/26"_qs << at(2026, 1, 2);
    QTest::newRow("German short date") << u"de_DE"_qs << u"02.01.2026"_qs << at(2026, 1, 2);
    QTest::newRow("ISO date in any locale") << u"de_DE"_qs << u"2026-01-02"_qs << at(2026, 1, 2);
    QTest::newRow("ISO date and time")
        << u"en_US"_qs << u"2026-01-02T10:30:00"_qs << at(2026, 1, 2, 10, 30);
    QTest::newRow("ISO time of day") << u"en_US"_qs << u"10:30"_qs << at(1904, 1, 1, 10, 30);
    QTest::newRow("not a date") << u"en_US"_qs << u"soon"_qs << QDateTime();
    QTest::newRow("impossible day") << u"en_US"_qs << u"2026-02-30"_qs << QDateTime();
}

void TestValueText::dateTime()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    QDateTime out;
    const bool ok = DateTimeText::read(text, &out, QLocale(locale));
    QCOMPARE(ok, expected.isValid());
    if (ok)
        QCOMPARE(out, expected);
}

void TestValueText::writtenDatesReadBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("value");
    for (const QString &name : {u"en_US"_qs, u"de_DE"_qs, u"C"_qs}) {
        QTest::addRow("%s date", qPrintable(name))
            << name << QDateTime(QDate(2031, 12, 24), QTime(0, 0), Qt::UTC);
        QTest::addRow("%s date and time", qPrintable(name))
            << name << QDateTime(QDate(1999, 3, 4), QTime(17, 45), Qt::UTC);
        QTest::addRow("%s time of day", qPrintable(name))
            << name << QDateTime(QDate(1904, 1, 1), QTime(6, 5), Qt::UTC);
    }
}

void TestValueText::writtenDatesReadBack()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, value);
    const QLocale l(locale);
    QDateTime back;
    QVERIFY(DateTimeText::read(DateTimeText::write(value, l), &back, l));
    QCOMPARE(back, value);
    // The cached writer of searches writes the same, from its cache too.
    DateTimeText::Writer writer(l);
    QCOMPARE(writer.write(value), DateTimeText::write(value, l));
    QCOMPARE(writer.write(value.addDays(1)), DateTimeText::write(value.addDays(1), l));
    QCOMPARE(writer.write(value), DateTimeText::write(value, l));
    // The table's reader is the same one.
    QLocale::setDefault(l);
    QDateTime grid;
    QVERIFY(GridValue::parseDateTime(GridValue::formatDateTime(value), &grid));
    QCOMPARE(grid, value);
    QLocale::setDefault(QLocale::c());
}

QTEST_GUILESS_MAIN(TestValueText)
#include "tst_value_text.moc"
