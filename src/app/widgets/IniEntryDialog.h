#pragma once

#include "catalogue/SchemaEdit.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Ledgerly {

// The small add/edit dialog for one entry: a name and a value (a key and its
// value, a field and its caption, a section and its display name), and for
// a field its role. OK runs the check first; what it refuses is said in the
// dialog, which stays open so nothing typed is lost.
class IniEntryDialog : public QDialog
{
    Q_OBJECT
public:
    using Check = std::function<QString()>;

    IniEntryDialog(const QString &title, const QString &nameLabel, const QString &valueLabel,
                   QWidget *parent = nullptr);

    void setCheck(Check check) { m_check = std::move(check); }
    void setRoleShown(bool shown);

    QString name() const;
    void setName(const QString &name);
    QString value() const;
    void setValue(const QString &value);
    FieldRole role() const;
    void setRole(FieldRole role);
    // True once a role was picked in the dialog (the same one too).
    bool roleChosen() const { return m_roleChosen; }

    QLineEdit *nameEdit() const { return m_name; }
    QLineEdit *valueEdit() const { return m_value; }
    QComboBox *roleBox() const { return m_role; }
    QLabel *problemLabel() const { return m_problem; }

    void accept() override;

private:
    QLineEdit *m_name;
    QLineEdit *m_value;
    QLabel *m_roleLabel;
    QComboBox *m_role;
    QLabel *m_problem;
    Check m_check;
    bool m_roleChosen = false;
};

} // namespace Ledgerly
