// Who may change a database: one program at a time, and only in the folder of
// the user it was asked for.

#include "TestFiles.h"

#include "database/DatabaseLock.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"
#include "exchange/CsvNaming.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Ledgerly;

class TestDatabaseLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void secondHolderIsRefusedWithTheHolderNamed();
    void everyNameOfTheFileMeetsOneLock();
    void lockOfAVanishedProcessIsTakenOver();
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

void TestDatabaseLock::lockOfAVanishedProcessIsTakenOver()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Old.pdb"));
    const QString lockPath = DatabaseLock::lockFilePathFor(path);
    QVERIFY(QDir().mkpath(QFileInfo(lockPath).absolutePath()));
    // The lock file a crashed program leaves: a process id nobody has.
    QVERIFY(writeFile(lockPath,
                      "2147483000\nledgerly-cli\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
    const DatabaseLock lock = DatabaseLock::acquire(path);
    QVERIFY2(lock.isLocked(), qPrintable(lock.error()));
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
