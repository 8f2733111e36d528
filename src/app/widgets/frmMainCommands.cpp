// The main window's commands: the menu, the database chooser, the two dispatchers and the commands
// that belong to the window itself (help, about, exit, change of user, install).
#include "frmMain.h"
#include "frmSplash1.h"

#include "GridEditing.h"
#include "app/DesktopSettings.h"
#include "app/DocumentOpener.h"
#include "app/MainController.h"
#include "app/PalmUserChoice.h"
#include "app/Prompter.h"
#include "exchange/CsvCommands.h"
#include "grid/TableEditor.h"
#include "grid/widgets/GridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSignalBlocker>

#include <utility>

namespace Ledgerly {

void frmMain::refillChooser()
{
    const QSignalBlocker blocker(m_chooser);
    m_chooser->clear();
    m_chooser->addItems(m_controller.catalogue().SectionListDBNam.items());
    syncChooser();
}

void frmMain::syncChooser()
{
    const QSignalBlocker blocker(m_chooser);
    m_chooser->setCurrentIndex(m_controller.catalogue().SectionListDBNam.currentIndex());
}

void frmMain::SectionListDBNam_Activated(int index)
{
    // The open database is saved before the next one loads; an edit in
    // progress belongs to it.
    m_grid->commitOpenEditor();
    m_controller.catalogue().SectionListDBNam.select(index);
    applyGridColumns();
}

void frmMain::BuildMenu()
{
    // Rebuilt from nothing, so a second build never adds a second copy.
    m_menuBar->clear();
    for (QMenu *menu : std::as_const(m_menus)) {
        // The change-user item rebuilds the menu it was clicked in; that menu
        // is still delivering the click, so it goes once the click is over.
        if (m_menuClickDepth > 0) {
            // Until then it must not be taken for one of the new menus.
            menu->setObjectName(QString());
            for (QAction *action : menu->actions())
                action->setObjectName(QString());
            menu->deleteLater();
        } else {
            delete menu;
        }
    }
    m_menus.clear();
    QHash<QString, QMenu *> menus;
    for (const MenuItem &item : CommandTable::menuItems(m_users->reportToolSetUp())) {
        if (item.isTopLevel()) {
            QMenu *menu = m_menuBar->addMenu(item.caption);
            menu->setObjectName(item.key);
            menus.insert(item.key, menu);
            m_menus.append(menu);
            continue;
        }
        QMenu *parentMenu = menus.value(item.parentKey);
        if (!parentMenu)
            continue;
        if (item.isSeparator()) {
            parentMenu->addSeparator();
            continue;
        }
        QAction *action = parentMenu->addAction(item.caption);
        action->setObjectName(item.key);
        action->setData(item.key);
        action->setShortcut(item.shortcut());
        const QString key = item.key;
        connect(action, &QAction::triggered, this, [this, key] {
            ++m_menuClickDepth;
            const auto done = qScopeGuard([this] { --m_menuClickDepth; });
            SmartMenuXP1_MenuItemClick(key);
        });
    }
}

void frmMain::SmartMenuXP1_MenuItemClick(const QString &key)
{
    runCommand(CommandTable::commandForKey(key));
}

void frmMain::Toolbar2_ButtonClick(int number)
{
    runCommand(CommandTable::commandForButton(number));
}

void frmMain::runCommand(Command command)
{
    // Toolbar buttons, menus and shortcuts leave the focus in the table, so a
    // cell still being edited would otherwise miss the command (a save would
    // write the file without it).
    m_grid->commitOpenEditor();
    switch (command) {
    case Command::None:
    case Command::Open:
        return;
    case Command::SaveAs:
        m_controller.SaveDatabaseAs();
        m_editing->editor().clear(); // a save empties the undo history
        return;
    case Command::Install:
        Install_Click();
        return;
    case Command::Help:
        helpCommand();
        return;
    case Command::PrintPreview:
    case Command::ToolbarPrintPreview:
        notAvailable(QStringLiteral("Print Preview"));
        return;
    case Command::ChangeUser:
        changeUserCommand();
        return;
    case Command::Reports:
        notAvailable(QStringLiteral("Reports"));
        return;
    case Command::ImportCSV:
        ImportCSV_Click(m_controller);
        return;
    case Command::ExportCSV:
        ExportCSV_Click(m_controller);
        return;
    case Command::ClearPDB:
        m_controller.Clear_Click();
        return;
    case Command::Save:
        // Queuing after a failed save would send the handheld the old file
        // while the user believes the edits are on their way. With nothing
        // open there is no save to fail, and the install explains itself.
        if (!m_controller.CurrentDatabase() || m_controller.SaveDatabase())
            Install_Click();
        m_editing->editor().clear(); // a save empties the undo history
        return;
    case Command::About:
        showAboutBox(false);
        return;
    case Command::Exit:
        close();
        return;
    }
}

void frmMain::notAvailable(const QString &what)
{
    m_prompter.message(what + QStringLiteral(" is not available yet in this version of ") +
                           m_controller.state().AppName + QLatin1Char('.'),
                       Prompter::Buttons::Ok, Prompter::Icon::Information);
}

void frmMain::Install_Click()
{
    m_users->Install_Click();
}

void frmMain::changeUserCommand()
{
    if (m_users->changeUserDialog()) {
        m_controller.catalogue().SectionListDBNam.select(0);
        if (m_quitting)
            return;
        ChangeUser();
    }
    BuildMenu();
    m_users->updateReportDesigner();
}

void frmMain::helpCommand()
{
    MainState &state = m_controller.state();
    state.HelpFile = DesktopSettings::programFile(m_programFolder, state.HelpFile);
    if (!m_opener.openDocument(state.HelpFile))
        m_prompter.message(QStringLiteral("The help document could not be opened:\n") +
                               state.HelpFile,
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    // Restores the bare file name, so a second Help opens the same file.
    DesktopSettings::LoadDesktopSettings(state);
}

void frmMain::chkGroup_Click()
{
    const QSignalBlocker blocker(m_chkGroup);
    m_chkGroup->setChecked(false);
    notAvailable(QStringLiteral("Grouping"));
}

void frmMain::showAboutBox(bool modal)
{
    // One instance only: a second request brings the open box forward.
    if (m_about) {
        m_about->raise();
        m_about->activateWindow();
        return;
    }
    m_about = new frmSplash1(m_programFolder, this);
    if (modal) {
        m_about->setModal(true);
        m_modalShower(*m_about);
        return;
    }
    m_about->setModal(false);
    m_about->show();
}

} // namespace Ledgerly
