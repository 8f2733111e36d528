#include "ChoiceDelegate.h"

#include <QComboBox>

namespace Ledgerly {

ChoiceDelegate::ChoiceDelegate(int choicesRole, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_choicesRole(choicesRole)
{}

QWidget *ChoiceDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    const QStringList choices = index.data(m_choicesRole).toStringList();
    if (choices.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *box = new QComboBox(parent);
    box->addItems(choices);
    // A choice made is the edit: it is written at once, as a check box would.
    connect(box, &QComboBox::activated, this, [this, box] {
        auto *self = const_cast<ChoiceDelegate *>(this);
        Q_EMIT self->commitData(box);
        Q_EMIT self->closeEditor(box);
    });
    return box;
}

void ChoiceDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        box->setCurrentText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void ChoiceDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                  const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace Ledgerly
