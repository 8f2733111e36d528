#include "frmNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Ledgerly {

frmNames::frmNames(QWidget *parent)
    : QDialog(parent)
    , m_label1(new QLabel(QStringLiteral("HotSync User:"), this))
    , m_cboUsers(new QComboBox(this))
    , m_chkAlways(new QCheckBox(QStringLiteral("Always use this name"), this))
    , m_cmdOK(new QPushButton(QStringLiteral("OK"), this))
    , m_cmdCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmNames"));
    setWindowTitle(QStringLiteral("Select HotSync Username"));
    setModal(true);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_cboUsers->setObjectName(QStringLiteral("cboUsers"));
    m_chkAlways->setObjectName(QStringLiteral("chkAlways"));
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    // A name may be typed as well as chosen.
    m_cboUsers->setEditable(true);
    m_cboUsers->setInsertPolicy(QComboBox::NoInsert);
    m_cboUsers->setMinimumContentsLength(24);
    m_label1->setBuddy(m_cboUsers);
    m_cmdOK->setDefault(true);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cmdCancel, QDialogButtonBox::RejectRole);

    auto *form = new QFormLayout;
    form->addRow(m_label1, m_cboUsers);
    form->addRow(QString(), m_chkAlways);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmNames::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmNames::cmdCancel_Click);
}

void frmNames::Form_Load()
{
    m_loaded = true;
    m_chkAlways->setChecked(AlwaysUseChoice);
    m_cboUsers->clear();
    m_cboUsers->addItems(UserList);
    const int exact = int(UserList.indexOf(ChosenUser));
    m_cboUsers->setCurrentIndex(exact >= 0 ? exact : (UserList.isEmpty() ? -1 : 0));
    if (UserList.isEmpty())
        m_cboUsers->setEditText(QString());
    Accepted = false;
}

void frmNames::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        Form_Load();
    QDialog::showEvent(event);
}

void frmNames::cmdOK_Click()
{
    ChosenUser = m_cboUsers->currentText();
    AlwaysUseChoice = m_chkAlways->isChecked();
    Accepted = !ChosenUser.isEmpty();
    accept();
}

void frmNames::cmdCancel_Click()
{
    Accepted = false;
    reject();
}

} // namespace Ledgerly
