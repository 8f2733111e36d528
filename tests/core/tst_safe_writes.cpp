// Every writer must notice a file system that stops taking bytes part-way
// (a full disk) and leave the old file as it was.

#include "FileSizeLimit.h"
#include "TestFiles.h"

#include "app/FileRegistry.h"
#include "app/Registry.h"
#include "app/SettingsStore.h"
#include "catalogue/IniFile.h"
#include "common/IniSettingsFile.h"
#include "common/SafeFile.h"
#include "database/HotSyncHome.h"
#include "database/HotSyncInstall.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Ledgerly;

namespace {

// Every file and folder below root, as paths relative to it, sorted.
QStringList filesUnder(const QString &root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(it.next().mid(root.size()));
    found.sort();
    return found;
}

QByteArray bigText(int bytes)
{
    return QByteArray(bytes, 'x');
}

// A writer: writes "new" content of about 64 KiB over path; returns the error
// number it reported (0 for success).
using Writer = std::function<int(const QString &dir, const QString &path)>;

int pdbWriter(const QString &, const QString &path)
{
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("Note"), 0);
    for (int i = 0; i < 200; ++i)
        db.Table().AddRecord().setValue(0, QString::fromLatin1(bigText(300)));
    try {
        db.SaveAs(path);
        return 0;
    } catch (const PdbError &e) {
        return e.number();
    }
}

int installWriter(const QString &dir, const QString &path)
{
    const QString source = dir + QStringLiteral("/source/") + QFileInfo(path).fileName();
    QDir().mkpath(QFileInfo(source).absolutePath());
    {
        // The source is written before the limit applies.
        FileSizeLimit none(RLIM_INFINITY);
        writeFile(source, bigText(64 * 1024));
    }
    try {
        HotSyncInstall::queue(QFileInfo(path).absolutePath() + QStringLiteral("/.."), false,
                              source);
        return 0;
    } catch (const PdbError &e) {
        return e.number();
    }
}

int registryWriter(const QString &, const QString &path)
{
    FileRegistry registry(path);
    return registry.setString(Registry::CurrentUser, QStringLiteral("Software\\Test"),
                              QStringLiteral("LastUserName"),
                              QString::fromLatin1(bigText(64 * 1024)))
               ? 0
               : SafeFile::DeviceIo;
}

int homeWriter(const QString &, const QString &path)
{
    HotSyncHome home(QFileInfo(path).absolutePath());
    home.load();
    for (int i = 0; i < 400; ++i)
        home.users.append({QStringLiteral("User %1 ").arg(i) + QString::fromLatin1(bigText(100)),
                           QStringLiteral("u%1").arg(i), false});
    try {
        home.save();
        return 0;
    } catch (const PdbError &e) {
        return e.number();
    }
}

int settingsWriter(const QString &, const QString &path)
{
    QSettingsStore store(QFileInfo(path).absolutePath());
    return store.setValue(QFileInfo(path).completeBaseName(), QStringLiteral("HotSync"),
                          QStringLiteral("Big"), QString::fromLatin1(bigText(64 * 1024)))
               ? 0
               : SafeFile::DeviceIo;
}

int plainWriter(const QString &, const QString &path)
{
    return SafeFile::write(path, bigText(64 * 1024)).number;
}

} // namespace

Q_DECLARE_METATYPE(Writer)

class TestSafeWrites : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void writerKeepsOldFileWhenBytesRunOut_data();
    void writerKeepsOldFileWhenBytesRunOut();
    void specialFilesAreNotRead_data();
    void specialFilesAreNotRead();
    void claimedUserCountIsNotTrusted();
    void userNotWrittenLeavesNoFolder_data();
    void userNotWrittenLeavesNoFolder();
    void settingsTextReadsBackThroughQSettings_data();
    void settingsTextReadsBackThroughQSettings();
    void handEditedSettingsReadAsQSettingsReadsThem_data();
    void handEditedSettingsReadAsQSettingsReadsThem();
    void unreadableUsersFileIsAnError();
};

void TestSafeWrites::writerKeepsOldFileWhenBytesRunOut_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<Writer>("writer");
    // The old content is written first; each writer's new content is larger
    // than the limit, the old content smaller.
    QTest::newRow("database file") << u"Old.pdb"_qs << QByteArray() << Writer(pdbWriter);
    QTest::newRow("install queue copy")
        << u"user/Install/Copy.pdb"_qs << QByteArray("old copy") << Writer(installWriter);
    QTest::newRow("registry file")
        << u"registry.json"_qs << QByteArray("{\"HKEY_CURRENT_USER\\\\Software\\\\Test\": {}}")
        << Writer(registryWriter);
    QTest::newRow("HotSync users file")
        << u"hotsync.ini"_qs
        << QByteArray("[HotSync]\nCurrentUser=Ann\n[Users]\n1\\Name=Ann\nsize=1\n")
        << Writer(homeWriter);
    QTest::newRow("settings file")
        << u"Ledgerly.ini"_qs << QByteArray("[HotSync]\nUser=Ann\n") << Writer(settingsWriter);
    QTest::newRow("CSV, bitmap and any other whole file")
        << u"Export.csv"_qs << QByteArray("old,csv\r\n") << Writer(plainWriter);
}

void TestSafeWrites::writerKeepsOldFileWhenBytesRunOut()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, old);
    QFETCH(Writer, writer);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (old.isEmpty()) {
        PdbDatabase db;
        db.Table().AddField(QStringLiteral("Note"), 0);
        db.Table().AddRecord().setValue(0, QStringLiteral("kept"));
        db.SaveAs(path);
        old = readFile(path);
    } else {
        QVERIFY(writeFile(path, old));
    }
    QVERIFY(!old.isEmpty());

    int number = 0;
    {
        // Well past the old content, far short of the new.
        FileSizeLimit limit(8 * 1024);
        QVERIFY(limit.ok());
        number = writer(dir.path(), path);
    }
    QVERIFY2(number == SafeFile::DeviceIo || number == SafeFile::DiskFull,
             qPrintable(QString::number(number)));
    QCOMPARE(readFile(path), old);
    // No temporary file is left beside it.
    const QStringList left = QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files);
    QCOMPARE(left, QStringList{QFileInfo(path).fileName()});

    // Without the limit the same writer succeeds.
    QCOMPARE(writer(dir.path(), path), 0);
    QVERIFY(readFile(path) != old);
}

void TestSafeWrites::specialFilesAreNotRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << u"fifo"_qs;
    QTest::newRow("link to /dev/zero") << u"zero"_qs;
    QTest::newRow("folder") << u"folder"_qs;
    QTest::newRow("larger than the bound") << u"large"_qs;
}

void TestSafeWrites::specialFilesAreNotRead()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hotsync.ini"));
    if (kind == u"fifo")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == u"zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (kind == u"folder")
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(writeFile(path, QByteArray(17 * 1024 * 1024, ';')));

    QElapsedTimer timer;
    timer.start();
    QByteArray bytes;
    QString why;
    QVERIFY(!SafeFile::read(path, 16 * 1024 * 1024, &bytes, &why));
    QVERIFY(why.contains(QDir::toNativeSeparators(path)));
    // The same file as a schema: a reason naming it, never an empty schema.
    QVERIFY(iniFileProblem(path).contains(QDir::toNativeSeparators(path)));
    // The users file of a home: an error naming the file, never a hang.
    HotSyncHome home(dir.path());
    try {
        home.load();
        QFAIL("a special users file was read");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrNoSuchUser));
    }
    // The same file as a database.
    const QString pdb = dir.filePath(QStringLiteral("Data.pdb"));
    QVERIFY(QFile::rename(path, pdb) || kind == u"folder");
    if (kind != u"folder") {
        RecordServer server(dir.path());
        QVERIFY_THROWS_EXCEPTION(PdbError, server.OpenDatabase(pdb));
    }
    QVERIFY(timer.elapsed() < 10000);
}

void TestSafeWrites::claimedUserCountIsNotTrusted()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("hotsync.ini")),
                      "[HotSync]\nCurrentUser=Ann\n[Users]\n1\\Name=Ann\n2\\Name=Bob\n"
                      "size=2000000000\n"));
    QElapsedTimer timer;
    timer.start();
    HotSyncHome home(dir.path());
    home.load();
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(home.users.size(), 2);
    QCOMPARE(home.users.at(1).name, u"Bob"_qs);
}

void TestSafeWrites::userNotWrittenLeavesNoFolder_data()
{
    QTest::addColumn<bool>("homeExists");
    QTest::addColumn<QString>("folder"); // given with add-user, below the temporary folder
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<bool>("firstUse"); // any use of a missing home, not add-user
    QTest::newRow("first user of a new home") << false << QString() << false << false;
    QTest::newRow("another user") << true << QString() << false << false;
    QTest::newRow("folder given, several levels new") << true << u"data/a/b"_qs << false << false;
    QTest::newRow("new home, folder given elsewhere") << false << u"data/c"_qs << false << false;
    QTest::newRow("folder that exists already") << true << u"data"_qs << true << false;
    QTest::newRow("first use creates the login user") << false << QString() << false << true;
}

void TestSafeWrites::userNotWrittenLeavesNoFolder()
{
    QFETCH(bool, homeExists);
    QFETCH(QString, folder);
    QFETCH(bool, folderExists);
    QFETCH(bool, firstUse);
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    if (homeExists)
        RecordServer(home).addUser(QStringLiteral("First"));
    if (folderExists) {
        QVERIFY(QDir().mkpath(dir.filePath(folder)));
        QVERIFY(writeFile(dir.filePath(folder) + u"/kept.txt"_qs, "x"));
    }
    const QStringList before = filesUnder(dir.path());
    const QByteArray users = readFile(home + u"/hotsync.ini"_qs);
    {
        FileSizeLimit limit(16);
        QVERIFY(limit.ok());
        RecordServer server(home);
        if (firstUse)
            QVERIFY_THROWS_EXCEPTION(PdbError, server.GetUserNames());
        else
            QVERIFY_THROWS_EXCEPTION(
                PdbError, server.addUser(QStringLiteral("Ann"),
                                         folder.isEmpty() ? QString() : dir.filePath(folder)));
    }
    QCOMPARE(filesUnder(dir.path()), before);
    QCOMPARE(readFile(home + u"/hotsync.ini"_qs), users);
}

void TestSafeWrites::settingsTextReadsBackThroughQSettings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    // Names that need escapes are left to QSettings; the rest is read directly.
    QTest::addColumn<bool>("direct");
    QTest::newRow("plain") << u"HotSync/User"_qs << u"Ann"_qs << true;
    QTest::newRow("comma and blanks") << u"HotSync/User"_qs << u" Ann, Bob "_qs << true;
    QTest::newRow("quotes and backslashes") << u"General/Path"_qs << u"C:\\x \"y\""_qs << false;
    QTest::newRow("line breaks and semicolon") << u"A/B"_qs << u"one\ntwo\r;three"_qs << true;
    QTest::newRow("starts with @") << u"A/B"_qs << u"@Invalid()"_qs << true;
    QTest::newRow("non-ASCII") << u"Gruppe/Schl\u00fcssel"_qs << u"Gr\u00fc\u00dfe \u20ac"_qs
                               << false;
    QTest::newRow("non-ASCII value")
        << u"A/B"_qs << u"Gr\u00fc\u00dfe \u20ac \U0001F600"_qs << true;
    QTest::newRow("array row") << u"Users/1/Name"_qs << u"Ann"_qs << true;
    QTest::newRow("empty") << u"A/B"_qs << QString() << true;
    QTest::newRow("control character before hex digits")
        << u"A/B"_qs << u"\u0001abc\u001fF9\tq"_qs << true;
    QTest::newRow("doubled @ and a lone one") << u"A/B"_qs << u"@@x @ y"_qs << true;
    QTest::newRow("ungrouped key") << u"Key"_qs << u"v"_qs << true;
}

void TestSafeWrites::settingsTextReadsBackThroughQSettings()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, direct);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    QVERIFY(IniSettingsFile::write(path, {{key, value}, {u"Other/Key"_qs, u"x"_qs}}).ok());
    const QSettings ini(path, QSettings::IniFormat);
    QCOMPARE(ini.status(), QSettings::NoError);
    QCOMPARE(ini.value(key).toString(), value);
    QCOMPARE(ini.value(u"Other/Key"_qs).toString(), u"x"_qs);
    const std::optional<IniSettingsFile::Texts> read =
        IniSettingsFile::parseRendered(readFile(path));
    QCOMPARE(bool(read), direct);
    if (read)
        QCOMPARE(*read, (IniSettingsFile::Texts{{key, value}, {u"Other/Key"_qs, u"x"_qs}}));
}

void TestSafeWrites::handEditedSettingsReadAsQSettingsReadsThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("unquoted values") << QByteArray("[Users]\n1\\Name=Ann  \nsize=1\n");
    QTest::newRow("a comma typed by hand") << QByteArray("[A]\nB=Smith, John\n");
    QTest::newRow("blanks around =") << QByteArray("[A]\nB = \"x\"\n");
    QTest::newRow("CR LF line ends") << QByteArray("[A]\r\nB=\"x\"\r\n");
    QTest::newRow("comment line") << QByteArray("; users\n[A]\nB=\"x\"\n");
    QTest::newRow("group written twice") << QByteArray("[A]\nB=\"1\"\n[A]\nC=\"2\"\n");
    QTest::newRow("key written twice") << QByteArray("[A]\nB=\"1\"\nB=\"2\"\n");
    QTest::newRow("escaped key") << QByteArray("[A]\nB%20C=\"1\"\n");
    QTest::newRow("type marker") << QByteArray("[A]\nB=\"@Invalid()\"\nC=\"@String(x)\"\n");
    QTest::newRow("quote inside") << QByteArray("[A]\nB=\"x\"y\"\n");
    QTest::newRow("other escapes") << QByteArray("[A]\nB=\"\\a\\101\\x\"\n");
    QTest::newRow("key before any group") << QByteArray("B=\"x\"\n[A]\nC=\"y\"\n");
    QTest::newRow("Windows-1252 bytes") << QByteArray("[A]\nB=\"Zo\xEB\"\n");
}

void TestSafeWrites::handEditedSettingsReadAsQSettingsReadsThem()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    QVERIFY(writeFile(path, bytes));
    QVERIFY(!IniSettingsFile::parseRendered(bytes));
    IniSettingsFile::Texts texts;
    QVERIFY(IniSettingsFile::readTexts(path, bytes, &texts));
    const QSettings ini(path, QSettings::IniFormat);
    QCOMPARE(texts.size(), ini.allKeys().size());
    for (const QString &key : ini.allKeys()) {
        const QVariant value = ini.value(key);
        QCOMPARE(texts.value(key), value.typeId() == QMetaType::QStringList
                                       ? value.toStringList().join(u", "_qs)
                                       : value.toString());
    }
}

void TestSafeWrites::unreadableUsersFileIsAnError()
{
    if (geteuid() == 0)
        QSKIP("permissions do not stop root");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hotsync.ini"));
    QVERIFY(writeFile(path, "[Users]\n1\\Name=Ann\nsize=1\n"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    HotSyncHome home(dir.path());
    QVERIFY_THROWS_EXCEPTION(PdbError, home.load());
}

QTEST_GUILESS_MAIN(TestSafeWrites)
#include "tst_safe_writes.moc"
