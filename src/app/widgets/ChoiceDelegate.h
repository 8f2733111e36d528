#pragma once

#include <QStyledItemDelegate>

namespace Ledgerly {

// Edits a cell whose model offers a list of values (in the role given) with
// a drop-down list; other cells get the usual editor.
class ChoiceDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    ChoiceDelegate(int choicesRole, QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

private:
    int m_choicesRole;
};

} // namespace Ledgerly
