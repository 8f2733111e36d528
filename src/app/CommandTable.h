#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

namespace Ledgerly {

// Every command the main window can run, whichever way it was asked for.
enum class Command {
    None,
    ChangeUser,
    Save,
    SaveAs,
    ExportCSV,
    ImportCSV,
    EditSchema,
    Install,
    PrintPreview,
    ToolbarPrintPreview, // the toolbar's variant skips the report-tool presence test
    Reports,
    ClearPDB,
    Exit,
    Help,
    About,
    Open,
    // The Edit menu.
    Undo,
    Redo,
    Copy,
    Paste,
    InsertRecord,
    DeleteRecords,
    Find,
    FindNext,
    FindPrevious,
    Replace,
    GoToRecord,
    SortRecords,
};

// One entry of the menu: a top-level menu has no parent; a separator has an
// empty key and caption. Kinds keep the menu component's numbers.
struct MenuItem
{
    enum Kind : int { Plain = 0, Item = 1, Separator = 3 };

    QString parentKey;
    QString key;
    int kind = Plain;
    QString caption;
    int shortcutModifier = 0; // 1 Shift, 2 Ctrl, 4 Alt
    int shortcutKeyCode = 0;  // a Qt::Key (for letters, the letter's ASCII code)
    // Further keys for the same item (Redo is also Ctrl+Shift+Z).
    QList<QKeySequence> otherShortcuts;

    bool isSeparator() const { return kind == Separator; }
    bool isTopLevel() const { return parentKey.isEmpty(); }
    QKeySequence shortcut() const;
    QList<QKeySequence> shortcuts() const;
};

struct ToolbarButton
{
    int number = 0; // from 1
    QString caption;
    QString key;
    QString tooltip;
};

// The menu the window builds, the toolbar's buttons and the two dispatchers
// that turn a click into a command.
class CommandTable
{
public:
    static constexpr int shiftModifier = 1;
    static constexpr int ctrlModifier = 2;
    static constexpr int altModifier = 4;

    // The menu in building order. The Reports item is there only when a report
    // tool is set up.
    static QList<MenuItem> menuItems(bool reportToolSetUp);
    static QList<ToolbarButton> toolbarButtons();

    // Keys are compared without regard to case; an unknown key gives None.
    static Command commandForKey(const QString &key);
    // Button numbers count from 1; anything else gives None.
    static Command commandForButton(int number);
    // Commands that work on the open database, offered only while one is.
    static bool needsOpenDatabase(Command command);
};

} // namespace Ledgerly
