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

    MainMenuBar(ItemClick onClick, QWidget *parent = nullptr);

    // The report tools' items are listed only when the tools are set up.
    void rebuild(bool reportToolSetUp);
    // Items that work on the open database are off while none is open.
    void setDatabaseOpen(bool open);

private:
    ItemClick m_onClick;
    QList<QMenu *> m_menus;
    // Menu clicks being delivered: the menu that delivers one must outlive it.
    int m_clickDepth = 0;
    bool m_databaseOpen = true;
};

} // namespace Ledgerly
