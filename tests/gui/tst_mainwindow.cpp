#include "WindowFixture.h"

#include "app/PalmUserChoice.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/frmSplash1.h"
#include "common/Twips.h"
#include "database/DatabaseLock.h"
#include "grid/widgets/GridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

Prompter::UserChoice userAnswer(const QString &user, bool always, bool accepted)
{
    Prompter::UserChoice c;
    c.ChosenUser = user;
    c.AlwaysUseChoice = always;
    c.Accepted = accepted;
    return c;
}

// The keys of a top-level menu's items, separators as "".
QStringList menuKeys(frmMain &window, const QString &menuKey)
{
    QStringList keys;
    for (QAction *top : window.menuBar()->actions()) {
        if (!top->menu() || top->menu()->objectName() != menuKey)
            continue;
        for (QAction *a : top->menu()->actions())
            keys << (a->isSeparator() ? QString() : a->objectName());
    }
    return keys;
}

QAction *menuAction(frmMain &window, const QString &key)
{
    for (QAction *top : window.menuBar()->actions())
        if (top->menu())
            for (QAction *a : top->menu()->actions())
                if (a->objectName() == key)
                    return a;
    return nullptr;
}

QStringList topMenus(frmMain &window)
{
    QStringList names;
    for (QAction *top : window.menuBar()->actions())
        names << (top->menu() ? top->menu()->objectName() : QString());
    return names;
}

QString fruitName(WindowFixture &f, const QString &user)
{
    auto db = f.server->OpenDatabase(f.databasePath(user, u"Fruit"_s));
    return db->Table().Record(0).value(0).toString();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startUpOrderAndTitle_data();
    void startUpOrderAndTitle();
    void changeUserTwiceKeepsOneMenu();
    void changeUserKeySpellings_data();
    void changeUserKeySpellings();
    void reportsItemPresence_data();
    void reportsItemPresence();
    void closeWithUnsavedEdits_data();
    void closeWithUnsavedEdits();
    void layoutOfA12000TwipWindow();
    void toolbarButtons_data();
    void toolbarButtons();
    void helpOpensTheSameFileTwice_data();
    void helpOpensTheSameFileTwice();
    void installQueuesTheFile_data();
    void installQueuesTheFile();
    void damagedDatabaseEndsStartUp();
    void chooserLoadsTheChosenDatabase();
    void statusPanels();
    void missingSchemaStillStarts();
    void sectionsLeftOutOfTheListAreTold();
    void aFailedOpenLeavesTheWindowAgreeing();
    void windowFitsItsScreenAndComesBack();
    void noHotSyncUsers_data();
    void noHotSyncUsers();
    void csvCommandsAskForTheFile_data();
    void csvCommandsAskForTheFile();
    void iconFromTheSettings_data();
    void iconFromTheSettings();
    void editInProgressReachesTheCommand_data();
    void editInProgressReachesTheCommand();
    void changeUserClickedInTheOpenMenu();
};

void TestMainWindow::startUpOrderAndTitle_data()
{
    QTest::addColumn<QString>("alwaysUse"); // "" = first run
    QTest::addColumn<QString>("chosen");    // the dialog's answer, when asked
    QTest::addColumn<QString>("user");      // whose file is open afterwards
    QTest::addColumn<QString>("firstName"); // the first record shown

    QTest::newRow("first run takes the current user without asking") << ""
                                                                     << ""
                                                                     << "Ann"
                                                                     << "Apple";
    QTest::newRow("remembered user without asking") << "True"
                                                    << ""
                                                    << "Ann"
                                                    << "Apple";
    QTest::newRow("asking: another user's file is the one opened") << "False"
                                                                   << "Bob"
                                                                   << "Bob"
                                                                   << "Banana";
    QTest::newRow("asking: keeping the current user") << "False"
                                                      << "Ann"
                                                      << "Ann"
                                                      << "Apple";
}

void TestMainWindow::startUpOrderAndTitle()
{
    QFETCH(QString, alwaysUse);
    QFETCH(QString, chosen);
    QFETCH(QString, user);
    WindowFixture f;
    f.writeDatabase(u"Bob"_s, u"Fruit"_s, {{u"Banana"_s, false}});
    if (!alwaysUse.isEmpty())
        f.setSetting(u"AlwaysUse"_s, alwaysUse);
    const bool asks = alwaysUse == QLatin1String("False");
    if (asks)
        f.prompter.userAnswers.enqueue(userAnswer(chosen, false, true));

    // What the window looked like when the about box came up.
    int dialogsBefore = -1;
    bool loaded = false;
    QString title;
    QString path;
    QString status;
    f.onModal = [&](QDialog &) {
        dialogsBefore = int(f.prompter.userRequests.size());
        loaded = f.controller->loadCompleted();
        title = f.window->windowTitle();
        path = f.controller->CurrentPath();
        status = f.window->statusPanels().panel(3)->text();
    };
    frmMain &w = f.start();

    QCOMPARE(f.modalShown, QStringList{u"frmSplash1"_s});
    QCOMPARE(dialogsBefore, asks ? 1 : 0); // the user dialog comes before the about box
    if (asks)
        QCOMPARE(f.prompter.userRequests.first().ChosenUser, u"Ann"_s);
    QVERIFY(loaded);
    QCOMPARE(path, f.databasePath(user, u"Fruit"_s));
    QVERIFY2(title.startsWith(u"TestLedger : "_s), qPrintable(title));
    QCOMPARE(QDir::fromNativeSeparators(title.mid(13)), path);
    QCOMPARE(status, u"Palm User Name : "_s + user);
    QTEST(f.controller->grid().cell(0, 1).toString(), "firstName");
    QCOMPARE(f.setting(u"User"_s), user);
    QCOMPARE(f.setting(u"AlwaysUse"_s), asks ? u"False"_s : u"True"_s);
    QCOMPARE(w.findChild<QComboBox *>(u"SectionListDBNam"_s)->currentText(), u"Fruit Basket"_s);
    QVERIFY(w.findChild<QCheckBox *>(u"Check1"_s)->isChecked());
    QVERIFY(f.prompter.messages.isEmpty()); // unreadable pictures are no reason to complain
}

void TestMainWindow::changeUserTwiceKeepsOneMenu()
{
    WindowFixture f;
    f.settings->setValue(u"KestViewer"_s, u"General"_s, u"User"_s, u"Ann"_s);
    frmMain &w = f.start();
    const QStringList fileBefore = menuKeys(w, u"keyFile"_s);
    const QStringList helpBefore = menuKeys(w, u"keyHelp"_s);
    QCOMPARE(fileBefore.count(u"keyReports"_s), 1);
    const qsizetype menusBefore = w.menuBar()->findChildren<QMenu *>().size();

    f.prompter.userAnswers.enqueue(userAnswer(u"Bob"_s, true, true));
    f.prompter.userAnswers.enqueue(userAnswer(u"Ann"_s, true, true));
    w.SmartMenuXP1_MenuItemClick(u"KeyChangeUser"_s);
    QCOMPARE(w.statusPanels().panel(3)->text(), u"Palm User Name : Bob"_s);
    QCOMPARE(f.controller->PalmUser(), u"Bob"_s);
    QCOMPARE(f.controller->CurrentPath(), f.databasePath(u"Bob"_s, u"Fruit"_s));
    w.SmartMenuXP1_MenuItemClick(u"KeyChangeUser"_s);

    QCOMPARE(f.prompter.userRequests.size(), 2);
    QCOMPARE(topMenus(w), (QStringList{u"keyFile"_s, u"keyEdit"_s, u"keyHelp"_s}));
    QCOMPARE(menuKeys(w, u"keyFile"_s), fileBefore);
    QCOMPARE(menuKeys(w, u"keyHelp"_s), helpBefore);
    QCOMPARE(w.menuBar()->findChildren<QMenu *>().size(), menusBefore);
    QCOMPARE(w.statusPanels().panel(3)->text(), u"Palm User Name : Ann"_s);
    QCOMPARE(f.settings->value(u"KestViewer"_s, u"General"_s, u"User"_s), u"Ann"_s);
}

void TestMainWindow::changeUserKeySpellings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("throughAction");
    QTest::newRow("as the menu item is keyed") << "KeyChangeUser" << false;
    QTest::newRow("as the dispatcher spells it") << "keyChangeUser" << false;
    QTest::newRow("capitals") << "KEYCHANGEUSER" << false;
    QTest::newRow("clicking the menu item") << "KeyChangeUser" << true;
}

void TestMainWindow::changeUserKeySpellings()
{
    QFETCH(QString, key);
    QFETCH(bool, throughAction);
    WindowFixture f;
    frmMain &w = f.start();
    f.prompter.userAnswers.enqueue(userAnswer(u"Bob"_s, true, false)); // cancelled

    if (throughAction) {
        QAction *action = w.menuBar()->findChild<QAction *>(key);
        QVERIFY(action);
        QCOMPARE(action->text(), u"&ChangeUser"_s);
        QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
        action->trigger();
    } else {
        w.SmartMenuXP1_MenuItemClick(key);
    }
    QCOMPARE(f.prompter.userRequests.size(), 1);
    QCOMPARE(f.controller->PalmUser(), u"Ann"_s); // cancelled: unchanged
    QCOMPARE(menuKeys(w, u"keyFile"_s).count(u"KeyChangeUser"_s), 1);
}

void TestMainWindow::reportsItemPresence_data()
{
    QTest::addColumn<QString>("designer");
    QTest::addColumn<QString>("viewer");
    QTest::addColumn<int>("items");
    QTest::newRow("no tool") << ""
                             << "" << 0;
    QTest::newRow("designer") << "Ann"
                              << "" << 1;
    QTest::newRow("viewer") << ""
                            << "Ann" << 1;
    QTest::newRow("both tools give one item") << "Ann"
                                              << "Ann" << 1;
}

void TestMainWindow::reportsItemPresence()
{
    QFETCH(QString, designer);
    QFETCH(QString, viewer);
    QFETCH(int, items);
    WindowFixture f;
    if (!designer.isEmpty())
        f.settings->setValue(u"KestReports"_s, u"General"_s, u"User"_s, designer);
    if (!viewer.isEmpty())
        f.settings->setValue(u"KestViewer"_s, u"General"_s, u"User"_s, viewer);
    frmMain &w = f.start();
    QCOMPARE(int(menuKeys(w, u"keyFile"_s).count(u"keyReports"_s)), items);

    // The rebuilt menu follows the settings of the moment.
    f.settings->setValue(u"KestReports"_s, u"General"_s, u"User"_s, QString());
    f.settings->setValue(u"KestViewer"_s, u"General"_s, u"User"_s, items ? QString() : u"Ann"_s);
    f.prompter.userAnswers.enqueue(userAnswer(u"Ann"_s, true, false));
    w.SmartMenuXP1_MenuItemClick(u"keyChangeUser"_s);
    QCOMPARE(int(menuKeys(w, u"keyFile"_s).count(u"keyReports"_s)), items ? 0 : 1);
}

void TestMainWindow::closeWithUnsavedEdits_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("onDisk");

    QTest::newRow("yes saves and closes")
        << true << int(Prompter::Yes) << false << true << "Cherry";
    QTest::newRow("no closes without saving")
        << true << int(Prompter::No) << false << true << "Apple";
    QTest::newRow("cancel keeps the window")
        << true << int(Prompter::Cancel) << false << false << "Apple";
    QTest::newRow("yes with a failing save keeps the window")
        << true << int(Prompter::Yes) << true << false << "Apple";
    QTest::newRow("nothing edited closes without a question")
        << false << 0 << false << true << "Apple";
}

void TestMainWindow::closeWithUnsavedEdits()
{
    QFETCH(bool, edit);
    QFETCH(int, answer);
    QFETCH(bool, saveFails);
    QFETCH(bool, closed);
    WindowFixture f;
    frmMain &w = f.start();
    QVERIFY(w.isVisible());
    // Only the unload stores the choice again, so a stored value shows it.
    f.setSetting(u"AlwaysUse"_s, u"unset"_s);
    if (edit) {
        GridModel &grid = f.controller->grid();
        QVERIFY(grid.setData(grid.index(0, 1), u"Cherry"_s));
        QVERIFY(f.controller->DatabaseEdited());
        f.prompter.answers.enqueue(answer);
    }
    // The user's folder is away while the window closes: the save cannot write.
    const QString folder = f.userFolder(u"Ann"_s);
    if (saveFails)
        QVERIFY(QDir().rename(folder, folder + u".away"_s));

    QCOMPARE(w.close(), closed);
    if (saveFails) {
        QVERIFY(QDir().rename(folder + u".away"_s, folder));
        // The status bar no longer says a save is going on.
        QCOMPARE(w.statusPanels().panel(3)->text(), u"Palm User Name : Ann"_s);
    }
    QCOMPARE(w.isVisible(), !closed);
    QCOMPARE(f.prompter.answers.size(), 0);
    const int questions = int(
        std::count_if(f.prompter.messages.cbegin(), f.prompter.messages.cend(), [](const auto &m) {
            return m.text == QLatin1String("Database edited.  Do you want to save?");
        }));
    QCOMPARE(questions, edit ? 1 : 0);
    QTEST(fruitName(f, u"Ann"_s), "onDisk");
    QCOMPARE(f.setting(u"AlwaysUse"_s), closed ? u"True"_s : u"unset"_s);
    QCOMPARE(f.setting(u"User"_s), u"Ann"_s);
}

void TestMainWindow::layoutOfA12000TwipWindow()
{
    WindowFixture f;
    frmMain &w = f.start();
    const double dpi = w.logicalDpi();
    auto px = [dpi](double twips) { return Twips::toPixels(twips, dpi); };
    w.resize(px(12000), 300); // the height asked for is not kept
    w.Form_Resize();

    QCOMPARE(w.height(), w.imposedHeight());
    const QRect grid = w.grid()->geometry();
    QCOMPARE(grid.width(), px(11760));
    QCOMPARE(grid.top(), px(1400));
    QCOMPARE(grid.left(), 0);
    QCOMPARE(grid.height(), px(0.74 * 9850));
    const QRect status = w.statusPanels().statusBar()->geometry();
    QCOMPARE(status.width(), grid.width());
    QCOMPARE(status.left(), 0);
    QVERIFY(qAbs(status.top() - (grid.top() + grid.height() + px(5))) <= 1);
    QCOMPARE(w.toolBar()->geometry().top(), px(525));
    QCOMPARE(w.toolBar()->geometry().width(), grid.width());
    QCOMPARE(w.grid()->columnWidth(0), px(800));
    const QRect frame2 = w.statusPanels().frame2()->geometry();
    QVERIFY(qAbs(frame2.left() - (w.statusPanels().panel4Left() + px(8))) <= 1);
    QCOMPARE(frame2.height(), px(585));
    QCOMPARE(w.statusPanels().progressBar()->geometry().top(), px(250));
    QCOMPARE(w.findChild<QFrame *>(u"Frame1"_s)->geometry().left(), px(8000));
}

void TestMainWindow::toolbarButtons_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("caption");
    QTest::newRow("1") << 1 << "SAVE"
                       << "Save && Install";
    QTest::newRow("2") << 2 << "PRINT"
                       << "Print Preview";
    QTest::newRow("3") << 3 << "OPEN"
                       << "Export CSV";
    QTest::newRow("4") << 4 << "COPY"
                       << "Backup/SaveAs";
    QTest::newRow("5") << 5 << "W95MBX01"
                       << "Exit";
    QTest::newRow("6") << 6 << "Contents"
                       << "Help";
}

void TestMainWindow::toolbarButtons()
{
    QFETCH(int, number);
    QFETCH(QString, key);
    QFETCH(QString, caption);
    WindowFixture f;
    frmMain &w = f.start();
    const QList<QAction *> actions = w.toolBar()->actions();
    QCOMPARE(actions.size(), 6);
    QAction *action = actions.at(number - 1);
    QCOMPARE(action->objectName(), key);
    QCOMPARE(action->toolTip(), key);
    QCOMPARE(action->text(), caption);
    QVERIFY(!action->icon().isNull());
}

void TestMainWindow::helpOpensTheSameFileTwice_data()
{
    QTest::addColumn<bool>("viaToolbar");
    QTest::addColumn<bool>("opens");
    QTest::newRow("menu") << false << true;
    QTest::newRow("toolbar") << true << true;
    QTest::newRow("a document that cannot be opened is reported") << false << false;
}

void TestMainWindow::helpOpensTheSameFileTwice()
{
    QFETCH(bool, viaToolbar);
    QFETCH(bool, opens);
    WindowFixture f;
    frmMain &w = f.start();
    f.opener.succeed = opens;
    for (int i = 0; i < 2; ++i) {
        if (viaToolbar)
            w.Toolbar2_ButtonClick(6);
        else
            w.SmartMenuXP1_MenuItemClick(u"keyH&elp"_s);
    }
    const QString expected = f.programFolder + u"/Manual.html"_s;
    QCOMPARE(f.opener.opened, (QStringList{expected, expected}));
    QCOMPARE(f.controller->state().HelpFile, u"Manual.html"_s);
    QCOMPARE(f.prompter.messages.size(), opens ? 0 : 2);
}

void TestMainWindow::installQueuesTheFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("onDisk");
    QTest::newRow("menu install") << "keyInstall"
                                  << "Apple";
    QTest::newRow("save and install saves first") << "button1"
                                                  << "Cherry";
    QTest::newRow("a failed save queues nothing") << "button1"
                                                  << "Apple";
}

void TestMainWindow::installQueuesTheFile()
{
    QFETCH(QString, how);
    WindowFixture f;
    {
        HotSyncHome home(f.homeFolder);
        home.load();
        home.installCommand = u"/bin/true \"--file name\" $HOME;x"_s;
        home.save();
    }
    frmMain &w = f.start();
    GridModel &grid = f.controller->grid();
    // The handheld's code page has no check mark, so that save must fail.
    const bool saveFails = qstrcmp(QTest::currentDataTag(), "a failed save queues nothing") == 0;
    grid.setData(grid.index(0, 1), saveFails ? u"\u2713 Cherry"_s : u"Cherry"_s);
    const QString queued = f.userFolder(u"Ann"_s) + u"/Install/Fruit.pdb"_s;
    QVERIFY(!QFile::exists(queued));

    if (how == QLatin1String("button1"))
        w.Toolbar2_ButtonClick(1);
    else
        w.SmartMenuXP1_MenuItemClick(how);

    QTEST(fruitName(f, u"Ann"_s), "onDisk");
    if (saveFails) {
        QVERIFY(!QFile::exists(queued));
        QVERIFY(f.launcher.programs.isEmpty());
        QCOMPARE(f.prompter.messages.size(), 1); // the failed save, nothing more
        QVERIFY(f.controller->DatabaseEdited());
        return;
    }
    QVERIFY(QFile::exists(queued));
    QCOMPARE(f.launcher.programs, QStringList{u"/bin/true"_s});
    QCOMPARE(f.launcher.arguments.first(), (QStringList{u"--file name"_s, u"$HOME;x"_s}));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TestMainWindow::damagedDatabaseEndsStartUp()
{
    WindowFixture f;
    QVERIFY(writeFile(f.databasePath(u"Ann"_s, u"Fruit"_s), "this is no database"));
    f.start();
    QVERIFY(f.controller->isQuitRequested());
    QVERIFY(f.modalShown.isEmpty()); // no about box after the damage message
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(!f.window->isVisible());
    // The damaged file is left exactly as it was.
    QFile file(f.databasePath(u"Ann"_s, u"Fruit"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("this is no database"));
}

void TestMainWindow::chooserLoadsTheChosenDatabase()
{
    WindowFixture f;
    frmMain &w = f.start();
    auto *chooser = w.findChild<QComboBox *>(u"SectionListDBNam"_s);
    QCOMPARE(chooser->count(), 2);
    QCOMPARE(chooser->itemText(1), u"Vegetables"_s);
    chooser->setCurrentIndex(1);
    Q_EMIT chooser->activated(1);
    QCOMPARE(f.controller->CurrentPath(), f.databasePath(u"Ann"_s, u"Veg"_s));
    QCOMPARE(f.controller->grid().cell(0, 1).toString(), u"Leek"_s);
    QVERIFY(w.windowTitle().endsWith(u"Veg.pdb"_s));
}

void TestMainWindow::statusPanels()
{
    WindowFixture f;
    frmMain &w = f.start();
    StatusPanels &panels = w.statusPanels();
    QCOMPARE(panels.statusBar()->objectName(), u"StatusBar1"_s);
    QCOMPARE(panels.progressBar()->objectName(), u"ProgressBar1"_s);
    QCOMPARE(panels.frame2()->objectName(), u"Frame2"_s);
    QCOMPARE(panels.panel(1)->text(),
             QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    QVERIFY(!panels.panel(2)->text().isEmpty());
    QCOMPARE(panels.panel(5)->text(), u"CAPS"_s);
    QCOMPARE(panels.panel(6)->text(), u"INS"_s);
    QCOMPARE(panels.panel(7)->text(), u"NUM"_s);
    QVERIFY(!panels.panel(8));

    // The Insert key, wherever it is pressed in the window, flips INS.
    QVERIFY(panels.panel(6)->isEnabled());
    QTest::keyClick(w.grid(), Qt::Key_Insert);
    QVERIFY(!panels.panel(6)->isEnabled());
    QTest::keyClick(w.grid(), Qt::Key_Insert);
    QVERIFY(panels.panel(6)->isEnabled());

    // Progress reported by loading and saving reaches the bar.
    Q_EMIT f.controller->progressChanged(42);
    QCOMPARE(panels.progressBar()->value(), 42);
    Q_EMIT f.controller->progressChanged(0);
    QCOMPARE(panels.progressBar()->value(), 0);
}

void TestMainWindow::sectionsLeftOutOfTheListAreTold()
{
    WindowFixture f;
    QByteArray schema = WindowFixture::defaultSchema();
    for (int i = 0; i < 500; ++i)
        schema +=
            "[Sect" + QByteArray::number(i).rightJustified(5, '0') + "]\r\nDatabasename=x\r\n";
    QVERIFY(writeFile(f.programFolder + u"/QuayDB.ini"_s, schema));
    frmMain &w = f.start();
    QVERIFY(f.controller->loadCompleted());
    const QString message = f.controller->catalogue().unlistedMessage();
    QVERIFY2(message.contains(u"92 section(s) of QuayDB.ini could not be listed"_s),
             qPrintable(message));
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.first().text, message);
    QCOMPARE(w.findChild<QComboBox *>(u"SectionListDBNam"_s)->count(), 2 + 408);
}

void TestMainWindow::missingSchemaStillStarts()
{
    WindowFixture f;
    const QString schema = f.programFolder + u"/QuayDB.ini"_s;
    QVERIFY(QFile::remove(schema));
    frmMain &w = f.start();
    QCOMPARE(f.modalShown, QStringList{u"frmSplash1"_s});
    QCOMPARE(w.findChild<QComboBox *>(u"SectionListDBNam"_s)->count(), 0);
    QVERIFY(!f.controller->CurrentDatabase());
    QCOMPARE(f.controller->grid().rowCount(), 0);
    // Said once, naming the file looked for.
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(f.prompter.messages.first().text.contains(schema));
    QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Exclamation);

    // With nothing open, Save && Install is not offered and does nothing.
    QVERIFY(!w.toolBar()->actions().first()->isEnabled());
    w.Toolbar2_ButtonClick(1);
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(f.launcher.programs.isEmpty());
    QVERIFY(w.close());
}

void TestMainWindow::aFailedOpenLeavesTheWindowAgreeing()
{
    WindowFixture f;
    frmMain &w = f.start();
    auto *chooser = w.findChild<QComboBox *>(u"SectionListDBNam"_s);
    auto saveOffered = [&w] {
        return w.toolBar()->actions().first()->isEnabled() &&
               menuAction(w, u"keySave"_s)->isEnabled();
    };
    const GridView &grid = *w.grid();
    QCOMPARE(grid.currentIndex(), grid.model()->index(0, 1)); // typing edits the first cell
    QVERIFY(saveOffered());

    // Another program holds Veg: the database that is open stays open.
    DatabaseLock other = DatabaseLock::acquire(f.databasePath(u"Ann"_s, u"Veg"_s));
    QVERIFY(other.isLocked());
    Q_EMIT chooser->activated(1);
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(chooser->currentIndex(), 0);
    QVERIFY(w.windowTitle().endsWith(u"Fruit.pdb"_s));
    QCOMPARE(f.controller->grid().cell(0, 1).toString(), u"Apple"_s);
    QVERIFY(saveOffered());
    other.release();

    // A file that cannot be read at all: nothing is open, and nothing says so.
    const QString veg = f.databasePath(u"Ann"_s, u"Veg"_s);
    QVERIFY(QFile::remove(veg));
    QVERIFY(QDir().mkpath(veg));
    Q_EMIT chooser->activated(1);
    QCOMPARE(f.prompter.messages.size(), 2);
    QCOMPARE(chooser->currentIndex(), -1);
    QCOMPARE(w.windowTitle(), u"TestLedger : "_s);
    QCOMPARE(f.controller->grid().rowCount(), 0);
    QVERIFY(!saveOffered());

    // Choosing a good one again puts everything back.
    Q_EMIT chooser->activated(0);
    QCOMPARE(chooser->currentIndex(), 0);
    QVERIFY(saveOffered());
    QCOMPARE(grid.currentIndex(), grid.model()->index(0, 1));
}

void TestMainWindow::windowFitsItsScreenAndComesBack()
{
    WindowFixture f;
    frmMain &w = f.start();
    const QRect room = w.screen()->availableGeometry();
    QVERIFY2(room.contains(w.frameGeometry()),
             qPrintable(u"%1,%2 %3x%4 in %5x%6"_s.arg(w.frameGeometry().x())
                            .arg(w.frameGeometry().y())
                            .arg(w.frameGeometry().width())
                            .arg(w.frameGeometry().height())
                            .arg(room.width())
                            .arg(room.height())));
    w.resize(500, w.height());
    w.move(room.left() + 250, room.top() + 40);
    const QRect placed = w.geometry();
    QVERIFY(w.close());
    // The next run's window comes up as this one was (within what a window
    // frame the platform adds may shift), not centred at its first size.
    const QRect again = f.start().geometry();
    QCOMPARE(again.width(), placed.width());
    QVERIFY2((again.topLeft() - placed.topLeft()).manhattanLength() <= 20,
             qPrintable(u"%1,%2"_s.arg(again.x()).arg(again.y())));
}

void TestMainWindow::noHotSyncUsers_data()
{
    QTest::addColumn<QString>("alwaysUse");
    QTest::newRow("remembered user") << "True";
    QTest::newRow("asking: the dialog opens on an empty list") << "False";
}

void TestMainWindow::noHotSyncUsers()
{
    QFETCH(QString, alwaysUse);
    WindowFixture f(QStringList{});
    f.setSetting(u"AlwaysUse"_s, alwaysUse);
    const bool asks = alwaysUse == QLatin1String("False");
    if (asks)
        f.prompter.userAnswers.enqueue(userAnswer(QString(), false, false));
    frmMain &w = f.start();

    QCOMPARE(f.modalShown, QStringList{u"frmSplash1"_s});
    QCOMPARE(f.prompter.userRequests.size(), asks ? 1 : 0);
    if (asks)
        QVERIFY(f.prompter.userRequests.first().UserList.isEmpty());
    const QString noUsers = u"There are no users on this PC Or PalmDesktop(tm) is not installed!"_s;
    const auto said = [&](const QString &text) {
        return std::any_of(f.prompter.messages.cbegin(), f.prompter.messages.cend(),
                           [&](const auto &m) { return m.text == text; });
    };
    QCOMPARE(said(noUsers), asks);
    QVERIFY(!f.controller->CurrentDatabase());
    QVERIFY(f.controller->CurrentPath().isEmpty()); // no made-up path
    QVERIFY(w.close());
}

void TestMainWindow::csvCommandsAskForTheFile_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("save");
    QTest::newRow("menu export") << "keyExportCSV" << 0 << true;
    QTest::newRow("menu import") << "keyImportCSV" << 0 << false;
    QTest::newRow("toolbar export") << "" << 3 << true;
}

void TestMainWindow::csvCommandsAskForTheFile()
{
    QFETCH(QString, key);
    QFETCH(int, button);
    QFETCH(bool, save);
    WindowFixture f;
    frmMain &w = f.start();
    QCOMPARE(menuKeys(w, u"keyFile"_s).count(u"keyImportCSV"_s), 1);
    f.prompter.fileAnswers.enqueue(QString()); // cancelled: nothing is written or read
    if (button)
        w.Toolbar2_ButtonClick(button);
    else
        w.SmartMenuXP1_MenuItemClick(key);
    QCOMPARE(f.prompter.fileRequests.size(), 1);
    QCOMPARE(f.prompter.fileRequests.first().save, save);
    QCOMPARE(f.controller->grid().cell(0, 1).toString(), u"Apple"_s);
    QVERIFY(!f.controller->DatabaseEdited());
}

void TestMainWindow::iconFromTheSettings_data()
{
    QTest::addColumn<bool>("validPicture");
    QTest::newRow("a readable icon is used") << true;
    QTest::newRow("an unreadable icon keeps the built-in one") << false;
}

void TestMainWindow::iconFromTheSettings()
{
    QFETCH(bool, validPicture);
    WindowFixture f;
    if (validPicture) {
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        QVERIFY(image.save(f.programFolder + u"/broken-icon.png"_s, "PNG"));
    }
    frmMain &w = f.start();
    QVERIFY(!w.windowIcon().isNull());
    const QImage shown = w.windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(shown.pixelColor(16, 16) == QColor(255, 0, 255), validPicture);
    QVERIFY(f.prompter.messages.isEmpty());
}

void TestMainWindow::editInProgressReachesTheCommand_data()
{
    QTest::addColumn<QString>("via");
    QTest::newRow("toolbar Save && Install") << u"toolbar"_s;
    QTest::newRow("File menu Save") << u"menu"_s;
    QTest::newRow("Ctrl+S typed in the cell editor") << u"shortcut"_s;
    QTest::newRow("closing the window, answering Yes") << u"close"_s;
}

void TestMainWindow::editInProgressReachesTheCommand()
{
    QFETCH(QString, via);
    WindowFixture f;
    frmMain &w = f.start();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    GridView *grid = w.grid();
    // The view shows the table through the editing proxy.
    const QModelIndex cell = grid->model()->index(0, 1);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(cell));
    QVERIFY(editor);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, u"Cherry"_s);
    QVERIFY(!f.controller->DatabaseEdited()); // still only in the editor

    if (via == QLatin1String("toolbar")) {
        QAction *save = w.toolBar()->actions().value(0);
        QVERIFY(save);
        save->trigger();
    } else if (via == QLatin1String("menu")) {
        QAction *save = w.menuBar()->findChild<QAction *>(u"keySave"_s);
        QVERIFY(save);
        save->trigger();
    } else if (via == QLatin1String("shortcut")) {
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    } else {
        f.prompter.answers.enqueue(Prompter::Yes);
        QVERIFY(w.close());
        QCOMPARE(f.prompter.answers.size(), 0);
    }

    QCOMPARE(fruitName(f, u"Ann"_s), u"Cherry"_s);
    QVERIFY(!grid->indexWidget(cell)); // the editor is closed
    QVERIFY(!f.controller->DatabaseEdited());
}

// The menu is rebuilt by the very item that was clicked in it.
void TestMainWindow::changeUserClickedInTheOpenMenu()
{
    WindowFixture f;
    frmMain &w = f.start();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto *fileMenu = w.menuBar()->findChild<QMenu *>(u"keyFile"_s);
    QVERIFY(fileMenu);
    QAction *item = fileMenu->findChild<QAction *>(u"KeyChangeUser"_s);
    QVERIFY(item);
    fileMenu->popup(w.mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(fileMenu));
    f.prompter.userAnswers.enqueue(userAnswer(u"Bob"_s, true, true));
    const QPointer<QMenu> clickedMenu = fileMenu;
    QTest::mouseClick(fileMenu, Qt::LeftButton, {}, fileMenu->actionGeometry(item).center());
    // The menu that delivered the click outlives it, and goes afterwards.
    QVERIFY(clickedMenu);
    QTRY_VERIFY(!clickedMenu);

    QCOMPARE(f.prompter.userRequests.size(), 1);
    QCOMPARE(f.controller->PalmUser(), u"Bob"_s);
    QCOMPARE(topMenus(w), (QStringList{u"keyFile"_s, u"keyEdit"_s, u"keyHelp"_s}));
    QCOMPARE(menuKeys(w, u"keyFile"_s).count(u"KeyChangeUser"_s), 1);
    QVERIFY(!QApplication::activePopupWidget());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
