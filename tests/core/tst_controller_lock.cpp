#include "CliRun.h"
#include "RoundtripFixture.h"

#include "database/FieldType.h"
#include "grid/TableEditor.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Ledgerly;

// The lock the window's controller holds on its open database: a second
// program that wants the same file is told who holds it and changes nothing.
class TestControllerLock : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void secondControllerIsRefused_data();
    void secondControllerIsRefused();
    void saveAsOntoAHeldFileIsRefused();
    void reopeningTheSameFileKeepsTheLock();
    void commandLineRefusedWhileTheWindowHoldsTheFile_data();
    void commandLineRefusedWhileTheWindowHoldsTheFile();
};

namespace {

const QList<SchemaField> kFields = {
    {QStringLiteral("Name"), FieldText, QStringLiteral("Name"), QStringLiteral("False")},
    {QStringLiteral("Done"), FieldYesNo, QStringLiteral("Done"), QStringLiteral("False")}};

// Sections Log and Other, each with one record, and the controller on Log.
void openLog(RoundtripFixture &fx)
{
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Log"), kFields) +
                   RoundtripFixture::section(QStringLiteral("Other"), kFields));
    fx.writeDatabase(QStringLiteral("Log"), kFields, {{QStringLiteral("log"), true}});
    fx.writeDatabase(QStringLiteral("Other"), kFields, {{QStringLiteral("other"), false}});
    fx.open(QStringLiteral("Log"));
    QVERIFY(fx.controller->loadCompleted());
}

// A second window on the same program folder and HotSync home.
struct SecondWindow
{
    explicit SecondWindow(RoundtripFixture &fx)
        : controller({*fx.server, *fx.settings, prompter, *fx.registry, fx.launcher})
    {
        controller.state().ProgramFolder = fx.state().ProgramFolder;
        controller.state().AppName = fx.state().AppName;
        controller.users().useUser(fx.controller->PalmUser());
        controller.BuildCatalogue();
    }

    bool open(const QString &section)
    {
        return controller.openSection(int(controller.catalogue().sections().indexOf(section)));
    }

    ScriptedPrompter prompter;
    MainController controller;
};

void verifyRefusal(const ScriptedPrompter &prompter)
{
    QCOMPARE(prompter.messages.size(), 1);
    const QString text = prompter.messages.at(0).text;
    QVERIFY2(text.contains(QStringLiteral("in use by")), qPrintable(text));
    QVERIFY2(text.contains(QString::number(QCoreApplication::applicationPid())), qPrintable(text));
}

} // namespace

void TestControllerLock::secondControllerIsRefused_data()
{
    QTest::addColumn<bool>("firstEdited");
    QTest::newRow("first window unedited") << false;
    QTest::newRow("first window with unsaved edits") << true;
}

void TestControllerLock::secondControllerIsRefused()
{
    QFETCH(bool, firstEdited);
    RoundtripFixture fx;
    openLog(fx);
    if (firstEdited)
        fx.grid().setCell(0, 1, QStringLiteral("edited"));
    const QString path = fx.pdbPath(QStringLiteral("Log"));
    const QByteArray before = readFile(path);

    SecondWindow second(fx);
    QVERIFY(second.open(QStringLiteral("Other")));
    QVERIFY(!second.open(QStringLiteral("Log")));
    verifyRefusal(second.prompter);
    // The refused window keeps what it had open, and a save of it writes its
    // own file, never the held one.
    QCOMPARE(second.controller.CurrentPath(), fx.pdbPath(QStringLiteral("Other")));
    QCOMPARE(second.controller.grid().cell(0, 1).toString(), QStringLiteral("other"));
    second.controller.document().editor().editCell(0, 1, QStringLiteral("second"));
    QVERIFY(second.controller.SaveDatabase());
    QCOMPARE(readFile(path), before);
    QCOMPARE(fx.read(fx.pdbPath(QStringLiteral("Other")))->Table().Record(0).value(0),
             QVariant(QStringLiteral("second")));

    // The first window goes on as before and can save its table.
    QVERIFY(fx.controller->SaveDatabase());
    QCOMPARE(fx.read(path)->Table().Record(0).value(0),
             QVariant(firstEdited ? QStringLiteral("edited") : QStringLiteral("log")));

    // Once the first window lets go of its file, the second may open it.
    fx.controller.reset();
    QVERIFY(second.open(QStringLiteral("Log")));
    QCOMPARE(second.prompter.messages.size(), 1);
    QCOMPARE(fx.prompter.messages.size(), 0);
}

void TestControllerLock::saveAsOntoAHeldFileIsRefused()
{
    RoundtripFixture fx;
    openLog(fx);
    const QString log = fx.pdbPath(QStringLiteral("Log"));
    const QByteArray before = readFile(log);
    SecondWindow second(fx);
    QVERIFY(second.open(QStringLiteral("Other")));
    second.prompter.fileAnswers.enqueue(log);
    second.controller.SaveDatabaseAs();
    verifyRefusal(second.prompter);
    QCOMPARE(readFile(log), before);
    QCOMPARE(second.controller.CurrentPath(), fx.pdbPath(QStringLiteral("Other")));

    // A copy to a free name is made, and from then on that file is held.
    const QString copy = fx.userFolder() + QStringLiteral("/Copy.pdb");
    second.prompter.fileAnswers.enqueue(copy);
    second.controller.SaveDatabaseAs();
    QCOMPARE(second.controller.CurrentPath(), copy);
    QVERIFY(QFileInfo::exists(copy));
    QVERIFY(!DatabaseLock::acquire(copy).isLocked());
    QVERIFY(DatabaseLock::acquire(fx.pdbPath(QStringLiteral("Other"))).isLocked());
}

void TestControllerLock::reopeningTheSameFileKeepsTheLock()
{
    RoundtripFixture fx;
    openLog(fx);
    fx.open(QStringLiteral("Log"));
    QVERIFY(fx.controller->loadCompleted());
    QCOMPARE(fx.prompter.messages.size(), 0);
    QVERIFY(!DatabaseLock::acquire(fx.pdbPath(QStringLiteral("Log"))).isLocked());
}

void TestControllerLock::commandLineRefusedWhileTheWindowHoldsTheFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("status");
    QTest::newRow("resave changes it") << QStringLiteral("resave") << 1;
    QTest::newRow("export only reads it") << QStringLiteral("export") << 0;
}

void TestControllerLock::commandLineRefusedWhileTheWindowHoldsTheFile()
{
    QFETCH(QString, command);
    QFETCH(int, status);
    RoundtripFixture fx;
    openLog(fx);
    QVERIFY(writeFile(fx.programFolder() + QStringLiteral("/Ledgerly.ini"),
                      "[DesktopName]\r\nDesktopName=Testledger\r\n"));
    const QString path = fx.pdbPath(QStringLiteral("Log"));
    const QByteArray before = readFile(path);
    QStringList args{QStringLiteral("--program-folder"),
                     fx.programFolder(),
                     QStringLiteral("--hotsync-home"),
                     QFileInfo(fx.userFolder()).absolutePath(),
                     command,
                     QStringLiteral("Log")};
    if (command == QLatin1String("export"))
        args << fx.programFolder() + QStringLiteral("/log.csv");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), fx.programFolder() + QStringLiteral("/config"));
    const CliRun run = runLedgerlyCli(args, env);
    QCOMPARE(run.status, status);
    if (status != 0) {
        QVERIFY2(run.err.contains(QStringLiteral("in use by")), qPrintable(run.err));
        QVERIFY2(run.err.contains(QString::number(QCoreApplication::applicationPid())),
                 qPrintable(run.err));
    }
    QCOMPARE(readFile(path), before);
}

QTEST_GUILESS_MAIN(TestControllerLock)
#include "tst_controller_lock.moc"
