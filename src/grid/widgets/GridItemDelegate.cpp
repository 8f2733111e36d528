#include "GridItemDelegate.h"

#include "grid/GridRoles.h"
#include "grid/GridValue.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

namespace Ledgerly {

namespace {

// Group rows: indented by level, a marker square before a header's text.
constexpr int levelIndent = 16;

GridRoles::RowKind rowKind(const QModelIndex &index)
{
    return GridRoles::RowKind(index.data(GridRoles::RowKindRole).toInt());
}

bool isGroupRow(const QModelIndex &index)
{
    const GridRoles::RowKind kind = rowKind(index);
    return kind == GridRoles::RowKind::GroupHeader || kind == GridRoles::RowKind::GroupFooter;
}

} // namespace

ColumnKind GridItemDelegate::kindAt(const QModelIndex &index)
{
    const QAbstractItemModel *model = index.model();
    if (!model || index.column() <= 0 || isGroupRow(index))
        return ColumnKind::Text;
    return GridRoles::kindOf(*model, index.column());
}

QRect GridItemDelegate::groupMarkerRect(const QStyleOptionViewItem &option,
                                        const QModelIndex &index)
{
    const int level = index.data(GridRoles::GroupLevelRole).toInt();
    const int side = qMin(option.rect.height(), levelIndent);
    return QRect(option.rect.left() + 2 + level * levelIndent,
                 option.rect.top() + (option.rect.height() - side) / 2, side, side);
}

void GridItemDelegate::paintGroupRow(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    QStyleOptionViewItem text = option;
    initStyleOption(&text, index);
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    // A tint of the highlight colour sets group rows apart in any colour scheme.
    QColor tint = option.palette.color(QPalette::Highlight);
    tint.setAlpha(rowKind(index) == GridRoles::RowKind::GroupHeader ? 70 : 40);
    painter->fillRect(option.rect, option.palette.base());
    painter->fillRect(option.rect, tint);
    text.backgroundBrush = Qt::NoBrush;
    text.state &= ~QStyle::State_Selected;
    text.features &= ~QStyleOptionViewItem::Alternate;
    text.font.setBold(true);
    text.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QRect marker = groupMarkerRect(option, index);
    text.rect.setLeft(marker.right() + 4);
    if (rowKind(index) == GridRoles::RowKind::GroupHeader) {
        QStyleOption arrow;
        arrow.rect = marker;
        arrow.palette = option.palette;
        arrow.state = QStyle::State_Enabled | QStyle::State_Children;
        if (!index.data(GridRoles::GroupCollapsedRole).toBool())
            arrow.state |= QStyle::State_Open;
        style->drawPrimitive(QStyle::PE_IndicatorBranch, &arrow, painter, option.widget);
    }
    style->drawControl(QStyle::CE_ItemViewItem, &text, painter, option.widget);
}

QRect GridItemDelegate::checkBoxRect(const QStyleOptionViewItem &option)
{
    QStyleOptionButton box;
    box.rect = option.rect;
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    const QRect indicator =
        style->subElementRect(QStyle::SE_CheckBoxIndicator, &box, option.widget);
    QRect centred(QPoint(), indicator.size());
    centred.moveCenter(option.rect.center());
    return centred;
}

void GridItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    if (isGroupRow(index)) {
        paintGroupRow(painter, option, index);
        return;
    }
    const ColumnKind kind = kindAt(index);
    if (kind != ColumnKind::YesNo && kind != ColumnKind::Picture) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    // Background and selection as for any cell, without text or indicator.
    QStyleOptionViewItem base = option;
    initStyleOption(&base, index);
    base.text.clear();
    base.icon = QIcon();
    base.features &=
        ~(QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration);
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &base, painter, option.widget);

    if (kind == ColumnKind::YesNo) {
        QStyleOptionButton box;
        box.rect = checkBoxRect(option);
        box.state = QStyle::State_Enabled;
        box.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On
                                                                           : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, option.widget);
        return;
    }

    const QImage image = index.data(Qt::DecorationRole).value<QImage>();
    if (image.isNull())
        return;
    const QRect area = option.rect.adjusted(2, 2, -2, -2);
    const QSize size = image.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), size);
    target.moveCenter(area.center());
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, image);
    painter->restore();
}

bool GridItemDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                   const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (rowKind(index) == GridRoles::RowKind::GroupHeader) {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton ||
            !groupMarkerRect(option, index).contains(mouse->position().toPoint()))
            return false;
        const bool collapsed = index.data(GridRoles::GroupCollapsedRole).toBool();
        return model->setData(index, !collapsed, GridRoles::GroupCollapsedRole);
    }
    if (kindAt(index) != ColumnKind::YesNo || !(index.flags() & Qt::ItemIsUserCheckable))
        return QStyledItemDelegate::editorEvent(event, model, option, index);

    bool toggle = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        toggle = mouse->button() == Qt::LeftButton &&
                 checkBoxRect(option).contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonPress ||
               event->type() == QEvent::MouseButtonDblClick) {
        // Swallow presses on the box so a double click does not open a text editor.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        return checkBoxRect(option).contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::KeyPress) {
        toggle = static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space;
    }
    if (!toggle)
        return false;
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

QString GridItemDelegate::dateTimeFormat(const QVariant &value)
{
    const QLocale locale;
    const QDateTime when = value.toDateTime();
    if (when.isValid() && GridValue::isTimeOfDay(when))
        return locale.timeFormat(QLocale::ShortFormat);
    if (!when.isValid() || when.time() == QTime(0, 0))
        return locale.dateFormat(QLocale::ShortFormat);
    return locale.dateTimeFormat(QLocale::ShortFormat);
}

QWidget *GridItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    switch (kindAt(index)) {
    case ColumnKind::YesNo:
    case ColumnKind::Picture:
    case ColumnKind::Other:
        return nullptr; // toggled in place; pictures come from files, not typing
    case ColumnKind::Date:
    case ColumnKind::Time:
    case ColumnKind::DateTime: {
        auto *editor = new QDateTimeEdit(parent);
        editor->setAutoFillBackground(true);
        editor->setTimeSpec(Qt::UTC); // values are wall-clock readings
        editor->setCalendarPopup(true);
        editor->setFrame(false);
        editor->setDisplayFormat(dateTimeFormat(index.data(Qt::EditRole)));
        return editor;
    }
    default: {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        // The editor grows with its text over the next cells; it must hide
        // them, or their text shows through behind the typing.
        if (editor)
            editor->setAutoFillBackground(true);
        return editor;
    }
    }
}

void GridItemDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QDateTimeEdit *>(editor)) {
        QDateTime when = index.data(Qt::EditRole).toDateTime();
        if (!when.isValid())
            when = GridValue::wallClock(QDate::currentDate(), QTime(0, 0));
        edit->setDateTime(when);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridItemDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QDateTimeEdit *>(editor)) {
        const QDateTime shown = edit->dateTime();
        const QDateTime before = index.data(Qt::EditRole).toDateTime();
        // Only a real change counts as an edit of the database.
        const QDateTime value = GridValue::wallClock(shown.date(), shown.time());
        if (value != before)
            model->setData(index, value, Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void GridItemDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    // In a narrow column the date editor would cut off the year and hide its
    // arrow; it reaches over the next cells instead, as the full text needs.
    if (qobject_cast<QDateTimeEdit *>(editor)) {
        QRect area = editor->geometry();
        area.setWidth(qMax(area.width(), editor->sizeHint().width()));
        editor->setGeometry(area);
    }
}

bool GridItemDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            auto *editor = qobject_cast<QWidget *>(object);
            if (editor) {
                Q_EMIT commitData(editor);
                Q_EMIT closeEditor(editor, QAbstractItemDelegate::EditNextItem);
                return true;
            }
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace Ledgerly
