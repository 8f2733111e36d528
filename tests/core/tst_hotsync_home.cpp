#include "TestFiles.h"
#include "database/HotSyncHome.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

class TestHotSyncHome : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // --- where the home is and how it starts
    void homeLocation();
    void firstUseCreatesHomeForLoginUser();
    void loginNameFallsBack();
    void addUserToMissingHomeHoldsOnlyThatUser();

    // --- users, folders, the current user
    void usersInFileOrder();
    void userNamesRoundTrip_data();
    void userNamesRoundTrip();
    void defaultUserFollowsLastFolderUser();
    void makeDefaultIsStored();
    void handWrittenHome();
    void usersReadInRowOrderOnceEach_data();
    void usersReadInRowOrderOnceEach();
    void userKeysMatchWhenNamesDo_data();
    void userKeysMatchWhenNamesDo();
    void folderLookupCreatesNothing();
    void brokenHomeIsReported();
    void emptyNameRefused();

    // --- the install queue
    void queueInstallReplacesOlderCopy();
    void jpilotListHasEachPathOnce();
    void queueInstallFailures();
    void unwritableUserFolder();

private:
    QTemporaryDir *m_dir = nullptr;
    QString m_home;
    QByteArray m_savedUser;
};

void TestHotSyncHome::init()
{
    m_dir = new QTemporaryDir;
    m_home = m_dir->filePath(QStringLiteral("home"));
    m_savedUser = qgetenv("USER");
    qputenv("USER", "tester");
}

void TestHotSyncHome::cleanup()
{
    qputenv("USER", m_savedUser);
    delete m_dir;
}

void TestHotSyncHome::homeLocation()
{
    QStandardPaths::setTestModeEnabled(true);
    qputenv("HOTSYNC_HOME", m_dir->filePath(QStringLiteral("fromEnv")).toLocal8Bit());
    QCOMPARE(RecordServer::defaultHotSyncHome(m_home), m_home);
    QCOMPARE(RecordServer::defaultHotSyncHome(), m_dir->filePath(QStringLiteral("fromEnv")));
    qunsetenv("HOTSYNC_HOME");
    const QString fallback = RecordServer::defaultHotSyncHome();
    QCOMPARE(fallback, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           u"/HotSync"_qs);
}

void TestHotSyncHome::firstUseCreatesHomeForLoginUser()
{
    RecordServer server(m_home);
    QVERIFY(!QFile::exists(m_home));
    QCOMPARE(server.GetUserNames(), QStringList{u"tester"_qs});
    QCOMPARE(server.GetDefaultUser(), u"tester"_qs);
    const QString folder = server.GetUserFolder(QString());
    QCOMPARE(folder, m_home + u"/tester"_qs);
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(QFile::exists(m_home + u"/hotsync.ini"_qs));
    QCOMPARE(server.GetInstallCommand(), QString());
}

void TestHotSyncHome::loginNameFallsBack()
{
    const QByteArray savedUserName = qgetenv("USERNAME");
    qunsetenv("USER");
    qputenv("USERNAME", "winuser");
    QCOMPARE(HotSyncHome::loginName(), u"winuser"_qs);
    qunsetenv("USERNAME");
    QCOMPARE(RecordServer(m_home).GetUserNames(), QStringList{u"User"_qs});
    qputenv("USERNAME", savedUserName);
}

void TestHotSyncHome::addUserToMissingHomeHoldsOnlyThatUser()
{
    RecordServer server(m_home);
    server.addUser(QStringLiteral("Demo User"));
    QCOMPARE(server.GetUserNames(), QStringList{u"Demo User"_qs});
    QCOMPARE(server.GetDefaultUser(), u"Demo User"_qs);
    QVERIFY(QFileInfo(m_home + u"/Demo User"_qs).isDir());
}

void TestHotSyncHome::usersInFileOrder()
{
    RecordServer server(m_home);
    for (const QString &name : {u"Zed"_qs, u"Amy"_qs, u"Mo"_qs})
        server.addUser(name);
    server.addUser(QStringLiteral("Amy"), QString(), true); // an update keeps the place
    QCOMPARE(RecordServer(m_home).GetUserNames(), (QStringList{u"Zed"_qs, u"Amy"_qs, u"Mo"_qs}));
    QCOMPARE(RecordServer(m_home).GetDefaultUser(), u"Zed"_qs);
}

void TestHotSyncHome::userNamesRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("blanks") << u"Anne Marie Smith"_qs;
    QTest::newRow("comma") << u"Smith, John"_qs;
    QTest::newRow("quotes and semicolon") << u"\"Nan\" O'Neil; Jr."_qs;
    QTest::newRow("equals, hash and brackets") << u"[a]=b #c"_qs;
    QTest::newRow("backslash and slash") << u"..\\..\\x/../y"_qs;
    QTest::newRow("percent and non-Latin letters") << u"100% Zoë 日記"_qs;
    QTest::newRow("leading and trailing blanks") << u"  spaced  "_qs;
    QTest::newRow("dots only") << u".."_qs;
}

void TestHotSyncHome::userNamesRoundTrip()
{
    QFETCH(QString, name);
    RecordServer(m_home).addUser(QStringLiteral("First"));
    RecordServer(m_home).addUser(name);
    RecordServer server(m_home);
    QCOMPARE(server.GetUserNames(), (QStringList{u"First"_qs, name}));
    const QString folder = server.GetUserFolder(name);
    // However the name reads, its folder is a direct child of the home.
    QCOMPARE(QFileInfo(folder).absolutePath(), m_home);
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(folder != server.GetUserFolder(QStringLiteral("First")));
    QCOMPARE(server.GetDefaultUser(), u"First"_qs);
}

void TestHotSyncHome::defaultUserFollowsLastFolderUser()
{
    RecordServer(m_home).addUser(QStringLiteral("A"));
    RecordServer(m_home).addUser(QStringLiteral("B"));
    RecordServer server(m_home);
    QCOMPARE(server.GetDefaultUser(), u"A"_qs);
    QCOMPARE(server.GetUserFolder(QStringLiteral("B")), m_home + u"/B"_qs);
    QCOMPARE(server.GetDefaultUser(), u"B"_qs);
    // An unknown name is error 440, never another user's folder, and is no
    // choice of a user: the default stays as it was.
    try {
        server.GetUserFolder(QStringLiteral("Nobody"));
        QFAIL("an unknown user was given a folder");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrNoSuchUser));
    }
    QCOMPARE(server.GetDefaultUser(), u"B"_qs);
    // The empty name is the current user's folder and makes the current user
    // the default again.
    QCOMPARE(server.GetUserFolder(QString()), m_home + u"/A"_qs);
    QCOMPARE(server.GetDefaultUser(), u"A"_qs);
    server.GetUserFolder(QStringLiteral("B"));
    QCOMPARE(server.GetDefaultUser(), u"B"_qs);
    // The choice lives in this run only.
    QCOMPARE(RecordServer(m_home).GetDefaultUser(), u"A"_qs);
}

void TestHotSyncHome::makeDefaultIsStored()
{
    RecordServer(m_home).addUser(QStringLiteral("A"));
    RecordServer(m_home).addUser(QStringLiteral("B"), QString(), false, true);
    QCOMPARE(RecordServer(m_home).GetDefaultUser(), u"B"_qs);
}

void TestHotSyncHome::handWrittenHome()
{
    QVERIFY(QDir().mkpath(m_home));
    const QString absolute = m_dir->filePath(QStringLiteral("elsewhere"));
    QVERIFY(writeFile(
        m_home + u"/hotsync.ini"_qs,
        "[HotSync]\nCurrentUser=Smith, John\nInstallCommand=palm-install --now\n"
        "[Users]\nsize=3\n1\\Name=A\n1\\Folder=sub/dir/\n2\\Name=Smith, John\n2\\Folder=" +
            absolute.toUtf8() + "\n3\\Name=\n"));
    RecordServer server(m_home);
    QCOMPARE(server.GetUserNames(), (QStringList{u"A"_qs, u"Smith, John"_qs}));
    QCOMPARE(server.GetDefaultUser(), u"Smith, John"_qs);
    QCOMPARE(server.GetUserFolder(QStringLiteral("A")), m_home + u"/sub/dir"_qs);
    QCOMPARE(server.GetUserFolder(QStringLiteral("Smith, John")), absolute);
    QCOMPARE(server.GetInstallCommand(), u"palm-install --now"_qs);
}

void TestHotSyncHome::usersReadInRowOrderOnceEach_data()
{
    QTest::addColumn<QByteArray>("quote");
    QTest::newRow("as typed by hand") << QByteArray();
    QTest::newRow("as the program writes it") << QByteArray("\"");
}

void TestHotSyncHome::usersReadInRowOrderOnceEach()
{
    QFETCH(QByteArray, quote);
    QByteArray file = "[Users]\n";
    // Rows out of order, a name repeated in another case, a row number
    // written with a leading zero and a row past the stored size.
    for (const char *row : {"3\\Name=Cy", "1\\Name=Ann", "4\\Name=ANN", "2\\Name=Bo",
                            "01\\Name=Zed", "5\\Name=Eve", "size=4"}) {
        const QByteArray line(row);
        const qsizetype equals = line.indexOf('=');
        file += line.left(equals + 1) + quote + line.mid(equals + 1) + quote + "\n";
    }
    QVERIFY(QDir().mkpath(m_home));
    QVERIFY(writeFile(m_home + u"/hotsync.ini"_qs, file));
    QCOMPARE(RecordServer(m_home).GetUserNames(), (QStringList{u"Ann"_qs, u"Bo"_qs, u"Cy"_qs}));
}

void TestHotSyncHome::userKeysMatchWhenNamesDo_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::newRow("case") << u"ann smith"_qs << u"ANN Smith"_qs;
    QTest::newRow("different names") << u"Ann"_qs << u"Anne"_qs;
    QTest::newRow("accented letters") << u"zo\u00eb"_qs << u"ZO\u00cb"_qs;
    QTest::newRow("sharp s against ss") << u"Stra\u00dfe"_qs << u"STRASSE"_qs;
    QTest::newRow("Kelvin sign") << u"\u212a"_qs << u"k"_qs;
    QTest::newRow("final sigma") << u"\u03c2"_qs << u"\u03a3"_qs;
    QTest::newRow("dotted capital I") << u"\u0130"_qs << u"i"_qs;
    QTest::newRow("letters beyond 16 bits") << u"\U00010400"_qs << u"\U00010428"_qs;
    QTest::newRow("lone surrogate") << u"\xd801x"_qs << u"\xd801X"_qs;
}

void TestHotSyncHome::userKeysMatchWhenNamesDo()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QCOMPARE(HotSyncHome::userKey(a) == HotSyncHome::userKey(b), HotSyncHome::sameUser(a, b));
}

void TestHotSyncHome::folderLookupCreatesNothing()
{
    QVERIFY(QDir().mkpath(m_home));
    QVERIFY(
        writeFile(m_home + u"/hotsync.ini"_qs, "[Users]\nsize=1\n1\\Name=A\n1\\Folder=notyet\n"));
    RecordServer server(m_home);
    QCOMPARE(server.GetUserFolder(QStringLiteral("A")), m_home + u"/notyet"_qs);
    QVERIFY(!QFile::exists(m_home + u"/notyet"_qs));
    QCOMPARE(server.GetDefaultUser(), u"A"_qs); // no CurrentUser: the first user
}

void TestHotSyncHome::brokenHomeIsReported()
{
    QVERIFY(QDir().mkpath(m_home + u"/hotsync.ini"_qs));
    RecordServer server(m_home);
    QVERIFY_THROWS_EXCEPTION(PdbError, server.GetUserNames());
    try {
        server.GetUserFolder(QStringLiteral("A"));
        QFAIL("read a folder as the users file");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrNoSuchUser));
        QVERIFY(e.message().contains(u"hotsync.ini"_qs));
    }
}

void TestHotSyncHome::emptyNameRefused()
{
    RecordServer server(m_home);
    QVERIFY_THROWS_EXCEPTION(PdbError, server.addUser(QStringLiteral("  ")));
    QVERIFY(!QFile::exists(m_home));
}

void TestHotSyncHome::queueInstallReplacesOlderCopy()
{
    RecordServer server(m_home);
    const QString source = m_dir->filePath(QStringLiteral("Expenses.pdb"));
    QVERIFY(writeFile(source, "first"));
    server.QueueInstall(QStringLiteral("tester"), source);
    QVERIFY(writeFile(source, "second, longer"));
    server.QueueInstall(QStringLiteral("tester"), source);
    const QString copy = m_home + u"/tester/Install/Expenses.pdb"_qs;
    QCOMPARE(readFile(copy), QByteArray("second, longer"));
    QCOMPARE(QDir(m_home + u"/tester/Install"_qs).entryList(QDir::Files),
             QStringList{u"Expenses.pdb"_qs});
    QVERIFY(!QFile::exists(m_home + u"/tester/jpilot_to_install"_qs));
}

void TestHotSyncHome::jpilotListHasEachPathOnce()
{
    RecordServer server(m_home);
    server.addUser(QStringLiteral("Pilot"), QString(), true);
    const QString a = m_dir->filePath(QStringLiteral("A.pdb"));
    const QString b = m_dir->filePath(QStringLiteral("B.pdb"));
    QVERIFY(writeFile(a, "a"));
    QVERIFY(writeFile(b, "b"));
    const QString list = server.GetUserFolder(QStringLiteral("Pilot")) + u"/jpilot_to_install"_qs;
    QVERIFY(writeFile(list, "/already/there.pdb")); // no line end, as some tools leave it
    server.QueueInstall(QStringLiteral("Pilot"), a);
    server.QueueInstall(QStringLiteral("Pilot"), b);
    server.QueueInstall(QStringLiteral("Pilot"), a);
    QCOMPARE(readFile(list), "/already/there.pdb\n" + a.toUtf8() + "\n" + b.toUtf8() + "\n");
    QVERIFY(QFile::exists(server.GetUserFolder(QStringLiteral("Pilot")) + u"/Install/A.pdb"_qs));
}

void TestHotSyncHome::queueInstallFailures()
{
    RecordServer server(m_home);
    const QString source = m_dir->filePath(QStringLiteral("X.pdb"));
    QVERIFY(writeFile(source, "x"));
    try {
        server.QueueInstall(QStringLiteral("Stranger"), source);
        QFAIL("queued for an unknown user");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrNoSuchUser));
        QVERIFY(e.message().contains(u"Stranger"_qs));
    }
    try {
        server.QueueInstall(QStringLiteral("tester"), m_dir->filePath(QStringLiteral("No.pdb")));
        QFAIL("queued a missing file");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrFileNotFound));
    }
    server.QueueInstall(QString(), source); // no name: the current user
    QVERIFY(QFile::exists(m_home + u"/tester/Install/X.pdb"_qs));
}

void TestHotSyncHome::unwritableUserFolder()
{
    // A plain file where a folder belongs blocks even a privileged user.
    const QString blocker = m_dir->filePath(QStringLiteral("blocker"));
    QVERIFY(writeFile(blocker, ""));
    RecordServer server(m_home);
    try {
        server.addUser(QStringLiteral("Blocked"), blocker + u"/inside"_qs);
        QFAIL("made a folder inside a file");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrPathAccess));
    }
    QVERIFY(QDir().mkpath(m_home + u"/tester"_qs));
    QVERIFY(writeFile(m_home + u"/tester/Install"_qs, "not a folder"));
    const QString source = m_dir->filePath(QStringLiteral("X.pdb"));
    QVERIFY(writeFile(source, "x"));
    try {
        server.QueueInstall(QStringLiteral("tester"), source);
        QFAIL("queued into a file");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrPathAccess));
        QVERIFY(e.message().contains(u"Install"_qs));
    }
}

QTEST_GUILESS_MAIN(TestHotSyncHome)
#include "tst_hotsync_home.moc"
