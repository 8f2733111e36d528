#include "MainMenuBar.h"

#include "app/CommandTable.h"

#include <QHash>
#include <QMenu>
#include <QScopeGuard>

#include <utility>

namespace Ledgerly {

MainMenuBar::MainMenuBar(ItemClick onClick, QWidget *parent)
    : QMenuBar(parent)
    , m_onClick(std::move(onClick))
{
    setObjectName(QStringLiteral("SmartMenuXP1"));
    setNativeMenuBar(false); // it is laid out with the rest of the window
}

void MainMenuBar::rebuild(bool reportToolSetUp)
{
    clear();
    for (QMenu *menu : std::as_const(m_menus)) {
        // The change-user item rebuilds the menu it was clicked in; that menu
        // is still delivering the click, so it goes once the click is over.
        if (m_clickDepth > 0) {
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
    for (const MenuItem &item : CommandTable::menuItems(reportToolSetUp)) {
        if (item.isTopLevel()) {
            QMenu *menu = addMenu(item.caption);
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
        if (QAction *own = m_actionSource ? m_actionSource(item.key) : nullptr) {
            own->setText(item.caption);
            own->setShortcuts(item.shortcuts());
            own->setShortcutContext(Qt::WindowShortcut);
            parentMenu->addAction(own);
            continue;
        }
        QAction *action = parentMenu->addAction(item.caption);
        action->setObjectName(item.key);
        action->setData(item.key);
        action->setShortcuts(item.shortcuts());
        action->setEnabled(m_databaseOpen ||
                           !CommandTable::needsOpenDatabase(CommandTable::commandForKey(item.key)));
        const QString key = item.key;
        connect(action, &QAction::triggered, this, [this, key] {
            ++m_clickDepth;
            const auto done = qScopeGuard([this] { --m_clickDepth; });
            m_onClick(key);
        });
    }
}

void MainMenuBar::setDatabaseOpen(bool open)
{
    m_databaseOpen = open;
    for (QMenu *menu : std::as_const(m_menus))
        for (QAction *action : menu->actions())
            if (!action->isSeparator() &&
                CommandTable::needsOpenDatabase(
                    CommandTable::commandForKey(action->data().toString())))
                action->setEnabled(open);
}

} // namespace Ledgerly
