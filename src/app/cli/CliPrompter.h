#pragma once

#include "common/Prompter.h"

#include <QTextStream>

namespace Ledgerly::Cli {

// The command line's answer to every question: messages are printed to the
// error stream and acknowledged, questions are refused (No, or Cancel where
// offered), file dialogs are cancelled and the user dialog is not accepted.
// Nothing ever waits for a person.
class CliPrompter : public Prompter
{
public:
    explicit CliPrompter(QTextStream &err)
        : m_err(err)
    {}

    int message(const QString &text, Buttons buttons, Icon icon,
                const QString &title = {}) override;
    QString fileName(const FileRequest &request) override;
    void chooseUser(UserChoice &choice) override;
    // --force: yes/no questions are answered Yes instead of No.
    void setForce(bool force) { m_force = force; }

private:
    QTextStream &m_err;
    bool m_force = false;
};

} // namespace Ledgerly::Cli
