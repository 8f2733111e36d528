#include "WidgetPrompter.h"

#include "frmNames.h"
#include "grid/widgets/TextEdit.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace Ledgerly {

QString WidgetPrompter::applicationTitle() const
{
    const QString title = m_title ? m_title() : QString();
    return title.isEmpty() ? QApplication::applicationName() : title;
}

int WidgetPrompter::message(const QString &text, Buttons buttons, Icon icon, const QString &title)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    // Messages keep Windows line ends in their texts; the box wants plain ones.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);

    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }

    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }

    switch (box.exec()) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    case QMessageBox::Cancel:
        return Cancel;
    default:
        // Closing a Yes/No box by its close button counts as No.
        return buttons == Buttons::Ok ? Ok : (buttons == Buttons::YesNoCancel ? Cancel : No);
    }
}

QString WidgetPrompter::fileName(const FileRequest &request)
{
    QFileDialog dialog(m_parent, request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.filter.isEmpty())
        dialog.setNameFilter(request.filter);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    if (!request.fileName.isEmpty()) {
        // A pattern such as "*.CSV" is a filter hint, not a name to propose.
        const QString name = QFileInfo(request.fileName).fileName();
        if (!name.contains(QLatin1Char('*')))
            dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void WidgetPrompter::chooseUser(UserChoice &choice)
{
    frmNames dialog(m_parent);
    dialog.UserList = choice.UserList;
    dialog.ChosenUser = choice.ChosenUser;
    dialog.AlwaysUseChoice = choice.AlwaysUseChoice;
    dialog.Form_Load();
    dialog.exec();
    choice.ChosenUser = dialog.ChosenUser;
    choice.AlwaysUseChoice = dialog.AlwaysUseChoice;
    choice.Accepted = dialog.Accepted;
}

bool WidgetPrompter::editText(TextRequest &request)
{
    TextEdit editor(m_parent);
    editor.Form_Load(request.row, request.column, request.text);
    if (editor.exec() != QDialog::Accepted)
        return false;
    request.text = editor.resultText();
    return true;
}

bool WidgetPrompter::askNumber(NumberRequest &request)
{
    bool ok = false;
    const int value = QInputDialog::getInt(
        m_parent, request.title.isEmpty() ? applicationTitle() : request.title, request.label,
        request.value, request.minimum, request.maximum, 1, &ok);
    if (ok)
        request.value = value;
    return ok;
}

} // namespace Ledgerly
