#include "GridEditActions.h"

#include "GridView.h"
#include "common/Prompter.h"
#include "database/PdbLayout.h"
#include "grid/GridRoles.h"
#include "grid/GridValue.h"
#include "grid/RecordTableProxy.h"
#include "grid/TabbedText.h"
#include "grid/TableEditor.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QSet>

#include <algorithm>

namespace Ledgerly {

GridEditActions::GridEditActions(GridView &view, RecordTableProxy &proxy, Prompter &prompter,
                                 QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_proxy(proxy)
    , m_editor(proxy.editor())
    , m_prompter(prompter)
{
    using K = QKeySequence;
    m_editText =
        addAction(QStringLiteral("Edit Text..."),
                  {K(Qt::SHIFT | Qt::Key_Return), K(Qt::SHIFT | Qt::Key_Enter), K(Qt::Key_F4)},
                  &GridEditActions::editText);
    m_insert = addAction(QStringLiteral("Insert Record"), {}, &GridEditActions::insertRecord);
    m_delete = addAction(QStringLiteral("Delete Record(s)"), {}, &GridEditActions::deleteRecords);
    m_deleteKey =
        addAction(QStringLiteral("Delete"), {K(Qt::Key_Delete)}, &GridEditActions::deleteKey);
    // Ctrl+C and Ctrl+X belong to the menu (change user, clear database).
    m_copy =
        addAction(QStringLiteral("Copy"), {K(Qt::CTRL | Qt::Key_Insert)}, &GridEditActions::copy);
    m_paste =
        addAction(QStringLiteral("Paste"), {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)},
                  &GridEditActions::paste);
    m_undo = addAction(QStringLiteral("Undo"), {K(Qt::CTRL | Qt::Key_Z)}, &GridEditActions::undo);
    m_redo = addAction(QStringLiteral("Redo"),
                       {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                       &GridEditActions::redo);
    m_setPicture = addAction(QStringLiteral("Set Picture..."), {}, &GridEditActions::setPicture);
    m_savePicture =
        addAction(QStringLiteral("Save Picture As..."), {}, &GridEditActions::savePicture);
    m_clearPicture = addAction(QStringLiteral("Clear Picture"), {}, &GridEditActions::clearPicture);
    // Kept current as the history changes: a menu showed them disabled
    // once must not leave their keys dead after the next edit.
    connect(&m_editor.history(), &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(&m_editor.history(), &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled);
}

QAction *GridEditActions::addAction(const QString &text, const QList<QKeySequence> &keys,
                                    void (GridEditActions::*slot)())
{
    auto *action = new QAction(text, this);
    action->setShortcuts(keys);
    // Only while the table (or a cell editor in it) has the focus; an open
    // cell editor keeps its own Ctrl+Z, Ctrl+V and Delete.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, slot);
    if (!keys.isEmpty())
        m_view.addAction(action);
    return action;
}

void GridEditActions::inform(const QString &text) const
{
    m_prompter.message(text, Prompter::Buttons::Ok, Prompter::Icon::Information);
}

QString GridEditActions::kindText(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::YesNo:
        return QStringLiteral("yes or no (True, False, Yes, No, 1 or 0)");
    case ColumnKind::Date:
        return QStringLiteral("a date");
    case ColumnKind::Time:
        return QStringLiteral("a time");
    case ColumnKind::DateTime:
        return QStringLiteral("a date and time");
    default:
        return QStringLiteral("a value of this column");
    }
}

bool GridEditActions::isPictureColumn(int column) const
{
    const QAbstractItemModel *model = m_view.model();
    if (!model || column < 1 || column >= model->columnCount())
        return false;
    return GridRoles::kindOf(*model, column) == ColumnKind::Picture;
}

QList<int> GridEditActions::columnsFrom(int column, bool includeHidden) const
{
    QList<int> columns;
    const QHeaderView *header = m_view.horizontalHeader();
    const int startVisual = header->visualIndex(qMax(1, column));
    for (int visual = qMax(0, startVisual); visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 1 && (includeHidden || !m_view.isColumnHidden(logical)))
            columns.append(logical);
    }
    return columns;
}

bool GridEditActions::canEditText(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() < 1 || isPictureColumn(index.column()))
        return false;
    return m_proxy.isNewRecordRow(index.row()) || m_proxy.recordRow(index.row()) >= 0;
}

void GridEditActions::updateActionStates()
{
    m_editText->setEnabled(canEditText(m_view.currentIndex()));
    m_delete->setEnabled(!selectedRecordRows().isEmpty());
    m_undo->setEnabled(m_editor.history().canUndo());
    m_redo->setEnabled(m_editor.history().canRedo());
}

void GridEditActions::fillContextMenu(QMenu &menu)
{
    const QModelIndex current = m_view.currentIndex();
    updateActionStates();
    menu.addAction(m_editText);
    menu.addSeparator();
    menu.addAction(m_insert);
    menu.addAction(m_delete);
    menu.addSeparator();
    menu.addAction(m_copy);
    menu.addAction(m_paste);
    menu.addSeparator();
    menu.addAction(m_undo);
    menu.addAction(m_redo);
    if (current.isValid() && isPictureColumn(current.column())) {
        const bool record = m_proxy.recordRow(current.row()) >= 0;
        const bool holds = !current.data(Qt::EditRole).toByteArray().isEmpty();
        m_setPicture->setEnabled(record || m_proxy.isNewRecordRow(current.row()));
        m_savePicture->setEnabled(record && holds);
        m_clearPicture->setEnabled(record && holds);
        menu.addSeparator();
        menu.addAction(m_setPicture);
        menu.addAction(m_savePicture);
        menu.addAction(m_clearPicture);
    }
}

void GridEditActions::editText()
{
    m_view.commitOpenEditor();
    const QModelIndex index = m_view.currentIndex();
    if (!canEditText(index))
        return;
    Prompter::TextRequest request{index.row() + 1, index.column(),
                                  GridValue::displayText(index.data(Qt::EditRole))};
    const QPersistentModelIndex cell(index); // the window is modal, but the table may move
    while (m_prompter.editText(request) && cell.isValid()) {
        if (m_proxy.setData(cell, request.text, Qt::EditRole))
            return;
        // The editor opens again with the text, so nothing typed is lost.
        inform(QStringLiteral("\"%1\" cannot be read as %2. Change the text, or close the editor "
                              "without Done to leave the cell as it was.")
                   .arg(request.text, kindText(GridRoles::kindOf(*m_view.model(), cell.column()))));
    }
}

QList<int> GridEditActions::selectedRecordRows() const
{
    QList<int> rows;
    const QItemSelectionModel *selection = m_view.selectionModel();
    if (!selection)
        return rows;
    for (const QModelIndex &index : selection->selectedRows()) {
        const int row = m_proxy.recordRow(index.row());
        if (row >= 0)
            rows.append(row);
    }
    if (rows.isEmpty()) {
        const int row = m_proxy.recordRow(m_view.currentIndex().row());
        if (row >= 0)
            rows.append(row);
    }
    return rows;
}

void GridEditActions::insertRecord()
{
    m_view.commitOpenEditor();
    const QModelIndex current = m_view.currentIndex();
    int at = m_proxy.recordRow(current.row());
    if (at < 0)
        at = m_editor.model().rowCount(); // on the new-record row or nothing current
    m_editor.insertRecords(at);
}

void GridEditActions::deleteRecords()
{
    m_view.commitOpenEditor();
    const QList<int> rows = selectedRecordRows();
    if (rows.isEmpty())
        return;
    if (m_prompter.message(QStringLiteral("Delete %1 record(s)?").arg(rows.size()),
                           Prompter::Buttons::YesNo, Prompter::Icon::Question) != Prompter::Yes)
        return;
    m_editor.removeRecords(rows);
    m_view.clearSelection();
}

void GridEditActions::deleteKey()
{
    const QItemSelectionModel *selection = m_view.selectionModel();
    if (!selection)
        return;
    if (!selection->selectedRows().isEmpty()) {
        deleteRecords();
        return;
    }
    QList<GridCell> cells;
    for (const QModelIndex &index : selection->selectedIndexes()) {
        const int row = m_proxy.recordRow(index.row());
        if (row >= 0 && index.column() >= 1 && !m_view.isColumnHidden(index.column()))
            cells.append({row, index.column(), {}});
    }
    m_editor.emptyCells(cells);
}

void GridEditActions::copy()
{
    const QItemSelectionModel *selection = m_view.selectionModel();
    if (!selection)
        return;
    QList<int> rows;
    QList<int> columns;
    QSet<qint64> chosen;
    for (const QModelIndex &index : selection->selectedIndexes()) {
        if (index.column() < 1 || m_view.isColumnHidden(index.column()) ||
            m_proxy.recordRow(index.row()) < 0)
            continue;
        rows.append(index.row());
        columns.append(index.column());
        chosen.insert((qint64(index.row()) << 20) | index.column());
    }
    if (chosen.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const QHeaderView *header = m_view.horizontalHeader();
    std::sort(columns.begin(), columns.end(),
              [header](int a, int b) { return header->visualIndex(a) < header->visualIndex(b); });
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    QList<QStringList> table;
    for (int row : std::as_const(rows)) {
        QStringList line;
        for (int column : std::as_const(columns)) {
            const QModelIndex index = m_view.model()->index(row, column);
            line.append(chosen.contains((qint64(row) << 20) | column)
                            ? GridValue::displayText(index.data(Qt::EditRole))
                            : QString());
        }
        table.append(line);
    }
    auto *data = new QMimeData;
    data->setText(TabbedText::write(table));
    data->setHtml(TabbedText::writeHtml(table));
    QGuiApplication::clipboard()->setMimeData(data);
}

void GridEditActions::paste()
{
    m_view.commitOpenEditor();
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    const QModelIndex current = m_view.currentIndex();
    const QList<int> columns = columnsFrom(current.isValid() ? current.column() : 1, false);
    // Record rows from the current one down, as many as there are lines.
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
    QList<int> rows;
    const int viewRows = m_proxy.rowCount();
    for (int r = current.isValid() ? current.row() : viewRows; r < viewRows && rows.size() < lines;
         ++r) {
        const int row = m_proxy.recordRow(r);
        if (row >= 0)
            rows.append(row);
    }
    const TableEditor::TextResult result = m_editor.pasteText(text, rows, columns);
    reportText(result);
}

void GridEditActions::reportText(const TableEditor::TextResult &result) const
{
    if (result.tooManyRecords)
        inform(QStringLiteral("A database holds at most %1 records; nothing was changed.")
                   .arg(PdbLayout::maxRecords));
    else if (result.unreadable > 0)
        inform(QStringLiteral("%1 cell(s) could not be read and were left empty.")
                   .arg(result.unreadable));
}

void GridEditActions::dropText(const QString &text)
{
    reportText(m_editor.dropText(text, columnsFrom(1, true)));
}

void GridEditActions::undo()
{
    m_editor.undo();
}

void GridEditActions::redo()
{
    m_editor.redo();
}

} // namespace Ledgerly
