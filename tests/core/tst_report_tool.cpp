#include "app/ReportTool.h"
#include "app/SettingsStore.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "RecordingLauncher.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

struct ToolFixture
{
    QTemporaryDir dir;
    QString programFolder;
    QSettingsStore settings;
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    ReportTool tool;

    explicit ToolFixture(const QByteArray &reports)
        : programFolder(dir.filePath(u"Program Files/Ledgerly"_s))
        , settings(dir.filePath(u"settings"_s))
        , tool(programFolder, settings, prompter, launcher)
    {
        QDir().mkpath(programFolder);
        writeFile(programFolder + u"/Ledgerly.ini"_s, "[Reports]\r\n" + reports);
    }

    void setUpTool(const QString &application)
    {
        settings.setValue(application, u"General"_s, u"User"_s, u"Ann"_s);
    }
};

const QByteArray externalTool = "ReportSoftware=Kest\r\nKestReportsLocation=/opt/Kest Tools/rep\r\n"
                                "ReportsName=My Sales.rpt\r\n";

} // namespace

class TestReportTool : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void commandLines_data();
    void commandLines();
    void printPreviewDecision_data();
    void printPreviewDecision();
    void reportsStartsWithoutPresenceTest();
    void settingsAreReadAfreshEachTime();
    void toolThatCannotStartIsReported_data();
    void toolThatCannotStartIsReported();
};

void TestReportTool::commandLines_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("report");
    QTest::addColumn<int>("chooserIndex");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<QStringList>("preview");

    QTest::newRow("the tool's own example, second database")
        << "C:\\Tools\\rep.exe"
        << "P"
        << "Sales.rpt" << 1
        << QStringList{u"C:\\Tools\\rep.exe"_s, u"P/Sales.rpt"_s, u"/V"_s, u"/A+"_s}
        << QStringList{u"C:\\Tools\\rep.exe"_s, u"/A-"_s, u"P/Sales.rpt"_s, u"/V2"_s, u"/A+"_s};
    QTest::newRow("nothing selected is database 0")
        << "/usr/bin/rep"
        << "/opt/ledgerly"
        << "r.rpt" << -1
        << QStringList{u"/usr/bin/rep"_s, u"/opt/ledgerly/r.rpt"_s, u"/V"_s, u"/A+"_s}
        << QStringList{u"/usr/bin/rep"_s, u"/A-"_s, u"/opt/ledgerly/r.rpt"_s, u"/V0"_s, u"/A+"_s};
    QTest::newRow("blanks stay inside one argument")
        << "/opt/Kest Tools/rep"
        << "/home/a b/prog"
        << "My Sales.rpt" << 11
        << QStringList{u"/opt/Kest Tools/rep"_s, u"/home/a b/prog/My Sales.rpt"_s, u"/V"_s,
                       u"/A+"_s}
        << QStringList{u"/opt/Kest Tools/rep"_s, u"/A-"_s, u"/home/a b/prog/My Sales.rpt"_s,
                       u"/V12"_s, u"/A+"_s};
}

void TestReportTool::commandLines()
{
    QFETCH(QString, location);
    QFETCH(QString, folder);
    QFETCH(QString, report);
    QFETCH(int, chooserIndex);
    QFETCH(QStringList, reports);
    QFETCH(QStringList, preview);
    ReportTool::Settings settings;
    settings.KestReportsLocation = location;
    settings.ReportsName = report;
    const ReportTool::CommandLine r = ReportTool::reportsCommand(settings, folder);
    QCOMPARE(QStringList{r.program} + r.arguments, reports);
    const ReportTool::CommandLine p = ReportTool::previewCommand(settings, folder, chooserIndex);
    QCOMPARE(QStringList{p.program} + p.arguments, preview);
}

void TestReportTool::printPreviewDecision_data()
{
    QTest::addColumn<QByteArray>("reports");
    QTest::addColumn<QStringList>("toolsSetUp");
    QTest::addColumn<bool>("fromToolbar");
    QTest::addColumn<int>("outcome");

    const int show = int(ReportTool::Outcome::ShowPreview);
    const int started = int(ReportTool::Outcome::Started);
    const int missing = int(ReportTool::Outcome::MissingFile);
    QTest::newRow("Viewer shows the preview")
        << QByteArray("ReportSoftware=Viewer\r\n") << QStringList{} << false << show;
    QTest::newRow("viewer in small letters too")
        << QByteArray("ReportSoftware=viewer\r\n") << QStringList{} << true << show;
    QTest::newRow("no tool set up: Missing File")
        << externalTool << QStringList{} << false << missing;
    QTest::newRow("designer set up")
        << externalTool << QStringList{u"KestReports"_s} << false << started;
    QTest::newRow("viewer tool set up")
        << externalTool << QStringList{u"KestViewer"_s} << false << started;
    QTest::newRow("toolbar starts without presence test")
        << externalTool << QStringList{} << true << started;
    QTest::newRow("no setting at all means the external tool")
        << QByteArray("KestReportsLocation=/x/rep\r\n") << QStringList{} << true << started;
}

void TestReportTool::printPreviewDecision()
{
    QFETCH(QByteArray, reports);
    QFETCH(QStringList, toolsSetUp);
    QFETCH(bool, fromToolbar);
    QFETCH(int, outcome);
    ToolFixture f(reports);
    for (const QString &tool : toolsSetUp)
        f.setUpTool(tool);

    QCOMPARE(int(f.tool.PrintPreview_Click(2, fromToolbar)), outcome);

    if (outcome == int(ReportTool::Outcome::Started)) {
        QCOMPARE(f.launcher.programs.size(), 1);
        QCOMPARE(f.launcher.arguments.first().value(2), u"/V3"_s);
        QVERIFY(f.prompter.messages.isEmpty());
    } else {
        QVERIFY(f.launcher.programs.isEmpty());
    }
    if (outcome == int(ReportTool::Outcome::MissingFile)) {
        QCOMPARE(f.prompter.messages.size(), 1);
        const ScriptedPrompter::Message &m = f.prompter.messages.first();
        QCOMPARE(m.title, u"Missing File"_s);
        QCOMPARE(m.buttons, Prompter::Buttons::Ok);
        QCOMPARE(m.text, u"Please Install The Latest version of KestReports or KestViewer From "_s +
                             ReportTool::defaultDownloadPage + u" "_s);
    }
    if (outcome == int(ReportTool::Outcome::ShowPreview))
        QVERIFY(f.prompter.messages.isEmpty());
}

void TestReportTool::reportsStartsWithoutPresenceTest()
{
    ToolFixture f(externalTool + "DownloadPage=https://example.org/kest\r\n");
    QCOMPARE(f.tool.Reports_Click(), ReportTool::Outcome::Started);
    QCOMPARE(f.launcher.programs, QStringList{u"/opt/Kest Tools/rep"_s});
    QCOMPARE(f.launcher.arguments.first(),
             (QStringList{f.programFolder + u"/My Sales.rpt"_s, u"/V"_s, u"/A+"_s}));
    QCOMPARE(ReportTool::missingFileText(ReportTool::readSettings(f.programFolder)),
             u"Please Install The Latest version of KestReports or KestViewer From "
             "https://example.org/kest "_s);
}

void TestReportTool::settingsAreReadAfreshEachTime()
{
    ToolFixture f("ReportSoftware=Viewer\r\nKestReportsLocation=/x/rep\r\n");
    QCOMPARE(f.tool.PrintPreview_Click(0, true), ReportTool::Outcome::ShowPreview);
    QVERIFY(writeFile(f.programFolder + u"/Ledgerly.ini"_s,
                      "[Reports]\r\nReportSoftware=Kest\r\nKestReportsLocation=/x/rep\r\n"));
    QCOMPARE(f.tool.PrintPreview_Click(0, true), ReportTool::Outcome::Started);
}

void TestReportTool::toolThatCannotStartIsReported_data()
{
    QTest::addColumn<QByteArray>("reports");
    QTest::addColumn<bool>("launcherWorks");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty location, Reports")
        << QByteArray("ReportsName=r.rpt\r\n") << true << "reports"
        << "KestReportsLocation";
    QTest::newRow("empty location, toolbar")
        << QByteArray("ReportsName=r.rpt\r\n") << true << "toolbar"
        << "KestReportsLocation";
    QTest::newRow("launcher fails, Reports") << externalTool << false << "reports"
                                             << "\"/opt/Kest Tools/rep\"";
    QTest::newRow("launcher fails, menu Print Preview") << externalTool << false << "menu"
                                                        << "cannot start";
}

void TestReportTool::toolThatCannotStartIsReported()
{
    QFETCH(QByteArray, reports);
    QFETCH(bool, launcherWorks);
    QFETCH(QString, command);
    QFETCH(QString, expected);
    ToolFixture f(reports);
    f.setUpTool(u"KestReports"_s);
    f.launcher.succeed = launcherWorks;
    const ReportTool::Outcome outcome = command == u"reports"_s
                                            ? f.tool.Reports_Click()
                                            : f.tool.PrintPreview_Click(0, command == u"toolbar"_s);
    QCOMPARE(outcome, ReportTool::Outcome::NotStarted);
    QCOMPARE(f.prompter.messages.size(), 1);
    const QString text = f.prompter.messages.first().text;
    QVERIFY2(text.contains(command == u"reports"_s ? u"Reports"_s : u"Print Preview"_s),
             qPrintable(text));
    QVERIFY2(text.contains(expected), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestReportTool)
#include "tst_report_tool.moc"
