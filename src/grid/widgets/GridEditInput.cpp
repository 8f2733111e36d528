#include "GridEditInput.h"

#include "GridEditActions.h"
#include "GridView.h"
#include "grid/AutoFill.h"
#include "grid/GridValue.h"
#include "grid/RecordTableProxy.h"
#include "grid/TableEditor.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

namespace Ledgerly {

GridEditInput::GridEditInput(GridView &view, RecordTableProxy &proxy, GridEditActions &actions,
                             QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_viewport(view.viewport())
    , m_proxy(proxy)
    , m_actions(actions)
{
    m_view.viewport()->installEventFilter(this);
    m_view.viewport()->setAcceptDrops(true);
    m_view.setContextMenuPolicy(Qt::DefaultContextMenu);
    connect(&m_proxy, &RecordTableProxy::recordAppended, this, [this](int row, int column) {
        m_appendedRow = row;
        m_appendedColumn = column;
        // Only the editor closing right after this commit is concerned; a
        // record made another way (text window, check box) is forgotten.
        QTimer::singleShot(0, this, [this] { m_appendedRow = -1; });
    });
    // Connected after the view, so this runs once the view has moved on.
    connect(m_view.itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            &GridEditInput::editorClosed);
}

void GridEditInput::editorClosed(QWidget *, QAbstractItemDelegate::EndEditHint hint)
{
    const int row = m_appendedRow;
    const int column = m_appendedColumn;
    m_appendedRow = -1;
    if (row < 0 || (hint != QAbstractItemDelegate::EditNextItem &&
                    hint != QAbstractItemDelegate::EditPreviousItem))
        return;
    // The record typed into the new-record row was inserted above the cell
    // being edited, so the view went on from the fresh new-record row. Tab
    // and Enter go on in the record just made instead.
    const QList<int> columns = m_actions.columnsFrom(1, false);
    const qsizetype at = columns.indexOf(column);
    const qsizetype next = at + (hint == QAbstractItemDelegate::EditNextItem ? 1 : -1);
    if (at < 0 || next < 0 || next >= columns.size())
        return;
    m_view.commitOpenEditor(); // one opened on the new-record row holds nothing yet
    const QModelIndex target = m_proxy.index(row, columns.at(next));
    m_view.setCurrentIndex(target);
    if (target.flags() & Qt::ItemIsEditable)
        m_view.edit(target);
}

bool GridEditInput::autoFill(QLineEdit &editor, int key)
{
    if (!m_autoFill || !AutoFill::completesOn(key))
        return false;
    const QModelIndex current = m_view.currentIndex();
    if (!current.isValid() || current.column() < 1)
        return false;
    const GridModel &model = m_proxy.editor().model();
    // Only records above the current one, in their own order, never the
    // new-record row.
    const int above =
        m_proxy.isNewRecordRow(current.row()) ? model.rowCount() : m_proxy.recordRow(current.row());
    if (above <= 0)
        return false;
    const int column = current.column();
    const auto match = AutoFill::complete(editor.text(), above, [&model, column](int row) {
        return GridValue::displayText(model.cell(row, column));
    });
    if (!match)
        return false;
    editor.setText(match->text);
    editor.setSelection(match->selectionStart, match->selectionLength);
    return true;
}

void GridEditInput::drop(const QMimeData &data, const QPoint &position)
{
    const QModelIndex at = m_view.indexAt(position);
    const QList<QUrl> urls = data.urls();
    if (at.isValid() && m_actions.isPictureColumn(at.column()) && urls.size() == 1 &&
        urls.first().isLocalFile()) {
        m_actions.setPictureFromFile(at, urls.first().toLocalFile());
        return;
    }
    if (data.hasText())
        m_actions.dropText(data.text());
}

void GridEditInput::selectRow(int row, Qt::KeyboardModifiers modifiers)
{
    QItemSelectionModel *selection = m_view.selectionModel();
    const QAbstractItemModel *model = m_view.model();
    if (!selection || !model || row < 0 || row >= model->rowCount())
        return;
    const QModelIndex index = model->index(row, 0);
    if ((modifiers & Qt::ShiftModifier) && m_anchorRow >= 0 && m_anchorRow < model->rowCount()) {
        const QItemSelection range(model->index(qMin(row, m_anchorRow), 0),
                                   model->index(qMax(row, m_anchorRow), 0));
        const auto mode = (modifiers & Qt::ControlModifier) ? QItemSelectionModel::Select
                                                            : QItemSelectionModel::ClearAndSelect;
        selection->select(range, mode | QItemSelectionModel::Rows);
    } else if (modifiers & Qt::ControlModifier) {
        selection->select(index, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
        m_anchorRow = row;
    } else {
        selection->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_anchorRow = row;
    }
    selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void GridEditInput::showContextMenu(const QPoint &position, const QPoint &global)
{
    const QModelIndex at = m_view.indexAt(position);
    if (at.isValid() && !m_view.selectionModel()->isSelected(at))
        m_view.setCurrentIndex(at);
    QMenu menu(&m_view);
    m_actions.fillContextMenu(menu);
    // Folding groups follows the editing commands. (The view's action list
    // holds the editing commands too, for their keys: adding it whole would
    // move them down here.)
    menu.addSeparator();
    menu.addAction(m_view.collapseAllAction());
    menu.addAction(m_view.expandAllAction());
    Q_EMIT contextMenuAboutToShow(&menu);
    menu.exec(global);
}

bool GridEditInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_viewport) {
        if (event->type() == QEvent::KeyRelease) {
            if (auto *editor = qobject_cast<QLineEdit *>(watched))
                autoFill(*editor, static_cast<QKeyEvent *>(event)->key());
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::ChildAdded: {
        // Cell editors are made as children of the viewport.
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child && child->isWidgetType())
            child->installEventFilter(this);
        return false;
    }
    case QEvent::ContextMenu: {
        const auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        showContextMenu(menuEvent->pos(), menuEvent->globalPos());
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex at = m_view.indexAt(mouse->position().toPoint());
        // Group rows start in this column too; their fold marker takes the click.
        if (mouse->button() != Qt::LeftButton || !at.isValid() || at.column() != 0 ||
            (m_proxy.recordRow(at.row()) < 0 && !m_proxy.isNewRecordRow(at.row())))
            return false;
        m_view.commitOpenEditor();
        selectRow(at.row(), mouse->modifiers());
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *dropEvent = static_cast<QDropEvent *>(event);
        if (dropEvent->mimeData())
            drop(*dropEvent->mimeData(), dropEvent->position().toPoint());
        dropEvent->acceptProposedAction();
        return true;
    }
    default:
        return false;
    }
}

} // namespace Ledgerly
