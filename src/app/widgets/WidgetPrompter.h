#pragma once

#include "common/Prompter.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace Ledgerly {

// The program's questions as real dialogs: message boxes, file dialogs and
// the HotSync user dialog and the cell text editor, owned by the main window once it exists.
class WidgetPrompter : public Prompter
{
public:
    WidgetPrompter() = default;

    void setParentWidget(QWidget *parent) { m_parent = parent; }
    // The application's title for messages that give none.
    void setTitleSource(std::function<QString()> source) { m_title = std::move(source); }

    int message(const QString &text, Buttons buttons, Icon icon,
                const QString &title = {}) override;
    QString fileName(const FileRequest &request) override;
    void chooseUser(UserChoice &choice) override;
    bool editText(TextRequest &request) override;
    bool askNumber(NumberRequest &request) override;

private:
    QString applicationTitle() const;

    QPointer<QWidget> m_parent;
    std::function<QString()> m_title;
};

} // namespace Ledgerly
