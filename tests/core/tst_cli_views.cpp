#include "PdfText.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "CliRun.h"
#include "DemoHome.h"
#include "TestFiles.h"

using namespace Qt::StringLiterals;

// The table's views and tools on the command line: print with --sort and
// --filter, and sort, find and replace on the demo Expenses database (98
// records, 18 of them Fuel, amounts up to 405.05).
class TestCliViews : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void printTakesTheViews_data();
    void printTakesTheViews();
    void sortFindReplace_data();
    void sortFindReplace();

private:
    CliRun run(const QStringList &args) const;

    QTemporaryDir m_dir;
    QString m_home;
    int m_runs = 0;
};

void TestCliViews::init()
{
    const QString demo = demoHotSyncHome();
    QVERIFY2(!demo.isEmpty(), "the build's demo HotSync home is missing");
    m_home = m_dir.filePath(u"home%1"_s.arg(++m_runs)); // a fresh copy for every row
    QVERIFY(copyTree(demo, m_home));
}

CliRun TestCliViews::run(const QStringList &args) const
{
    return runLedgerlyCli(QStringList{u"--program-folder"_s, QStringLiteral(LEDGERLY_BIN_DIR),
                                      u"--hotsync-home"_s, m_home} +
                          args);
}

void TestCliViews::printTakesTheViews_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("inOrder"); // present, in this order
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<QString>("errorText");

    QTest::newRow("a category, largest amount first")
        << QStringList{u"--filter"_s, u"Category==Fuel"_s, u"--sort"_s, u"Amount:desc"_s} << 0
        << QStringList{u"66.53"_s, u"46.05"_s, u"29.32"_s} << QStringList{u"OfficeWorld"_s}
        << u""_s;
    QTest::newRow("a comparison, grouped")
        << QStringList{u"--filter"_s, u"Amount=>=336.07"_s, u"--group"_s} << 0
        << QStringList{u"Travel"_s, u"405.05"_s, u"336.07"_s, u"Records: 2"_s}
        << QStringList{u"306.26"_s} << u""_s;
    QTest::newRow("two keys, the second breaking ties")
        << QStringList{u"--filter"_s, u"Payee=Northside"_s, u"--sort"_s,
                       u"Category"_s, u"--sort"_s,          u"Amount"_s}
        << 0 << QStringList{u"35.96"_s, u"46.05"_s, u"64.14"_s} << QStringList{u"Harbor Hotel"_s}
        << u""_s;
    QTest::newRow("an unknown sort field writes nothing")
        << QStringList{u"--sort"_s, u"Nope"_s} << 1 << QStringList{} << QStringList{}
        << u"there is no field \"Nope\""_s;
    QTest::newRow("an invalid filter writes nothing")
        << QStringList{u"--filter"_s, u"Amount=/(/"_s} << 1 << QStringList{} << QStringList{}
        << u"Not a valid regular expression"_s;
    QTest::newRow("a filter without a field")
        << QStringList{u"--filter"_s, u"=Fuel"_s} << 1 << QStringList{} << QStringList{}
        << u"does not start with a field"_s;
}

void TestCliViews::printTakesTheViews()
{
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QStringList, inOrder);
    QFETCH(QStringList, absent);
    QFETCH(QString, errorText);
    QVERIFY2(!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty(),
             "pdftotext (Debian poppler-utils) is needed");
    const QString out = m_dir.filePath(u"pages.pdf"_s);
    QFile::remove(out);
    const CliRun result = run(QStringList{u"print"_s, u"Expenses"_s, out} + options);
    QVERIFY2(result.status == status, qPrintable(result.err));
    QVERIFY2(result.err.contains(errorText), qPrintable(result.err));
    QCOMPARE(QFileInfo::exists(out), status == 0);
    if (status != 0)
        return;
    const QString text = pdfText(out);
    qsizetype from = 0;
    for (const QString &word : inOrder) {
        const qsizetype at = text.indexOf(word, from);
        QVERIFY2(at >= 0, qPrintable(word + u" missing or out of order in:\n"_s + text.left(3000)));
        from = at + word.size();
    }
    for (const QString &word : absent)
        QVERIFY2(!text.contains(word), qPrintable(word));
}

void TestCliViews::sortFindReplace_data()
{
    QTest::addColumn<QStringList>("first"); // run before, must succeed; may be empty
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("outText");
    QTest::addColumn<int>("lines"); // lines printed, -1 for any

    QTest::newRow("find prints each matching record once")
        << QStringList{} << QStringList{u"find"_s, u"Expenses"_s, u"northside"_s} << 0
        << u"Record\tDate\tPayee\tCategory\tAmount\tPaid"_s << 7;
    QTest::newRow("find in one field")
        << QStringList{} << QStringList{u"find"_s,    u"Expenses"_s, u"Fuel"_s,
                                        u"--field"_s, u"Category"_s, u"--whole-cell"_s}
        << 0 << u"\tFuel\t"_s << 19;
    QTest::newRow("find with a regular expression")
        << QStringList{} << QStringList{u"find"_s, u"Expenses"_s, u"^40\\d\\."_s, u"--regex"_s} << 0
        << u"Harbor Hotel"_s << 2;
    QTest::newRow("find nothing exits 1")
        << QStringList{} << QStringList{u"find"_s, u"Expenses"_s, u"zzz"_s} << 1 << u""_s << 0;
    QTest::newRow("find with a broken expression exits 1")
        << QStringList{} << QStringList{u"find"_s, u"Expenses"_s, u"(x"_s, u"--regex"_s} << 1
        << u""_s << 0;
    QTest::newRow("find in an unknown field exits 1")
        << QStringList{} << QStringList{u"find"_s, u"Expenses"_s, u"x"_s, u"--field"_s, u"No"_s}
        << 1 << u""_s << 0;
    QTest::newRow("sort stores the records in order")
        << QStringList{u"sort"_s, u"Expenses"_s, u"Amount:desc"_s}
        << QStringList{u"find"_s, u"Expenses"_s, u"405.05"_s} << 0 << u"\n1\t"_s << 2;
    QTest::newRow("sort by a field that is not there")
        << QStringList{} << QStringList{u"sort"_s, u"Expenses"_s, u"Nope"_s} << 1 << u""_s << 0;
    QTest::newRow("sort without a field is a usage error")
        << QStringList{} << QStringList{u"sort"_s, u"Expenses"_s} << 2 << u""_s << 0;
    QTest::newRow("replace saves what it changed")
        << QStringList{u"replace"_s, u"Expenses"_s, u"Fuel"_s,        u"Petrol"_s,
                       u"--field"_s, u"Category"_s, u"--whole-cell"_s}
        << QStringList{u"find"_s, u"Expenses"_s, u"Petrol"_s, u"--field"_s, u"Category"_s} << 0
        << u"\tPetrol\t"_s << 19;
    QTest::newRow("replace counts cells that would not read")
        << QStringList{} << QStringList{u"replace"_s, u"Expenses"_s, u"False"_s,       u"maybe"_s,
                                        u"--field"_s, u"Paid"_s,     u"--whole-cell"_s}
        << 0 << u"Replaced 0 cell(s); 7 skipped"_s << 1;
}

void TestCliViews::sortFindReplace()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, outText);
    QFETCH(int, lines);
    if (!first.isEmpty()) {
        const CliRun before = run(first);
        QVERIFY2(before.status == 0, qPrintable(before.err));
    }
    const CliRun result = run(args);
    QVERIFY2(result.status == status, qPrintable(result.err + result.out));
    QVERIFY2(result.out.contains(outText), qPrintable(result.out));
    if (status != 0)
        QVERIFY(!result.err.isEmpty());
    if (lines >= 0)
        QCOMPARE(result.out.count(u'\n'), lines);
}

QTEST_GUILESS_MAIN(TestCliViews)
#include "tst_cli_views.moc"
