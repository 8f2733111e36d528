// The schema editor's file commands: open, save, save as, the question about
// unsaved changes and taking a database file into the schema.
#include "IniEntryDialog.h"
#include "SchemaEditor.h"

#include "catalogue/IniDocument.h"
#include "common/Prompter.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"
#include "document/DatabaseAdoption.h"

#include <QDir>
#include <QFileInfo>

namespace Ledgerly {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

Prompter::FileRequest iniRequest(const QString &title, const QString &current, bool save)
{
    Prompter::FileRequest request;
    request.title = title;
    request.initialFolder = QFileInfo(current).absolutePath();
    request.fileName = save ? current : QString();
    request.defaultSuffix = QStringLiteral("ini");
    request.filter = QStringLiteral("INI files (*.ini *.INI);;All files (*)");
    request.save = save;
    request.confirmOverwrite = true;
    return request;
}

} // namespace

bool SchemaEditor::openFile(const QString &path)
{
    if (!confirmDiscard())
        return false;
    QString problem;
    if (!m_document.open(path, &problem)) {
        m_prompter.message(QStringLiteral("%1 was not opened and is left as it is.\r\n\r\n%2")
                               .arg(native(path), problem),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    warnIfUnwritable();
    return true;
}

void SchemaEditor::warnIfUnwritable()
{
    const QString why = IniEditorDocument::writeProblem(m_document.path());
    if (why.isEmpty())
        return;
    m_prompter.message(QStringLiteral("Changes to %1 cannot be saved where it is: %2.\r\n\r\n"
                                      "You can still make them and save them elsewhere with "
                                      "Save As...")
                           .arg(native(m_document.path()), why),
                       Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}

void SchemaEditor::openCommand()
{
    const QString path =
        m_prompter.fileName(iniRequest(QStringLiteral("Open INI File"), m_document.path(), false));
    if (!path.isEmpty())
        openFile(path);
}

bool SchemaEditor::saveCommand()
{
    if (m_document.path().isEmpty())
        return saveAsCommand();
    const SafeFile::Result result = m_document.save();
    return result.ok() || saveFailed(result);
}

bool SchemaEditor::saveAsCommand()
{
    const QString path = m_prompter.fileName(
        iniRequest(QStringLiteral("Save INI File As"), m_document.path(), true));
    if (path.isEmpty())
        return false;
    const SafeFile::Result result = m_document.saveAs(path);
    return result.ok() || saveFailed(result);
}

bool SchemaEditor::saveFailed(const SafeFile::Result &result)
{
    // The changes are only in this window now; nothing is dropped until they
    // are somewhere else or the person says so.
    const int answer = m_prompter.message(
        result.message + QStringLiteral("\r\n\r\nYour changes are kept here. Save them in "
                                        "another file with Save As...?"),
        Prompter::Buttons::YesNo, Prompter::Icon::Exclamation);
    return answer == Prompter::Yes && saveAsCommand();
}

bool SchemaEditor::confirmDiscard()
{
    if (!m_document.isModified())
        return true;
    const int answer =
        m_prompter.message(QStringLiteral("Save the changes to %1?").arg(native(m_document.path())),
                           Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
    if (answer == Prompter::Cancel)
        return false;
    return answer == Prompter::No || saveCommand();
}

void SchemaEditor::newFromDatabaseFile()
{
    const QString user = m_palmUser ? m_palmUser() : QString();
    QString folder;
    try {
        folder = m_server.GetUserFolder(user);
    } catch (const PdbError &) {
        // Without a HotSync folder the file can still be taken in; it just
        // cannot be copied where the window looks for it.
    }
    Prompter::FileRequest request;
    request.title = QStringLiteral("New from Database File");
    request.initialFolder = folder;
    request.filter = QStringLiteral("PDB - Palm Database files (*.pdb *.PDB)");
    request.save = false;
    const QString file = m_prompter.fileName(request);
    if (file.isEmpty())
        return;

    DatabaseAdoption adoption;
    try {
        adoption = DatabaseAdoption::read(m_server, file);
    } catch (const PdbError &e) {
        const QString head = e.number() == ErrDamaged
                                 ? QStringLiteral("Error 13: The Database %1 is corrupted or not "
                                                  "a database of this kind.")
                                       .arg(native(file))
                                 : QStringLiteral("Error %1: %2 could not be read.")
                                       .arg(e.number())
                                       .arg(native(file));
        m_prompter.message(head + QStringLiteral("\r\n\r\n%1\r\n\r\nNothing was added to the "
                                                 "schema.")
                                      .arg(e.message()),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }

    IniEntryDialog dialog(QStringLiteral("New from Database File"), QStringLiteral("&Section:"),
                          QStringLiteral("&Display name:"), this);
    dialog.setName(adoption.section);
    dialog.setValue(adoption.displayName);
    const auto edit = [&](IniText &text) {
        DatabaseAdoption chosen = adoption;
        chosen.section = dialog.name();
        chosen.displayName = dialog.value();
        return chosen.addTo(text);
    };
    dialog.setCheck([&] {
        IniText scratch = m_document.text();
        return edit(scratch);
    });
    if (!m_showDialog(dialog))
        return;
    adoption.section = dialog.name();
    adoption.displayName = dialog.value();

    if (!folder.isEmpty() && !adoption.isIn(folder)) {
        const int answer = m_prompter.message(
            QStringLiteral("For %1 the window opens %2, and %3 is not that file.\r\n\r\n"
                           "Copy it there?")
                .arg(user, native(adoption.pathIn(folder)), native(file)),
            Prompter::Buttons::YesNo, Prompter::Icon::Question);
        if (answer == Prompter::Yes) {
            if (const SafeFile::Result copied = adoption.copyTo(folder); !copied.ok()) {
                report(copied.message + QStringLiteral("\r\n\r\nNothing was added to the schema."));
                return;
            }
        }
    }
    const int sections = m_document.text().document().sectionCount();
    report(m_document.apply(QStringLiteral("New from Database File"), edit, {sections, -1, -1}));
}

} // namespace Ledgerly
