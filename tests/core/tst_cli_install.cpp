#include "CliRun.h"
#include "RoundtripFixture.h"
#include "database/FieldType.h"
#include "database/HotSyncHome.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Ledgerly;

namespace {

const QList<SchemaField> kFields = {
    {QStringLiteral("Item"), FieldText, QStringLiteral("Item"), QStringLiteral("False")}};

// What a user's install queue holds: file names and their bytes.
QMap<QString, QByteArray> queued(const QString &userFolder)
{
    QMap<QString, QByteArray> files;
    const QDir install(userFolder + QStringLiteral("/Install"));
    for (const QString &name : install.entryList(QDir::Files)) {
        QFile file(install.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, file.readAll());
    }
    return files;
}

} // namespace

class TestCliInstall : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void installQueuesAsTheWindowDoes();
    void installRefuses_data();
    void installRefuses();
};

void TestCliInstall::installQueuesAsTheWindowDoes()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Log"), kFields));
    fx.writeDatabase(QStringLiteral("Log"), kFields, {{QStringLiteral("a")}});
    const QString home = fx.server->hotSyncHome();
    const QString marker = QFileInfo(home).dir().filePath(QStringLiteral("started"));
    {
        HotSyncHome hotSync(home);
        hotSync.load();
        hotSync.installCommand = QStringLiteral("/bin/sh -c \"echo started > '%1'\"").arg(marker);
        hotSync.save();
    }

    // The window's Install on the open database.
    fx.open(QStringLiteral("Log"));
    QVERIFY(fx.controller->Install_Click());
    const QMap<QString, QByteArray> byWindow = queued(fx.userFolder());
    QCOMPARE(byWindow.keys(), QStringList{QStringLiteral("Log.pdb")});
    QCOMPARE(fx.launcher.programs, QStringList{QStringLiteral("/bin/sh")});
    QVERIFY(QDir(fx.userFolder() + QStringLiteral("/Install")).removeRecursively());

    // The command line, for the same user spelt another way.
    const CliRun run =
        runLedgerlyCli({QStringLiteral("--program-folder"), fx.programFolder(),
                        QStringLiteral("--hotsync-home"), home, QStringLiteral("install"),
                        QStringLiteral("Log"), QStringLiteral("--user"), QStringLiteral("ALICE")});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.trimmed(), fx.pdbPath(QStringLiteral("Log")));
    QCOMPARE(queued(fx.userFolder()), byWindow);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000); // the install command ran
}

void TestCliInstall::installRefuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("an unknown section")
        << QStringList{QStringLiteral("Nope")} << QStringLiteral("no section \"Nope\"");
    QTest::newRow("a section whose file is missing")
        << QStringList{QStringLiteral("Empty")} << QStringLiteral("does not exist");
    QTest::newRow("an unknown user")
        << QStringList{QStringLiteral("Log"), QStringLiteral("--user"), QStringLiteral("Ghost")}
        << QStringLiteral("There is no HotSync user \"Ghost\"");
}

void TestCliInstall::installRefuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Log"), kFields) +
                   RoundtripFixture::section(QStringLiteral("Empty"), kFields));
    fx.writeDatabase(QStringLiteral("Log"), kFields, {{QStringLiteral("a")}});
    const CliRun run =
        runLedgerlyCli(QStringList{QStringLiteral("--program-folder"), fx.programFolder(),
                                   QStringLiteral("--hotsync-home"), fx.server->hotSyncHome(),
                                   QStringLiteral("install")} +
                       arguments);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(queued(fx.userFolder()).isEmpty());
}

QTEST_GUILESS_MAIN(TestCliInstall)
#include "tst_cli_install.moc"
