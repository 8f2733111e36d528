#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace Ledgerly {

// "Select HotSync Username": the Palm user dialog. The public fields are set
// before it is shown and read after it closes.
class frmNames : public QDialog
{
    Q_OBJECT
public:
    explicit frmNames(QWidget *parent = nullptr);

    QStringList UserList;
    QString ChosenUser;
    bool AlwaysUseChoice = true;
    bool Accepted = false;

    // Fills the controls from the fields; run by showEvent, callable directly.
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

    QComboBox *cboUsers() const { return m_cboUsers; }
    QCheckBox *chkAlways() const { return m_chkAlways; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_label1;
    QComboBox *m_cboUsers;
    QCheckBox *m_chkAlways;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
    bool m_loaded = false;
};

} // namespace Ledgerly
