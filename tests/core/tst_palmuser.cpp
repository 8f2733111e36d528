#include "HotSyncHomeSetup.h"
#include "RecordingLauncher.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "app/FileRegistry.h"
#include "app/HandheldInstall.h"
#include "app/PalmUserChoice.h"
#include "app/Registry.h"
#include "app/ReportToolUsers.h"
#include "app/SettingsStore.h"
#include "database/HotSyncHome.h"
#include "database/RecordServer.h"

#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

const QString app = u"TestLedger"_s;
const QString prefsKey = u"Software\\U.S. Robotics\\Pilot Desktop\\Preferences"_s;

// A HotSync home with the given users (the first is current), settings and a
// registry in one temporary folder.
struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<RecordServer> server;
    std::unique_ptr<QSettingsStore> settings;
    std::unique_ptr<FileRegistry> registry;
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    MainState state;
    std::unique_ptr<PalmUserChoice> users;

    explicit Fixture(const QStringList &names, bool palmDesktopKey = true)
    {
        createHotSyncHome(dir.filePath(u"home"_s), names);
        server = std::make_unique<RecordServer>(dir.filePath(u"home"_s));
        settings = std::make_unique<QSettingsStore>(dir.filePath(u"settings"_s));
        registry = std::make_unique<FileRegistry>(dir.filePath(u"registry.json"_s));
        if (palmDesktopKey)
            registry->createKey(Registry::CurrentUser, prefsKey);
        state.AppName = app;
        users = std::make_unique<PalmUserChoice>(state, *server, *settings, prompter, *registry);
    }
    QString stored(const QString &key) const
    {
        return settings->value(app, u"HotSync"_s, key, u"<missing>"_s);
    }
    QString lastUserName() const
    {
        return registry->value(Registry::CurrentUser, prefsKey, u"LastUserName"_s);
    }
};

Prompter::UserChoice answer(const QString &user, bool always, bool accepted)
{
    Prompter::UserChoice c;
    c.ChosenUser = user;
    c.AlwaysUseChoice = always;
    c.Accepted = accepted;
    return c;
}

} // namespace

class TestPalmUser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void chooseAtStart_data();
    void chooseAtStart();
    void reselect_data();
    void reselect();
    void changeUserDialog_data();
    void changeUserDialog();
    void unknownNamesAreRefused();
    void reportTools_data();
    void reportTools();
    void checkPalmUsers_data();
    void checkPalmUsers();
    void install_data();
    void install();
    void readBool_data();
    void readBool();
    void processLauncher_data();
    void processLauncher();
};

void TestPalmUser::chooseAtStart_data()
{
    QTest::addColumn<QString>("alwaysStored"); // "" = never stored
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<QString>("dialogUser");
    QTest::addColumn<bool>("dialogAlways");
    QTest::addColumn<bool>("dialogAccepted");
    QTest::addColumn<QString>("storedUser");
    QTest::addColumn<QString>("storedAlways");

    QTest::newRow("first run takes the current user without asking")
        << "" << false << "" << true << false << "Ann"
        << "True";
    QTest::newRow("always use true takes the current user")
        << "True" << false << "" << true << false << "Ann"
        << "True";
    QTest::newRow("always use false asks; OK stores the choice")
        << "False" << true << "Bob" << false << true << "Bob"
        << "False";
    QTest::newRow("always use false asks; ticking always is stored")
        << "False" << true << "Bob" << true << true << "Bob"
        << "True";
    QTest::newRow("cancel keeps the offered user")
        << "False" << true << "Ann" << false << false << "Ann"
        << "False";
    QTest::newRow("unreadable always value counts as true")
        << "perhaps" << false << "" << true << false << "Ann"
        << "True";
}

void TestPalmUser::chooseAtStart()
{
    QFETCH(QString, alwaysStored);
    QFETCH(bool, dialogShown);
    Fixture f({u"Ann"_s, u"Bob"_s});
    if (!alwaysStored.isEmpty())
        f.settings->setValue(app, u"HotSync"_s, u"AlwaysUse"_s, alwaysStored);
    if (dialogShown) {
        QFETCH(QString, dialogUser);
        QFETCH(bool, dialogAlways);
        QFETCH(bool, dialogAccepted);
        f.prompter.userAnswers.enqueue(answer(dialogUser, dialogAlways, dialogAccepted));
    }
    QSignalSpy status(f.users.get(), &PalmUserChoice::statusTextChanged);

    f.users->ChoosePalmUserAtStart();

    QCOMPARE(f.prompter.userRequests.size(), dialogShown ? 1 : 0);
    if (dialogShown) {
        const auto &offered = f.prompter.userRequests.first();
        QCOMPARE(offered.UserList, (QStringList{u"Ann"_s, u"Bob"_s}));
        QCOMPARE(offered.ChosenUser, u"Ann"_s); // the current user is preselected
        QCOMPARE(offered.AlwaysUseChoice, false);
    }
    QTEST(f.stored(u"User"_s), "storedUser");
    QTEST(f.users->PalmUser(), "storedUser"); // the choice is the user files are opened for
    QTEST(f.stored(u"AlwaysUse"_s), "storedAlways");
    QCOMPARE(status.size(), 1);
    QCOMPARE(status.first().first().toString(), u"Palm User Name : "_s + f.stored(u"User"_s));
    QVERIFY(f.lastUserName().isEmpty()); // no report tool: Palm Desktop untouched
}

void TestPalmUser::reselect_data()
{
    QTest::addColumn<QString>("alwaysStored");
    QTest::addColumn<QString>("userStored"); // "" = never stored
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<QString>("palmUser");

    QTest::newRow("always use takes the stored user") << "True"
                                                      << "Bob" << false << "Bob";
    QTest::newRow("always use without a stored user reads 1") << "True"
                                                              << "" << false << "1";
    QTest::newRow("asking takes the dialog's user") << "False"
                                                    << "Bob" << true << "Cid";
}

void TestPalmUser::reselect()
{
    QFETCH(QString, alwaysStored);
    QFETCH(QString, userStored);
    QFETCH(bool, dialogShown);
    Fixture f({u"Ann"_s, u"Bob"_s, u"Cid"_s});
    f.settings->setValue(app, u"HotSync"_s, u"AlwaysUse"_s, alwaysStored);
    if (!userStored.isEmpty())
        f.settings->setValue(app, u"HotSync"_s, u"User"_s, userStored);
    f.settings->setValue(u"KestViewer"_s, u"General"_s, u"User"_s, u"Old"_s);
    f.users->useUser(u"Ann"_s);
    if (dialogShown)
        f.prompter.userAnswers.enqueue(answer(u"Cid"_s, false, true));

    f.users->ReselectPalmUser();

    QCOMPARE(f.prompter.userRequests.size(), dialogShown ? 1 : 0);
    if (dialogShown)
        QCOMPARE(f.prompter.userRequests.first().ChosenUser, u"Ann"_s);
    QTEST(f.users->PalmUser(), "palmUser");
    QTEST(f.stored(u"User"_s), "palmUser");
    QTEST(f.settings->value(u"KestViewer"_s, u"General"_s, u"User"_s), "palmUser");
    QTEST(f.lastUserName(), "palmUser");
    QCOMPARE(f.users->AlwaysUseUser(), !dialogShown);
}

void TestPalmUser::changeUserDialog_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("designerSetUp");
    QTest::addColumn<QString>("palmUser");
    QTest::addColumn<QString>("storedUser");
    QTest::addColumn<QString>("designerUser");

    QTest::newRow("accepted with the designer set up") << true << true << "Bob"
                                                       << "Bob"
                                                       << "Bob";
    QTest::newRow("accepted without the designer") << true << false << "Bob"
                                                   << "Bob"
                                                   << "";
    QTest::newRow("cancelled changes nothing") << false << true << "Ann"
                                               << "<missing>"
                                               << "Ann";
}

void TestPalmUser::changeUserDialog()
{
    QFETCH(bool, accepted);
    QFETCH(bool, designerSetUp);
    Fixture f({u"Ann"_s, u"Bob"_s});
    f.users->useUser(u"Ann"_s);
    if (designerSetUp)
        f.settings->setValue(u"KestReports"_s, u"General"_s, u"User"_s, u"Ann"_s);
    f.prompter.userAnswers.enqueue(answer(u"Bob"_s, false, accepted));

    QCOMPARE(f.users->changeUserDialog(), accepted);
    QCOMPARE(f.prompter.userRequests.first().ChosenUser, u"Ann"_s);
    QTEST(f.users->PalmUser(), "palmUser");
    QTEST(f.stored(u"User"_s), "storedUser");
    QCOMPARE(f.users->AlwaysUseUser(), !accepted);
    QTEST(f.settings->value(u"KestReports"_s, u"General"_s, u"User"_s), "designerUser");
}

void TestPalmUser::unknownNamesAreRefused()
{
    Fixture f({u"Ann"_s, u"Bob"_s});
    f.users->useUser(u"Ann"_s);
    // "Ghost" is said to be no user and the dialog comes back with it; "bob"
    // is Bob (names match ignoring case; the home's spelling is kept).
    f.prompter.userAnswers << answer(u"Ghost"_s, true, true) << answer(u"bob"_s, true, true);
    QVERIFY(f.users->changeUserDialog());
    QCOMPARE(f.prompter.userRequests.size(), 2);
    QCOMPARE(f.prompter.userRequests.at(1).ChosenUser, u"Ghost"_s);
    QCOMPARE(f.prompter.userRequests.at(1).UserList, (QStringList{u"Ann"_s, u"Bob"_s}));
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(f.prompter.messages.first().text.contains(u"\"Ghost\""_s));
    QCOMPARE(f.stored(u"User"_s), u"Bob"_s);

    // Cancelled after a refusal: nothing changes.
    f.prompter.userAnswers << answer(u"Ghost"_s, false, true) << answer(u"Ghost"_s, false, false);
    QVERIFY(!f.users->changeUserDialog());
    QCOMPARE(f.stored(u"User"_s), u"Bob"_s);
}

void TestPalmUser::reportTools_data()
{
    QTest::addColumn<QString>("designer");
    QTest::addColumn<QString>("viewer");
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<bool>("setUp");
    QTest::addColumn<QString>("lastUserName");

    QTest::newRow("no tools: Palm Desktop untouched") << ""
                                                      << "" << true << false << "";
    QTest::newRow("designer only") << "Old"
                                   << "" << true << true << "Zoe";
    QTest::newRow("viewer only") << ""
                                 << "Old" << true << true << "Zoe";
    QTest::newRow("both tools") << "Old"
                                << "Old" << true << true << "Zoe";
    QTest::newRow("missing Palm Desktop key is not created") << "Old"
                                                             << "" << false << true << "";
}

void TestPalmUser::reportTools()
{
    QFETCH(QString, designer);
    QFETCH(QString, viewer);
    QFETCH(bool, keyExists);
    Fixture f({u"Ann"_s}, keyExists);
    if (!designer.isEmpty())
        f.settings->setValue(u"KestReports"_s, u"General"_s, u"User"_s, designer);
    if (!viewer.isEmpty())
        f.settings->setValue(u"KestViewer"_s, u"General"_s, u"User"_s, viewer);

    ReportToolUsers tools(*f.settings);
    QTEST(tools.anySetUp(), "setUp");
    tools.tell(u"Zoe"_s, *f.registry, f.prompter);

    QTEST(f.lastUserName(), "lastUserName");
    QCOMPARE(f.registry->keyExists(Registry::CurrentUser, prefsKey), keyExists);
    QCOMPARE(f.settings->value(u"KestReports"_s, u"General"_s, u"User"_s),
             designer.isEmpty() ? QString() : u"Zoe"_s);
    QCOMPARE(f.settings->value(u"KestViewer"_s, u"General"_s, u"User"_s),
             viewer.isEmpty() ? QString() : u"Zoe"_s);
    QVERIFY(f.prompter.messages.isEmpty());
}

void TestPalmUser::checkPalmUsers_data()
{
    QTest::addColumn<QStringList>("users");
    QTest::addColumn<int>("messages");
    QTest::newRow("users present: silent") << QStringList{u"Ann"_s} << 0;
    QTest::newRow("no users: the message") << QStringList{} << 1;
}

void TestPalmUser::checkPalmUsers()
{
    QFETCH(QStringList, users);
    QFETCH(int, messages);
    Fixture f(users);
    f.users->CheckPalmUsers();
    QCOMPARE(f.prompter.messages.size(), messages);
    if (messages) {
        QCOMPARE(f.prompter.messages.first().text,
                 u"There are no users on this PC Or PalmDesktop(tm) is not installed!"_s);
        QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::None);
        QCOMPARE(f.prompter.messages.first().buttons, Prompter::Buttons::Ok);
    }

    // The dialog opened over an empty list gets an empty list, after the message.
    Fixture g(users);
    g.settings->setValue(app, u"HotSync"_s, u"AlwaysUse"_s, u"False"_s);
    g.prompter.userAnswers.enqueue(answer(QString(), false, false));
    g.users->ChoosePalmUserAtStart();
    QCOMPARE(g.prompter.userRequests.size(), 1);
    QCOMPARE(g.prompter.userRequests.first().UserList, users);
    QCOMPARE(g.prompter.messages.size(), messages);
}

void TestPalmUser::install_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("launcherWorks");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("queued");
    QTest::addColumn<QStringList>("started"); // program, then arguments

    QTest::newRow("queued and the command started without a shell")
        << "Ann"
        << R"(/usr/bin/installer --user "Ann Lee" ; rm -rf x)" << true << true << true
        << QStringList{u"/usr/bin/installer"_s,
                       u"--user"_s,
                       u"Ann Lee"_s,
                       u";"_s,
                       u"rm"_s,
                       u"-rf"_s,
                       u"x"_s};
    QTest::newRow("no command: queued only") << "Ann"
                                             << "" << true << true << true << QStringList{};
    QTest::newRow("a command that cannot start is reported")
        << "Ann"
        << "/nonexistent/installer" << false << false << true
        << QStringList{u"/nonexistent/installer"_s};
    QTest::newRow("unknown user: queueing fails and is reported")
        << "Nobody"
        << "/bin/true" << true << false << false << QStringList{};
}

void TestPalmUser::install()
{
    QFETCH(QString, user);
    QFETCH(QString, command);
    QFETCH(bool, launcherWorks);
    QFETCH(bool, ok);
    QFETCH(bool, queued);
    QFETCH(QStringList, started);
    Fixture f({u"Ann"_s});
    {
        HotSyncHome home(f.dir.filePath(u"home"_s));
        home.load();
        home.installCommand = command;
        home.save();
    }
    const QString folder = f.server->GetUserFolder(u"Ann"_s);
    const QString path = f.dir.filePath(u"My Fruit.pdb"_s);
    QVERIFY(writeFile(path, "database bytes"));
    f.launcher.succeed = launcherWorks;

    QCOMPARE(HandheldInstall(*f.server, f.launcher, f.prompter).install(user, path), ok);

    QCOMPARE(QFile::exists(folder + u"/Install/My Fruit.pdb"_s), queued);
    QStringList seen;
    if (!f.launcher.programs.isEmpty())
        seen = QStringList{f.launcher.programs.first()} + f.launcher.arguments.first();
    QCOMPARE(seen, started);
    QCOMPARE(f.prompter.messages.size(), ok ? 0 : 1);
    if (!ok)
        QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Exclamation);
}

void TestPalmUser::readBool_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("value");
    QTest::newRow("True") << "True" << false << true;
    QTest::newRow("false in small letters") << "false" << true << false;
    QTest::newRow("number 0") << "0" << true << false;
    QTest::newRow("number -1") << "-1" << false << true;
    QTest::newRow("blanks around") << "  False " << true << false;
    QTest::newRow("other text takes the default") << "yes" << true << true;
    QTest::newRow("empty takes the default") << "" << false << false;
}

void TestPalmUser::readBool()
{
    QFETCH(QString, text);
    QFETCH(bool, defaultValue);
    QTEST(PalmUserChoice::readBool(text, defaultValue), "value");
    QFETCH(bool, value);
    QCOMPARE(PalmUserChoice::readBool(PalmUserChoice::boolText(value), !value), value);
}

void TestPalmUser::processLauncher_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("started");
    QTest::newRow("harmless program") << "/bin/true ignored argument" << true;
    QTest::newRow("missing program") << "/nonexistent/program --flag" << false;
    QTest::newRow("empty command line") << "   " << false;
}

void TestPalmUser::processLauncher()
{
    QFETCH(QString, commandLine);
    ProcessLauncher launcher;
    QString error;
    QTEST(launcher.startCommandLine(commandLine, &error), "started");
    QFETCH(bool, started);
    QCOMPARE(error.isEmpty(), started);
}

QTEST_GUILESS_MAIN(TestPalmUser)
#include "tst_palmuser.moc"
