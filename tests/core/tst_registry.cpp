#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "app/FileRegistry.h"
#include "app/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {
// Records writes instead of touching any registry.
class RecordingBackend : public RegistryBackend
{
public:
    struct Write
    {
        std::uint32_t root;
        QString subKey, name, value;
    };
    QList<Write> writes;
    bool setString(std::uint32_t root, const QString &subKey, const QString &name,
                   const QString &value) override
    {
        writes.append({root, subKey, name, value});
        return true;
    }
};
} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rootKeyFromName_data();
    void rootKeyFromName();
    void splitRegistryPath_data();
    void splitRegistryPath();
    void writeRegistryString_data();
    void writeRegistryString();
    void fileRegistryNeedsExistingKey_data();
    void fileRegistryNeedsExistingKey();
    void fileRegistrySurvivesDamagedFile_data();
    void fileRegistrySurvivesDamagedFile();
};

void TestRegistry::rootKeyFromName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("key");
    QTest::newRow("classes root") << u"HKEY_CLASSES_ROOT"_s << 0x80000000u;
    QTest::newRow("current user") << u"HKEY_CURRENT_USER"_s << 0x80000001u;
    QTest::newRow("local machine") << u"HKEY_LOCAL_MACHINE"_s << 0x80000002u;
    QTest::newRow("users") << u"HKEY_USERS"_s << 0x80000003u;
    QTest::newRow("performance data") << u"HKEY_PERFORMANCE_DATA"_s << 0x80000004u;
    QTest::newRow("current config") << u"HKEY_CURRENT_CONFIG"_s << 0x80000005u;
    QTest::newRow("dyn data") << u"HKEY_DYN_DATA"_s << 0x80000006u;
    QTest::newRow("small letters give 0") << u"hkey_current_user"_s << 0u;
    QTest::newRow("mixed case gives 0") << u"HKEY_Current_User"_s << 0u;
    QTest::newRow("abbreviation gives 0") << u"HKCU"_s << 0u;
    QTest::newRow("trailing blank gives 0") << u"HKEY_USERS "_s << 0u;
    QTest::newRow("empty gives 0") << QString() << 0u;
}

void TestRegistry::rootKeyFromName()
{
    QFETCH(QString, name);
    QFETCH(quint32, key);
    QCOMPARE(Registry::RootKeyFromName(name), key);
    if (key != 0)
        QCOMPARE(Registry::nameOfRootKey(key), name);
}

void TestRegistry::splitRegistryPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<quint32>("root");
    QTest::addColumn<QString>("rest");

    QTest::newRow("root and sub-key")
        << u"HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Preferences"_s << true
        << 0x80000001u << u"Software\\U.S. Robotics\\Pilot Desktop\\Preferences"_s;
    QTest::newRow("root alone gives an empty sub-key")
        << u"HKEY_CURRENT_USER"_s << true << 0x80000001u << QString();
    QTest::newRow("trailing backslash refused") << u"HKEY_CURRENT_USER\\Software\\"_s << false
                                                << 0x12345u << u"HKEY_CURRENT_USER\\Software\\"_s;
    QTest::newRow("not starting with HKEY_ refused")
        << u"Software\\Palm"_s << false << 0x12345u << u"Software\\Palm"_s;
    QTest::newRow("small letters refused")
        << u"hkey_users\\x"_s << false << 0x12345u << u"hkey_users\\x"_s;
    QTest::newRow("unknown root accepted with key 0")
        << u"HKEY_NOWHERE\\Sub"_s << true << 0u << u"Sub"_s;
    QTest::newRow("empty path refused") << QString() << false << 0x12345u << QString();
}

void TestRegistry::splitRegistryPath()
{
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    ScriptedPrompter prompter;
    RecordingBackend backend;
    Registry registry(backend, prompter);

    QString inOut = path;
    std::uint32_t root = 0x12345u; // refused paths must leave it alone
    QCOMPARE(registry.SplitRegistryPath(inOut, root), accepted);
    QTEST(quint32(root), "root");
    QTEST(inOut, "rest");
    if (accepted) {
        QVERIFY(prompter.messages.isEmpty());
    } else {
        QCOMPARE(prompter.messages.size(), 1);
        QCOMPARE(prompter.messages.first().text, u"Incorrect Format:\n\n"_s + path);
        QCOMPARE(prompter.messages.first().buttons, Prompter::Buttons::Ok);
        QCOMPARE(prompter.messages.first().icon, Prompter::Icon::None);
    }
}

void TestRegistry::writeRegistryString_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("writes");
    QTest::addColumn<int>("messages");
    QTest::newRow("good path is written") << u"HKEY_CURRENT_USER\\Software\\A"_s << 1 << 0;
    QTest::newRow("unknown root writes nothing") << u"HKEY_ELSEWHERE\\Software\\A"_s << 0 << 0;
    QTest::newRow("bad form writes nothing and says so") << u"Software\\A\\"_s << 0 << 1;
}

void TestRegistry::writeRegistryString()
{
    QFETCH(QString, path);
    ScriptedPrompter prompter;
    RecordingBackend backend;
    Registry registry(backend, prompter);
    registry.WriteRegistryString(path, u"LastUserName"_s, u"Ann Lee"_s);
    QTEST(int(backend.writes.size()), "writes");
    QTEST(int(prompter.messages.size()), "messages");
    if (!backend.writes.isEmpty()) {
        QCOMPARE(backend.writes.first().root, std::uint32_t(Registry::CurrentUser));
        QCOMPARE(backend.writes.first().subKey, u"Software\\A"_s);
        QCOMPARE(backend.writes.first().name, u"LastUserName"_s);
        QCOMPARE(backend.writes.first().value, u"Ann Lee"_s);
    }
}

void TestRegistry::fileRegistryNeedsExistingKey_data()
{
    QTest::addColumn<bool>("createFirst");
    QTest::addColumn<QString>("createdAs");
    QTest::addColumn<QString>("writtenAs");
    QTest::addColumn<bool>("written");
    QTest::newRow("missing key is never created")
        << false << QString() << u"Software\\Palm\\Prefs"_s << false;
    QTest::newRow("existing key takes the value")
        << true << u"Software\\Palm\\Prefs"_s << u"Software\\Palm\\Prefs"_s << true;
    QTest::newRow("key names ignore case")
        << true << u"Software\\Palm\\Prefs"_s << u"SOFTWARE\\palm\\prefs"_s << true;
    QTest::newRow("a parent key is not its child")
        << true << u"Software\\Palm"_s << u"Software\\Palm\\Prefs"_s << false;
}

void TestRegistry::fileRegistryNeedsExistingKey()
{
    QFETCH(bool, createFirst);
    QFETCH(QString, createdAs);
    QFETCH(QString, writtenAs);
    QFETCH(bool, written);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(u"sub/registry.json"_s);
    {
        FileRegistry registry(file);
        if (createFirst)
            QVERIFY(registry.createKey(Registry::CurrentUser, createdAs));
        QCOMPARE(registry.setString(Registry::CurrentUser, writtenAs, u"LastUserName"_s, u"Bob"_s),
                 written);
    }
    FileRegistry reread(file); // values survive in the file
    QCOMPARE(reread.value(Registry::CurrentUser, writtenAs, u"lastusername"_s),
             written ? u"Bob"_s : QString());
    QCOMPARE(reread.keyExists(Registry::CurrentUser, writtenAs), written);
    QVERIFY(!reread.keyExists(Registry::LocalMachine, writtenAs));
}

void TestRegistry::fileRegistrySurvivesDamagedFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not json") << QByteArray("\x01\x02garbage{{{");
    QTest::newRow("json array") << QByteArray("[1,2,3]");
    QTest::newRow("key holding a string")
        << QByteArray(R"({"HKEY_CURRENT_USER\\Software\\P": "text"})");
    QTest::newRow("empty file") << QByteArray();
}

void TestRegistry::fileRegistrySurvivesDamagedFile()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"registry.json"_s);
    QVERIFY(writeFile(file, content));

    FileRegistry registry(file);
    QVERIFY(!registry.keyExists(Registry::CurrentUser, u"Software\\P"_s));
    QVERIFY(!registry.setString(Registry::CurrentUser, u"Software\\P"_s, u"V"_s, u"x"_s));
    QVERIFY(registry.createKey(Registry::CurrentUser, u"Software\\P"_s));
    QVERIFY(registry.setString(Registry::CurrentUser, u"Software\\P"_s, u"V"_s, u"x"_s));
    QCOMPARE(registry.value(Registry::CurrentUser, u"Software\\P"_s, u"V"_s), u"x"_s);
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
