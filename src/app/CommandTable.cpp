#include "CommandTable.h"

#include <utility>

namespace Ledgerly {

namespace {

struct KeyCommand
{
    const char16_t *key;
    Command command;
};

// Order matters only in that the first match wins, as in the menu dispatcher.
constexpr KeyCommand dispatchTable[] = {
    {u"keySaveAs", Command::SaveAs},
    {u"keyInstall", Command::Install},
    {u"keyH&elp", Command::Help},
    {u"keyPrintPreview", Command::PrintPreview},
    {u"keyChangeUser", Command::ChangeUser},
    {u"keyReports", Command::Reports},
    {u"keyOpen", Command::Open},
    {u"keyImportCSV", Command::ImportCSV},
    {u"keyExportCSV", Command::ExportCSV},
    {u"keyEditSchema", Command::EditSchema},
    {u"keyClearPDB", Command::ClearPDB},
    {u"keySave", Command::Save},
    {u"keyAbout", Command::About},
    {u"keyExit", Command::Exit},
    {u"keyUndo", Command::Undo},
    {u"keyRedo", Command::Redo},
    {u"keyCopy", Command::Copy},
    {u"keyPaste", Command::Paste},
    {u"keyInsertRecord", Command::InsertRecord},
    {u"keyDeleteRecords", Command::DeleteRecords},
    {u"keyFind", Command::Find},
    {u"keyFindNext", Command::FindNext},
    {u"keyFindPrevious", Command::FindPrevious},
    {u"keyReplace", Command::Replace},
    {u"keyGoToRecord", Command::GoToRecord},
    {u"keySortRecords", Command::SortRecords},
};

MenuItem item(const char16_t *parent, const char16_t *key, int kind, const char16_t *caption,
              int modifier = 0, int keyCode = 0)
{
    return MenuItem{QString::fromUtf16(parent),
                    QString::fromUtf16(key),
                    kind,
                    QString::fromUtf16(caption),
                    modifier,
                    keyCode,
                    {}};
}

MenuItem separator(const char16_t *parent)
{
    return item(parent, u"", MenuItem::Separator, u"");
}

} // namespace

QKeySequence MenuItem::shortcut() const
{
    if (shortcutKeyCode == 0)
        return {};
    int modifiers = 0;
    if (shortcutModifier & CommandTable::ctrlModifier)
        modifiers |= Qt::CTRL;
    if (shortcutModifier & CommandTable::altModifier)
        modifiers |= Qt::ALT;
    if (shortcutModifier & CommandTable::shiftModifier)
        modifiers |= Qt::SHIFT;
    // Letter and digit key codes are the characters' codes, as in Qt::Key.
    return QKeySequence(modifiers | shortcutKeyCode);
}

QList<QKeySequence> MenuItem::shortcuts() const
{
    QList<QKeySequence> keys;
    if (!shortcut().isEmpty())
        keys.append(shortcut());
    return keys + otherShortcuts;
}

QList<MenuItem> CommandTable::menuItems(bool reportToolSetUp)
{
    constexpr int ctrl = ctrlModifier;
    constexpr int alt = altModifier;
    QList<MenuItem> items;
    items << item(u"", u"keyFile", MenuItem::Plain, u"&File")
          << item(u"keyFile", u"KeyChangeUser", MenuItem::Item, u"&ChangeUser", ctrl, 67)
          << separator(u"keyFile")
          << item(u"keyFile", u"keySave", MenuItem::Item, u"&Save", ctrl, 83)
          << item(u"keyFile", u"keySaveAs", MenuItem::Item, u"Save &As...") << separator(u"keyFile")
          << item(u"keyFile", u"keyExportCSV", MenuItem::Item, u"Export CSV...")
          // Without this item the import could not be reached from the window.
          << item(u"keyFile", u"keyImportCSV", MenuItem::Item, u"Import CSV...")
          // Databases are added and changed without editing QuayDB.ini by hand.
          << item(u"keyFile", u"keyEditSchema", MenuItem::Item, u"Edit Schema...")
          << separator(u"keyFile")
          << item(u"keyFile", u"keyInstall", MenuItem::Item, u"Install...", ctrl, 73)
          << item(u"keyFile", u"keyPrintPreview", MenuItem::Item, u"Print Preview", ctrl, 80);
    if (reportToolSetUp)
        items << item(u"keyFile", u"keyReports", MenuItem::Item, u"Reports", ctrl, 82);
    items << item(u"keyFile", u"keyClearPDB", MenuItem::Item, u"Clear Database", ctrl, 88)
          << separator(u"keyFile")
          << item(u"keyFile", u"keyExit", MenuItem::Plain, u"E&xit", alt, 81);
    // The table's own editing commands keep their captions; their keys work
    // wherever the focus is in the window (a cell editor keeps its own).
    constexpr int shift = shiftModifier;
    MenuItem redo = item(u"keyEdit", u"keyRedo", MenuItem::Item, u"Redo", ctrl, Qt::Key_Y);
    redo.otherShortcuts = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    MenuItem paste = item(u"keyEdit", u"keyPaste", MenuItem::Item, u"Paste", ctrl, Qt::Key_V);
    paste.otherShortcuts = {QKeySequence(Qt::SHIFT | Qt::Key_Insert)};
    items << item(u"", u"keyEdit", MenuItem::Plain, u"&Edit")
          << item(u"keyEdit", u"keyUndo", MenuItem::Item, u"Undo", ctrl, Qt::Key_Z) << redo
          << item(u"keyEdit", u"keyCopy", MenuItem::Item, u"Copy", ctrl, Qt::Key_Insert) << paste
          << item(u"keyEdit", u"keyInsertRecord", MenuItem::Item, u"Insert Record")
          << item(u"keyEdit", u"keyDeleteRecords", MenuItem::Item, u"Delete Record(s)")
          << separator(u"keyEdit")
          << item(u"keyEdit", u"keyFind", MenuItem::Item, u"&Find...", ctrl, Qt::Key_F)
          << item(u"keyEdit", u"keyFindNext", MenuItem::Item, u"Find &Next", 0, Qt::Key_F3)
          << item(u"keyEdit", u"keyFindPrevious", MenuItem::Item, u"Find &Previous", shift,
                  Qt::Key_F3)
          << item(u"keyEdit", u"keyReplace", MenuItem::Item, u"&Replace...", ctrl, Qt::Key_H)
          << item(u"keyEdit", u"keyGoToRecord", MenuItem::Item, u"&Go to Record...", ctrl,
                  Qt::Key_G)
          << separator(u"keyEdit")
          << item(u"keyEdit", u"keySortRecords", MenuItem::Item, u"&Sort Records");
    items << item(u"", u"keyHelp", MenuItem::Plain, u"&Help") << separator(u"keyHelp")
          << item(u"keyHelp", u"keyH&elp", MenuItem::Plain, u"H&elp") << separator(u"keyHelp")
          << item(u"keyHelp", u"keyAbout", MenuItem::Plain, u"&About...");
    return items;
}

QList<ToolbarButton> CommandTable::toolbarButtons()
{
    auto button = [](int number, const char16_t *caption, const char16_t *key) {
        return ToolbarButton{number, QString::fromUtf16(caption), QString::fromUtf16(key),
                             QString::fromUtf16(key)};
    };
    return {button(1, u"Save && Install", u"SAVE"), button(2, u"Print Preview", u"PRINT"),
            button(3, u"Export CSV", u"OPEN"),      button(4, u"Backup/SaveAs", u"COPY"),
            button(5, u"Exit", u"W95MBX01"),        button(6, u"Help", u"Contents")};
}

Command CommandTable::commandForKey(const QString &key)
{
    for (const KeyCommand &entry : dispatchTable) {
        if (key.compare(QString::fromUtf16(entry.key), Qt::CaseInsensitive) == 0)
            return entry.command;
    }
    return Command::None;
}

bool CommandTable::needsOpenDatabase(Command command)
{
    switch (command) {
    case Command::Save:
    case Command::SaveAs:
    case Command::ExportCSV:
    case Command::ImportCSV:
    case Command::Install:
    case Command::PrintPreview:
    case Command::ToolbarPrintPreview:
    case Command::ClearPDB:
        return true;
    default:
        return false;
    }
}

Command CommandTable::commandForButton(int number)
{
    switch (number) {
    case 1:
        return Command::Save;
    case 2:
        return Command::ToolbarPrintPreview;
    case 3:
        return Command::ExportCSV;
    case 4:
        return Command::SaveAs;
    case 5:
        return Command::Exit;
    case 6:
        return Command::Help;
    default:
        return Command::None;
    }
}

} // namespace Ledgerly
