// Who may change a database: one program at a time, and only in the folder of
// the user it was asked for.

#include "CliRun.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include "database/DatabaseLock.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"
#include "exchange/CsvNaming.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/file.h>
#include <unistd.h>

using namespace Ledgerly;

class TestDatabaseLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void secondHolderIsRefusedWithTheHolderNamed();
    void everyNameOfTheFileMeetsOneLock();
    void lockOfAVanishedProcessIsTakenOver_data();
    void lockOfAVanishedProcessIsTakenOver();
    void emptyLockOfALiveProgramIsRefused();
    void lockLivesBesideTheDatabase_data();
    void lockLivesBesideTheDatabase();
    void lockThatCannotBeMadeIsAClearError_data();
    void lockThatCannotBeMadeIsAClearError();
    void lockIsSeenInEveryEnvironment_data();
    void lockIsSeenInEveryEnvironment();
    void userNamesMatchIgnoringCase_data();
    void userNamesMatchIgnoringCase();
    void unknownUserHasNoFolder();
    void csvNameChangesOnlyTheFileName_data();
    void csvNameChangesOnlyTheFileName();
    void bitmapNamesMustFit_data();
    void bitmapNamesMustFit();
};

void TestDatabaseLock::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("lock-test"));
}

void TestDatabaseLock::secondHolderIsRefusedWithTheHolderNamed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mileage.pdb"));
    DatabaseLock first = DatabaseLock::acquire(path);
    QVERIFY2(first.isLocked(), qPrintable(first.error()));
    const DatabaseLock second = DatabaseLock::acquire(path);
    QVERIFY(!second.isLocked());
    QVERIFY2(second.error().contains(u"lock-test"_qs), qPrintable(second.error()));
    QVERIFY2(second.error().contains(QString::number(QCoreApplication::applicationPid())),
             qPrintable(second.error()));
    QVERIFY(second.error().contains(u"Mileage.pdb"_qs));
    first.release();
    QVERIFY(DatabaseLock::acquire(path).isLocked());
}

void TestDatabaseLock::everyNameOfTheFileMeetsOneLock()
{
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("a/b"))));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("a/Data.pdb")), "x"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("a/Data.pdb")),
                        dir.filePath(QStringLiteral("Link.pdb"))));
    const DatabaseLock held = DatabaseLock::acquire(dir.filePath(QStringLiteral("a/Data.pdb")));
    QVERIFY(held.isLocked());
    QVERIFY(!DatabaseLock::acquire(dir.filePath(QStringLiteral("a/b/../Data.pdb"))).isLocked());
    QVERIFY(!DatabaseLock::acquire(dir.filePath(QStringLiteral("Link.pdb"))).isLocked());
    // Another file of the same name elsewhere is another database.
    QVERIFY(DatabaseLock::acquire(dir.filePath(QStringLiteral("a/b/Data.pdb"))).isLocked());
}

void TestDatabaseLock::lockOfAVanishedProcessIsTakenOver_data()
{
    QTest::addColumn<QByteArray>("content");
    // A crashed program's lock: a process id nobody has.
    QTest::newRow("process gone") << "2147483000\nledgerly-cli\n" +
                                         QSysInfo::machineHostName().toUtf8() + "\n";
    // A program killed after making its lock file and before writing into it.
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("unreadable") << QByteArray("\x01\x02");
}

void TestDatabaseLock::lockOfAVanishedProcessIsTakenOver()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Old.pdb"));
    const QString lockPath = DatabaseLock::lockFilePathFor(path);
    QVERIFY(QDir().mkpath(QFileInfo(lockPath).absolutePath()));
    QVERIFY(writeFile(lockPath, content));
    DatabaseLock lock = DatabaseLock::acquire(path);
    QVERIFY2(lock.isLocked(), qPrintable(lock.error()));
    // Taken over, it is held like any other.
    QVERIFY(!DatabaseLock::acquire(path).isLocked());
}

void TestDatabaseLock::emptyLockOfALiveProgramIsRefused()
{
    // A program that has made its lock file and not yet written into it
    // holds the file locked: that lock is not taken over.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Busy.pdb"));
    QFile held(DatabaseLock::lockFilePathFor(path));
    QVERIFY(held.open(QIODevice::WriteOnly));
    QCOMPARE(::flock(held.handle(), LOCK_EX | LOCK_NB), 0);
    QVERIFY(!DatabaseLock::acquire(path).isLocked());
    QVERIFY(held.exists());
}

void TestDatabaseLock::lockLivesBesideTheDatabase_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("lock"); // empty: too long to keep whole
    QTest::newRow("plain name") << u"Mileage.pdb"_qs << u".Mileage.pdb.lock"_qs;
    QTest::newRow("blanks and accents") << u"Caf\u00e9 Log.PDB"_qs << u".Caf\u00e9 Log.PDB.lock"_qs;
    QTest::newRow("name that just fits")
        << QString(238, u'n') + u".pdb"_qs << u"."_qs + QString(238, u'n') + u".pdb.lock"_qs;
    QTest::newRow("name one byte longer") << QString(239, u'n') + u".pdb"_qs << QString();
    QTest::newRow("long name of wide letters") << QString(120, u'\u00e9') + u".pdb"_qs << QString();
}

void TestDatabaseLock::lockLivesBesideTheDatabase()
{
    QFETCH(QString, database);
    QFETCH(QString, lock);
    QTemporaryDir dir;
    const QString path = dir.filePath(database);
    const QFileInfo found(DatabaseLock::lockFilePathFor(path));
    QCOMPARE(found.absolutePath(), QFileInfo(dir.path()).canonicalFilePath());
    if (!lock.isEmpty()) {
        QCOMPARE(found.fileName(), lock);
    } else {
        // Shortened so that QLockFile's ".rmlock" beside it still fits a
        // file name; another name with the same start gets another lock.
        QVERIFY(QFile::encodeName(found.fileName()).size() <= 248);
        QVERIFY(found.fileName().startsWith(u'.' + database.left(8)));
        QVERIFY(found.fileName() !=
                QFileInfo(DatabaseLock::lockFilePathFor(path + u'x')).fileName());
    }
    QVERIFY(!found.fileName().endsWith(u".pdb"_qs, Qt::CaseInsensitive));
    DatabaseLock held = DatabaseLock::acquire(path);
    QVERIFY2(held.isLocked(), qPrintable(held.error()));
    QVERIFY(QFileInfo::exists(found.filePath()));
    held.release();
    QVERIFY(!QFileInfo::exists(found.filePath()));
}

void TestDatabaseLock::lockThatCannotBeMadeIsAClearError_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder missing") << u"missing"_qs;
    QTest::newRow("no room for the lock file") << u"full"_qs;
    QTest::newRow("read-only folder") << u"read-only"_qs;
}

void TestDatabaseLock::lockThatCannotBeMadeIsAClearError()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(u"folder"_qs)));
    const QString folder = dir.filePath(kind == u"missing" ? u"folder/gone"_qs : u"folder"_qs);
    const QString path = folder + u"/Data.pdb"_qs;
    DatabaseLock lock;
    if (kind == u"full") {
        FileSizeLimit limit(0);
        QVERIFY(limit.ok());
        lock = DatabaseLock::acquire(path);
    } else if (kind == u"read-only") {
        if (geteuid() == 0)
            QSKIP("permissions do not stop root");
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        lock = DatabaseLock::acquire(path);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    } else {
        lock = DatabaseLock::acquire(path);
    }
    QVERIFY(!lock.isLocked());
    QVERIFY2(lock.error().contains(u"cannot be locked"_qs), qPrintable(lock.error()));
    QVERIFY2(lock.error().contains(QDir::toNativeSeparators(folder)), qPrintable(lock.error()));
    QCOMPARE(QDir(dir.filePath(u"folder"_qs))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void TestDatabaseLock::lockIsSeenInEveryEnvironment_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("runtime"); // the other program's XDG_RUNTIME_DIR
    QTest::addColumn<bool>("linkedHome"); // it reaches the home through a link
    QTest::newRow("import, same session") << u"import"_qs << u"same"_qs << false;
    QTest::newRow("import, no runtime folder (cron, sudo)") << u"import"_qs << u"unset"_qs << false;
    QTest::newRow("resave, another session's runtime folder")
        << u"resave"_qs << u"other"_qs << false;
    QTest::newRow("resave, runtime folder is a file") << u"resave"_qs << u"file"_qs << false;
    QTest::newRow("import, relative runtime folder") << u"import"_qs << u"relative"_qs << false;
    QTest::newRow("resave, home reached through a link") << u"resave"_qs << u"same"_qs << true;
}

void TestDatabaseLock::lockIsSeenInEveryEnvironment()
{
    QFETCH(QString, command);
    QFETCH(QString, runtime);
    QFETCH(bool, linkedHome);
    QTemporaryDir dir;
    const QString program = dir.filePath(u"program"_qs);
    QVERIFY(QDir().mkpath(program));
    QVERIFY(writeFile(program + u"/QuayDB.ini"_qs,
                      "[Kit]\r\nDatabasename=Kit\r\nName=Name\r\nNameHide=False\r\n"));
    QVERIFY(writeFile(program + u"/Ledgerly.ini"_qs, "[DesktopName]\r\nDesktopName=Ledgerly\r\n"));
    QVERIFY(writeFile(dir.filePath(u"kit.csv"_qs), "\"Name\"\r\n\"Name\"\r\n\"imported\"\r\n"));
    const QString home = dir.filePath(u"home"_qs);
    RecordServer server(home);
    server.addUser(u"Ann"_qs, {}, false, true);
    const QString database = server.GetUserFolder(u"Ann"_qs) + u"/Kit.pdb"_qs;
    PdbDatabase kit;
    kit.Table().AddField(u"Name"_qs, FieldText);
    kit.Table().AddRecord().setValue(0, u"kept"_qs);
    kit.SaveAs(database);
    const QByteArray before = readFile(database);
    QVERIFY(QFile::link(home, dir.filePath(u"linked-home"_qs)));

    // This program holds the database, with a runtime folder of its own.
    const QString ownRuntime = dir.filePath(u"runtime-a"_qs);
    QVERIFY(QDir().mkpath(ownRuntime));
    QVERIFY(QFile::setPermissions(ownRuntime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner));
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(ownRuntime));
    DatabaseLock held = DatabaseLock::acquire(database);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    QVERIFY2(held.isLocked(), qPrintable(held.error()));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_qs, dir.filePath(u"config"_qs));
    if (runtime == u"same") {
        env.insert(u"XDG_RUNTIME_DIR"_qs, ownRuntime);
    } else if (runtime == u"unset") {
        env.remove(u"XDG_RUNTIME_DIR"_qs);
    } else if (runtime == u"other") {
        const QString other = dir.filePath(u"runtime-b"_qs);
        QVERIFY(QDir().mkpath(other));
        QVERIFY(QFile::setPermissions(other, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner));
        env.insert(u"XDG_RUNTIME_DIR"_qs, other);
    } else if (runtime == u"file") {
        QVERIFY(writeFile(dir.filePath(u"runtime-file"_qs), "x"));
        env.insert(u"XDG_RUNTIME_DIR"_qs, dir.filePath(u"runtime-file"_qs));
    } else {
        env.insert(u"XDG_RUNTIME_DIR"_qs, u"relative-runtime"_qs);
    }
    QStringList args{u"--program-folder"_qs,
                     program,
                     u"--hotsync-home"_qs,
                     linkedHome ? dir.filePath(u"linked-home"_qs) : home,
                     command,
                     u"Kit"_qs};
    if (command == u"import")
        args.append(dir.filePath(u"kit.csv"_qs));
    QDir::setCurrent(dir.path());

    const CliRun refused = runLedgerlyCli(args, env);
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains(u"in use by"_qs), qPrintable(refused.err));
    QCOMPARE(readFile(database), before);
    // The same command goes through once the database is free again.
    held.release();
    const CliRun allowed = runLedgerlyCli(args, env);
    QVERIFY2(allowed.status == 0, qPrintable(allowed.err));
}

void TestDatabaseLock::userNamesMatchIgnoringCase_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("folderOf");
    QTest::newRow("exact") << u"Ann"_qs << u"Ann"_qs;
    QTest::newRow("lower case") << u"ann"_qs << u"Ann"_qs;
    QTest::newRow("upper case") << u"BOB"_qs << u"Bob"_qs;
    QTest::newRow("empty means the current user") << QString() << u"Bob"_qs;
}

void TestDatabaseLock::userNamesMatchIgnoringCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, folderOf);
    QTemporaryDir dir;
    RecordServer server(dir.path());
    server.addUser(QStringLiteral("Bob"), {}, false, true);
    server.addUser(QStringLiteral("Ann"));
    QCOMPARE(server.GetUserFolder(asked), dir.filePath(folderOf));
    // Adding a user again in another case changes the one user.
    server.addUser(asked.isEmpty() ? u"bob"_qs : asked);
    QCOMPARE(server.GetUserNames().size(), 2);
}

void TestDatabaseLock::unknownUserHasNoFolder()
{
    QTemporaryDir dir;
    RecordServer server(dir.path());
    server.addUser(QStringLiteral("Bob"), {}, false, true);
    try {
        server.GetUserFolder(QStringLiteral("Carol"));
        QFAIL("an unknown user got a folder");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrNoSuchUser));
        QVERIFY(e.message().contains(u"Carol"_qs));
    }
}

void TestDatabaseLock::csvNameChangesOnlyTheFileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("csv");
    QTest::newRow("database file") << u"/x/Mileage.pdb"_qs << u"/x/Mileage.csv"_qs;
    QTest::newRow("any case") << u"/x/Mileage.PDB"_qs << u"/x/Mileage.csv"_qs;
    QTest::newRow("folder named like a database")
        << u"/x/a.pdb.d/out.csv"_qs << u"/x/a.pdb.d/out.csv"_qs;
    QTest::newRow("both") << u"/x/a.pdb.d/b.pdb"_qs << u"/x/a.pdb.d/b.csv"_qs;
}

void TestDatabaseLock::csvNameChangesOnlyTheFileName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, csv);
    QCOMPARE(CsvNaming::csvPathFor(chosen), csv);
}

void TestDatabaseLock::bitmapNamesMustFit_data()
{
    QTest::addColumn<int>("titleLength");
    QTest::addColumn<bool>("fits");
    QTest::newRow("ordinary name") << 12 << true;
    QTest::newRow("250 characters") << 250 << false;
    // 245 + "1000" + "_3" + ".bmp" = 255 bytes.
    QTest::newRow("exactly the limit") << 245 << true;
    QTest::newRow("one byte over") << 246 << false;
}

void TestDatabaseLock::bitmapNamesMustFit()
{
    QFETCH(int, titleLength);
    QFETCH(bool, fits);
    QCOMPARE(CsvNaming::bitmapNamesFit(QString(titleLength, u'n'), 1000, 3), fits);
}

QTEST_GUILESS_MAIN(TestDatabaseLock)
#include "tst_database_lock.moc"
