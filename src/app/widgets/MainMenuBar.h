#pragma once

#include <QMenuBar>

#include <functional>

namespace Ledgerly {

// The main window's menu bar (SmartMenuXP1), built from the command table.
// A rebuild starts from nothing, so building twice never adds a second copy,
// and it may be asked for from a click inside one of its own menus.
class MainMenuBar : public QMenuBar
{
    Q_OBJECT
public:
    using ItemClick = std::function<void(const QString &key)>;
    // An action that already exists for a menu key (the table's editing
    // actions), or null for one the menu makes itself.
    using ActionSource = std::function<QAction *(const QString &key)>;

    MainMenuBar(ItemClick onClick, QWidget *parent = nullptr);

    // The report tools' items are listed only when the tools are set up.
    void rebuild(bool reportToolSetUp);
    // Items whose action exists elsewhere put that action in the menu, with
    // the menu's caption and keys, working wherever the focus is in the
    // window: one action per command, so a key never has two owners.
    void setActionSource(ActionSource source) { m_actionSource = std::move(source); }
    // Items that work on the open database are off while none is open.
    void setDatabaseOpen(bool open);

private:
    ItemClick m_onClick;
    ActionSource m_actionSource;
    QList<QMenu *> m_menus;
    // Menu clicks being delivered: the menu that delivers one must outlive it.
    int m_clickDepth = 0;
    bool m_databaseOpen = true;
};

} // namespace Ledgerly
