// The main window's commands: the menu, the database chooser, the two dispatchers and the commands
// that belong to the window itself (help, about, exit, change of user, install).
#include "ReportCommands.h"
#include "frmMain.h"
#include "frmSplash1.h"

#include "GridEditing.h"
#include "SchemaEditor.h"
#include "TableTools.h"
#include "app/DesktopSettings.h"
#include "app/DocumentOpener.h"
#include "app/MainController.h"
#include "app/ReportToolUsers.h"
#include "common/Prompter.h"
#include "grid/TableEditor.h"
#include "grid/widgets/GridEditActions.h"
#include "grid/widgets/GridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QSignalBlocker>

#include <utility>

namespace Ledgerly {

void frmMain::refillChooser()
{
    const QSignalBlocker blocker(m_chooser);
    m_chooser->clear();
    m_chooser->addItems(m_controller.catalogue().displayNames());
    syncChooser(m_controller.currentSection());
}

void frmMain::syncChooser(int index)
{
    const QSignalBlocker blocker(m_chooser);
    m_chooser->setCurrentIndex(index);
}

void frmMain::SectionListDBNam_Activated(int index)
{
    // The open database is saved before the next one loads; an edit in
    // progress belongs to it.
    m_grid->commitOpenEditor();
    m_controller.openSection(index);
    applyGridColumns();
    m_grid->focusFirstCell();
}

void frmMain::BuildMenu()
{
    m_menuBar->rebuild(ReportToolUsers(m_controller.settings()).anySetUp());
    if (QMenu *edit = m_menuBar->findChild<QMenu *>(QStringLiteral("keyEdit")))
        connect(edit, &QMenu::aboutToShow, &m_editing->actions(),
                &GridEditActions::updateActionStates);
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
    // A shortcut or a direct call may still ask for what needs an open file.
    if (CommandTable::needsOpenDatabase(command) &&
        (!m_controller.CurrentDatabase() || m_controller.CurrentPath().isEmpty()))
        return;
    switch (command) {
    case Command::None:
    case Command::Open:
        return;
    case Command::SaveAs:
        m_controller.SaveDatabaseAs();
        return;
    case Command::Install:
        Install_Click();
        return;
    case Command::Help:
        helpCommand();
        return;
    case Command::PrintPreview:
    case Command::ToolbarPrintPreview:
        ReportCommands::printPreview(reportContext(), command == Command::ToolbarPrintPreview);
        return;
    case Command::ChangeUser:
        changeUserCommand();
        return;
    case Command::Reports:
        ReportCommands::reports(reportContext());
        return;
    case Command::ImportCSV:
        m_controller.ImportCSV_Click();
        return;
    case Command::ExportCSV:
        m_controller.ExportCSV_Click();
        return;
    case Command::EditSchema:
        editSchemaCommand();
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
        return;
    case Command::About:
        showAboutBox(false);
        return;
    case Command::Exit:
        close();
        return;
    case Command::Undo:
    case Command::Redo:
    case Command::Copy:
    case Command::Paste:
    case Command::InsertRecord:
    case Command::DeleteRecords:
    case Command::Find:
    case Command::FindNext:
    case Command::FindPrevious:
    case Command::Replace:
    case Command::GoToRecord:
    case Command::SortRecords:
        m_tools->run(command);
        return;
    }
}

ReportCommands::Context frmMain::reportContext()
{
    return {m_controller, m_prompter, m_launcher, m_grid->model(), this, m_modalShower};
}

void frmMain::Install_Click()
{
    m_controller.Install_Click();
}

void frmMain::changeUserCommand()
{
    if (m_controller.changeUser()) {
        if (m_controller.isQuitRequested())
            return;
        ChangeUser();
    }
    BuildMenu();
}

void frmMain::helpCommand()
{
    const QString path = m_controller.helpFilePath();
    if (!m_opener.openDocument(path))
        m_prompter.message(QStringLiteral("The help document could not be opened:\n") + path,
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}

void frmMain::editSchemaCommand()
{
    // One editor: asking again brings it forward.
    if (m_schemaEditor) {
        m_schemaEditor->raise();
        m_schemaEditor->activateWindow();
        return;
    }
    auto *editor = new SchemaEditor(
        {m_prompter, m_controller.server(), [this] { return m_controller.PalmUser(); }}, this);
    editor->setWindowFlag(Qt::Window);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->setDialogShower([this](QDialog &dialog) {
        m_modalShower(dialog);
        return dialog.result() == QDialog::Accepted;
    });
    connect(editor, &SchemaEditor::fileSaved, this, &frmMain::schemaSaved);
    m_schemaEditor = editor;
    editor->show();
    if (!editor->openFile(m_controller.state().schemaFile()))
        editor->close();
}

void frmMain::schemaSaved(const QString &path)
{
    // A copy saved elsewhere is no concern of the window's.
    if (QFileInfo(path).absoluteFilePath() !=
        QFileInfo(m_controller.state().schemaFile()).absoluteFilePath())
        return;
    m_grid->commitOpenEditor();
    m_controller.schemaFileChanged();
    m_editing->setSourceModel(m_controller.viewModel());
    applyGridColumns();
}

void frmMain::chkGroup_Click()
{
    m_grid->commitOpenEditor();
    m_controller.setGrouped(m_chkGroup->isChecked());
    m_editing->setSourceModel(m_controller.viewModel());
    applyGridColumns();
    m_grid->focusFirstCell();
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
