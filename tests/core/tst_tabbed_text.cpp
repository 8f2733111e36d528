#include "TestValues.h"
#include "grid/AutoFill.h"
#include "grid/TabbedText.h"

#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

using Lines = QList<QStringList>;

class TestTabbedText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void writeReadsBack_data();
    void writeReadsBack();
    void htmlEscapes();
    void autoFill_data();
    void autoFill();
    void autoFillKeys_data();
    void autoFillKeys();
};

void TestTabbedText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isDrop");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<Lines>("lines");

    const Lines two{L({"a", "b"}), L({"c", "d"})};
    QTest::newRow("drop: CR LF between two lines") << u"a\tb\r\nc\td"_s << true << false << two;
    QTest::newRow("drop: final CR LF gives an empty line")
        << u"a\tb\r\nc\td\r\n"_s << true << false << (Lines{two.at(0), two.at(1), L({""})});
    QTest::newRow("drop: LF alone") << u"a\tb\nc\td"_s << true << false << two;
    QTest::newRow("drop: a lone CR stays in the field")
        << u"a\rb"_s << true << false << Lines{QStringList{u"a\rb"_s}};
    QTest::newRow("drop: quotes are plain characters")
        << u"\"a\tb\""_s << true << false << Lines{L({"\"a", "b\""})};
    QTest::newRow("drop: empty fields kept")
        << u"\t\t"_s << true << false << Lines{L({"", "", ""})};
    QTest::newRow("paste: final break ignored") << u"a\tb\r\nc\td\r\n"_s << false << true << two;
    QTest::newRow("paste: quoted tab, line break and quote")
        << u"\"x\ty\r\nz \"\"q\"\"\"\tw\n"_s << false << true
        << Lines{QStringList{u"x\ty\r\nz \"q\""_s, u"w"_s}};
    QTest::newRow("paste: unterminated quote reads to the end")
        << u"\"abc\td"_s << false << true << Lines{QStringList{u"abc\td"_s}};
    QTest::newRow("paste: only a line break") << u"\r\n"_s << false << true << Lines{L({""})};
}

void TestTabbedText::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, isDrop);
    QFETCH(bool, quoted);
    const auto finalBreak =
        isDrop ? TabbedText::FinalBreak::AddsEmptyLine : TabbedText::FinalBreak::Ignored;
    QTEST(TabbedText::parse(text, finalBreak, quoted), "lines");
}

void TestTabbedText::writeReadsBack_data()
{
    QTest::addColumn<Lines>("rows");
    QTest::newRow("plain") << Lines{L({"a", "b"}), L({"", "c"})};
    QTest::newRow("tab, line breaks, quotes")
        << Lines{L({"a\tb", "one\ntwo", "\"quoted\"", "mid\"dle"}), L({"x\r\ny", "", "", ""})};
}

void TestTabbedText::writeReadsBack()
{
    QFETCH(Lines, rows);
    const QString text = TabbedText::write(rows);
    QVERIFY(text.endsWith(u"\r\n"_s));
    QCOMPARE(TabbedText::parse(text, TabbedText::FinalBreak::Ignored, true), rows);
}

void TestTabbedText::htmlEscapes()
{
    const QString html = TabbedText::writeHtml({L({"<b>&", "x\ny"})});
    QCOMPARE(html, u"<table><tr><td>&lt;b&gt;&amp;</td><td>x<br>y</td></tr></table>"_s);
}

void TestTabbedText::autoFill_data()
{
    QTest::addColumn<QStringList>("above");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("completed"); // empty: no completion
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");

    const QStringList fruit = L({"Apple", "apricot", "Banana"});
    QTest::newRow("the topmost match wins") << fruit << u"ap"_s << u"Apple"_s << 2 << 3;
    QTest::newRow("case is ignored, the stored value kept")
        << fruit << u"AP"_s << u"Apple"_s << 2 << 3;
    QTest::newRow("a longer start finds the later row")
        << fruit << u"apr"_s << u"apricot"_s << 3 << 4;
    QTest::newRow("the whole value typed selects nothing")
        << fruit << u"banana"_s << u"Banana"_s << 6 << 0;
    QTest::newRow("no row starts so") << fruit << u"ch"_s << QString() << 0 << 0;
    QTest::newRow("longer than every value") << fruit << u"apples"_s << QString() << 0 << 0;
    QTest::newRow("nothing typed completes nothing") << fruit << QString() << QString() << 0 << 0;
    QTest::newRow("no rows above") << QStringList() << u"ap"_s << QString() << 0 << 0;
}

void TestTabbedText::autoFill()
{
    QFETCH(QStringList, above);
    QFETCH(QString, typed);
    QFETCH(QString, completed);
    const auto match =
        AutoFill::complete(typed, int(above.size()), [&above](int row) { return above.at(row); });
    QCOMPARE(match.has_value(), !completed.isEmpty());
    if (!match)
        return;
    QCOMPARE(match->text, completed);
    QTEST(match->selectionStart, "start");
    QTEST(match->selectionLength, "length");
}

void TestTabbedText::autoFillKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("completes");
    QTest::newRow("A") << int(Qt::Key_A) << true;
    QTest::newRow("Z") << int(Qt::Key_Z) << true;
    QTest::newRow("digit") << int(Qt::Key_1) << false;
    QTest::newRow("space") << int(Qt::Key_Space) << false;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << false;
    QTest::newRow("left arrow") << int(Qt::Key_Left) << false;
}

void TestTabbedText::autoFillKeys()
{
    QFETCH(int, key);
    QTEST(AutoFill::completesOn(key), "completes");
}

QTEST_GUILESS_MAIN(TestTabbedText)
#include "tst_tabbed_text.moc"
