#include "CliPrompter.h"

namespace Ledgerly::Cli {

int CliPrompter::message(const QString &text, Buttons buttons, Icon icon, const QString &title)
{
    Q_UNUSED(icon);
    // Messages keep their CR LF line breaks for the window; a terminal wants LF.
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_err << "ledgerly-cli: ";
    if (!title.isEmpty())
        m_err << title << ": ";
    m_err << plain.trimmed() << "\n";
    switch (buttons) {
    case Buttons::Ok:
        return Ok;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo:
        if (m_force) {
            m_err << "ledgerly-cli: (answered Yes: --force)\n";
            return Yes;
        }
        m_err << "ledgerly-cli: (answered No; --force answers Yes)\n";
        return No;
    case Buttons::YesNoCancel:
        m_err << "ledgerly-cli: (answered Cancel)\n";
        return Cancel;
    }
    return Cancel;
}

QString CliPrompter::fileName(const FileRequest &request)
{
    Q_UNUSED(request);
    m_err << "ledgerly-cli: a file dialog is not available here (cancelled)\n";
    return {};
}

void CliPrompter::chooseUser(UserChoice &choice)
{
    choice.Accepted = false;
}

} // namespace Ledgerly::Cli
