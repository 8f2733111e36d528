#pragma once

#include "grid/ColumnKind.h"

#include <QStyledItemDelegate>

namespace Ledgerly {

// Draws and edits a cell according to its column's display type: a centred
// check box for yes/no columns, a date/time editor in the user's regional
// format for date columns, a thumbnail for picture columns, text otherwise.
// Enter, like Tab, commits the edit and moves on to the next cell. Group
// header and footer rows are drawn bold on a tint, a header with a marker
// that collapses or expands its group when clicked.
class GridItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

    // The editor's display format for a value of a date column.
    static QString dateTimeFormat(const QVariant &value);

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
    bool eventFilter(QObject *editor, QEvent *event) override;

private:
    static ColumnKind kindAt(const QModelIndex &index);
    static QRect checkBoxRect(const QStyleOptionViewItem &option);
    static QRect groupMarkerRect(const QStyleOptionViewItem &option, const QModelIndex &index);
    void paintGroupRow(QPainter *painter, const QStyleOptionViewItem &option,
                       const QModelIndex &index) const;
};

} // namespace Ledgerly
