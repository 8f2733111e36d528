#include "MainToolbar.h"

#include "app/CommandTable.h"

#include <QAction>

#include <utility>

namespace Ledgerly {

MainToolbar::MainToolbar(ButtonClick onClick, QWidget *parent)
    : QToolBar(parent)
    , m_onClick(std::move(onClick))
{
    setObjectName(QStringLiteral("Toolbar2"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(24, 24));
    setStyleSheet(QStringLiteral("QToolBar { background: transparent; border: none; }"));
    static const char16_t *const icons[] = {u"save",   u"print-preview", u"export-csv",
                                            u"backup", u"exit",          u"help"};
    for (const ToolbarButton &button : CommandTable::toolbarButtons()) {
        const QString name = QString::fromUtf16(icons[button.number - 1]);
        QIcon icon;
        icon.addFile(QStringLiteral(":/icons/%1-24.png").arg(name), QSize(24, 24));
        icon.addFile(QStringLiteral(":/icons/%1-48.png").arg(name), QSize(48, 48));
        QAction *action = addAction(icon, button.caption);
        // The caption is shown as a label, where "&&" stands for one "&".
        action->setIconText(button.caption);
        action->setObjectName(button.key);
        action->setToolTip(button.tooltip);
        const int number = button.number;
        action->setData(number);
        connect(action, &QAction::triggered, this, [this, number] { m_onClick(number); });
    }
}

void MainToolbar::setDatabaseOpen(bool open)
{
    for (QAction *action : actions())
        if (CommandTable::needsOpenDatabase(CommandTable::commandForButton(action->data().toInt())))
            action->setEnabled(open);
}

} // namespace Ledgerly
