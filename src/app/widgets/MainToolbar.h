#pragma once

#include <QToolBar>

#include <functional>

namespace Ledgerly {

// The main window's toolbar (Toolbar2): the command table's six buttons,
// each reporting its number (from 1) when clicked.
class MainToolbar : public QToolBar
{
    Q_OBJECT
public:
    using ButtonClick = std::function<void(int number)>;

    MainToolbar(ButtonClick onClick, QWidget *parent = nullptr);
    // Buttons that work on the open database are off while none is open.
    void setDatabaseOpen(bool open);

private:
    ButtonClick m_onClick;
};

} // namespace Ledgerly
