#include "IniEntryDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Ledgerly {

namespace {
const QList<FieldRole> roles = {FieldRole::Shown, FieldRole::Hidden, FieldRole::Group,
                                FieldRole::Calc};
} // namespace

IniEntryDialog::IniEntryDialog(const QString &title, const QString &nameLabel,
                               const QString &valueLabel, QWidget *parent)
    : QDialog(parent)
    , m_name(new QLineEdit(this))
    , m_value(new QLineEdit(this))
    , m_roleLabel(new QLabel(QStringLiteral("&Role:"), this))
    , m_role(new QComboBox(this))
    , m_problem(new QLabel(this))
{
    setObjectName(QStringLiteral("IniEntryDialog"));
    setWindowTitle(title);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_value->setObjectName(QStringLiteral("txtValue"));
    m_role->setObjectName(QStringLiteral("cboRole"));
    m_problem->setObjectName(QStringLiteral("lblProblem"));
    for (FieldRole role : roles)
        m_role->addItem(roleName(role));
    connect(m_role, &QComboBox::activated, this, [this] { m_roleChosen = true; });
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #a00000"));
    m_problem->hide();

    auto *form = new QFormLayout;
    auto *name = new QLabel(nameLabel, this);
    name->setBuddy(m_name);
    auto *value = new QLabel(valueLabel, this);
    value->setBuddy(m_value);
    m_roleLabel->setBuddy(m_role);
    form->addRow(name, m_name);
    form->addRow(value, m_value);
    form->addRow(m_roleLabel, m_role);
    setRoleShown(false);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &IniEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &IniEntryDialog::reject);
    // A new attempt clears the last refusal.
    for (QLineEdit *edit : {m_name, m_value})
        connect(edit, &QLineEdit::textEdited, m_problem, &QLabel::hide);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void IniEntryDialog::setRoleShown(bool shown)
{
    m_roleLabel->setVisible(shown);
    m_role->setVisible(shown);
}

QString IniEntryDialog::name() const
{
    return m_name->text();
}

void IniEntryDialog::setName(const QString &name)
{
    m_name->setText(name);
}

QString IniEntryDialog::value() const
{
    return m_value->text();
}

void IniEntryDialog::setValue(const QString &value)
{
    m_value->setText(value);
}

FieldRole IniEntryDialog::role() const
{
    return roles.value(m_role->currentIndex(), FieldRole::Shown);
}

void IniEntryDialog::setRole(FieldRole role)
{
    m_role->setCurrentIndex(int(roles.indexOf(role)));
}

void IniEntryDialog::accept()
{
    const QString problem = m_check ? m_check() : QString();
    if (!problem.isEmpty()) {
        m_problem->setText(problem);
        m_problem->show();
        return;
    }
    QDialog::accept();
}

} // namespace Ledgerly
