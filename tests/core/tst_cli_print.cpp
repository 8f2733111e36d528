#include "PdfText.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "CliRun.h"
#include "DemoHome.h"
#include "TestFiles.h"

using namespace Qt::StringLiterals;

class TestCliPrint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void printWritesThePages_data();
    void printWritesThePages();
};

void TestCliPrint::printWritesThePages_data()
{
    QTest::addColumn<QStringList>("args"); // OUT stands for the output file
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<QString>("errorText");

    const QStringList expenses{u"Expenses"_s, u"Payee"_s, u"Amount"_s, u"Category"_s, u"Fuel"_s,
                               u"46.05"_s,    u"87.21"_s, u"True"_s,   u"Page 1 of"_s};
    const QStringList hidden{u"Full tank"_s, u"Desk lamp bulb"_s};
    QTest::newRow("visible captions and values, not the hidden column")
        << QStringList{u"print"_s, u"Expenses"_s, u"OUT"_s} << 0 << expenses << hidden << "";
    QTest::newRow("landscape") << QStringList{u"print"_s, u"Expenses"_s, u"OUT"_s, u"--landscape"_s}
                               << 0 << expenses << hidden << "";
    QTest::newRow("grouped pages carry the group footers")
        << QStringList{u"print"_s, u"expenses"_s, u"OUT"_s, u"--group"_s} << 0
        << expenses + QStringList{u"Calculated Values for"_s, u"Total:"_s} << hidden << "";
    QTest::newRow("user named") << QStringList{u"print"_s, u"Mileage"_s, u"OUT"_s, u"--user"_s,
                                               u"Demo User"_s}
                                << 0 << QStringList{u"Mileage Log"_s, u"Corolla"_s} << QStringList{}
                                << "";
    QTest::newRow("unknown section writes nothing")
        << QStringList{u"print"_s, u"Nowhere"_s, u"OUT"_s} << 1 << QStringList{} << QStringList{}
        << "Nowhere";
    QTest::newRow("missing output is a usage error")
        << QStringList{u"print"_s, u"Expenses"_s} << 2 << QStringList{} << QStringList{} << "";
}

void TestCliPrint::printWritesThePages()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    QFETCH(QString, errorText);
    const QString demo = demoHotSyncHome();
    QVERIFY2(!demo.isEmpty(), "the build's demo HotSync home is missing");
    QVERIFY2(!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty(),
             "pdftotext (Debian poppler-utils) is needed");
    QTemporaryDir dir;
    const QString home = dir.filePath(u"home"_s);
    QVERIFY(copyTree(demo, home));
    const QString out = dir.filePath(u"pages.pdf"_s);
    args.replaceInStrings(u"OUT"_s, out);

    const CliRun run =
        runLedgerlyCli(QStringList{u"--program-folder"_s, QStringLiteral(LEDGERLY_BIN_DIR),
                                   u"--hotsync-home"_s, home} +
                       args);
    QVERIFY2(run.status == status, qPrintable(run.err));
    QVERIFY2(run.err.contains(errorText), qPrintable(run.err));
    QCOMPARE(QFileInfo::exists(out), status == 0);
    if (status != 0)
        return;
    const QString text = pdfText(out);
    for (const QString &word : present)
        QVERIFY2(text.contains(word), qPrintable(word + u" missing from:\n"_s + text.left(2000)));
    for (const QString &word : absent)
        QVERIFY2(!text.contains(word), qPrintable(word));
}

QTEST_GUILESS_MAIN(TestCliPrint)
#include "tst_cli_print.moc"
