#include "TableEditor.h"

#include "CellTextReader.h"
#include "GridValue.h"
#include "InsertRowsCommand.h"
#include "RemoveRowsCommand.h"
#include "ReplaceRowsCommand.h"
#include "SetCellsCommand.h"
#include "TabbedText.h"
#include "database/PdbLayout.h"

namespace Ledgerly {

TableEditor::TableEditor(GridModel &model, QObject *parent)
    : QObject(parent)
    , m_model(model)
{
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
                        &QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved})
        connect(&m_model, signal, this, &TableEditor::forgetHistory);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &TableEditor::forgetHistory);
}

void TableEditor::forgetHistory()
{
    if (!m_applying)
        m_stack.clear();
}

void TableEditor::push(QUndoCommand *command)
{
    m_applying = true;
    m_stack.push(command);
    m_applying = false;
    Q_EMIT tableChanged();
}

void TableEditor::undo()
{
    if (!m_stack.canUndo())
        return;
    m_applying = true;
    m_stack.undo();
    m_applying = false;
    Q_EMIT tableChanged();
}

void TableEditor::redo()
{
    if (!m_stack.canRedo())
        return;
    m_applying = true;
    m_stack.redo();
    m_applying = false;
    Q_EMIT tableChanged();
}

void TableEditor::clear()
{
    m_stack.clear();
}

bool TableEditor::editCell(int row, int column, const QVariant &value, int role)
{
    if (row < 0 || row >= m_model.rowCount() || column < 1 || column >= m_model.columnCount())
        return false;
    QVariant stored;
    if (!GridValue::fromEdit(m_model.column(column).kind, value, role, &stored))
        return false;
    if (stored == m_model.cell(row, column))
        return true; // an editor left without a change is no edit
    push(new SetCellsCommand(m_model, {{row, column, stored}}, QStringLiteral("Edit Cell")));
    return true;
}

bool TableEditor::appendFromEdit(int column, const QVariant &value, int role)
{
    if (column < 1 || column >= m_model.columnCount())
        return false;
    QVariant stored;
    if (!GridValue::fromEdit(m_model.column(column).kind, value, role, &stored))
        return false;
    if (stored.typeId() == QMetaType::QString && stored.toString().isEmpty())
        return true;
    GridRow row = emptyRow();
    row.cells[column] = stored;
    push(new InsertRowsCommand(m_model, m_model.rowCount(), {row}, QStringLiteral("Add Record")));
    return true;
}

void TableEditor::setCells(QList<GridCell> cells, const QString &text)
{
    if (cells.isEmpty())
        return;
    push(new SetCellsCommand(m_model, std::move(cells), text));
}

void TableEditor::emptyCells(const QList<GridCell> &cells)
{
    QList<GridCell> emptied;
    emptied.reserve(cells.size());
    for (const GridCell &c : cells)
        if (c.column >= 1 && c.column < m_model.columnCount())
            emptied.append(
                {c.row, c.column, CellTextReader::emptyValue(m_model.column(c.column).kind)});
    setCells(std::move(emptied), QStringLiteral("Clear Cells"));
}

GridRow TableEditor::emptyRow() const
{
    GridRow row;
    row.cells.resize(m_model.columnCount());
    for (int c = 1; c < m_model.columnCount(); ++c)
        row.cells[c] = CellTextReader::emptyValue(m_model.column(c).kind);
    return row;
}

void TableEditor::insertRecords(int at, int count)
{
    if (count < 1 || at < 0 || at > m_model.rowCount())
        return;
    push(new InsertRowsCommand(m_model, at, QList<GridRow>(count, emptyRow()),
                               QStringLiteral("Insert Record")));
}

int TableEditor::removeRecords(const QList<int> &rows)
{
    auto *command = new RemoveRowsCommand(m_model, rows, QStringLiteral("Delete Records"));
    const int count = command->removedCount();
    if (count == 0) {
        delete command;
        return 0;
    }
    push(command);
    return count;
}

void TableEditor::replaceRows(QList<GridRow> rows, const QString &text)
{
    push(new ReplaceRowsCommand(m_model, std::move(rows), text));
}

bool TableEditor::reorderRecords(const QList<int> &order)
{
    const int count = m_model.rowCount();
    if (order.size() != count)
        return false;
    QList<bool> seen(count, false);
    bool moved = false;
    QList<GridRow> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int row = order.at(i);
        if (row < 0 || row >= count || seen.at(row))
            return false;
        seen[row] = true;
        moved = moved || row != i;
        rows.append(m_model.gridRow(row));
    }
    if (!moved)
        return false;
    replaceRows(std::move(rows), QStringLiteral("Sort Records"));
    return true;
}

GridRow TableEditor::rowFromFields(const QStringList &fields, const QList<int> &columns,
                                   TextResult &result) const
{
    GridRow row = emptyRow();
    const qsizetype n = qMin(fields.size(), columns.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int c = columns.at(i);
        if (c < 1 || c >= m_model.columnCount())
            continue;
        if (!CellTextReader::read(m_model.column(c).kind, fields.at(i), &row.cells[c]))
            ++result.unreadable;
        else
            ++result.cellsWritten;
    }
    return row;
}

TableEditor::TextResult TableEditor::dropText(const QString &text, const QList<int> &columns)
{
    TextResult result;
    if (text.isEmpty())
        return result;
    const QList<QStringList> lines = TabbedText::parse(text, TabbedText::FinalBreak::AddsEmptyLine);
    // A table the file cannot hold would only fail at the save, edits and all.
    if (m_model.rowCount() + lines.size() > PdbLayout::maxRecords) {
        result.tooManyRecords = true;
        return result;
    }
    // Dropped fields fill hidden columns too, so every column is shown while
    // the records go in and the schema's choice is back afterwards.
    const bool wasShown = m_model.allColumnsShown();
    m_model.setAllColumnsShown(true);
    QList<GridRow> rows;
    rows.reserve(lines.size());
    for (const QStringList &fields : lines)
        rows.append(rowFromFields(fields, columns, result));
    result.recordsAdded = int(rows.size());
    push(new InsertRowsCommand(m_model, m_model.rowCount(), std::move(rows),
                               QStringLiteral("Drop")));
    m_model.setAllColumnsShown(wasShown);
    return result;
}

TableEditor::TextResult TableEditor::pasteText(const QString &text, const QList<int> &rows,
                                               const QList<int> &columns)
{
    TextResult result;
    if (text.isEmpty())
        return result;
    const QList<QStringList> lines = TabbedText::parse(text, TabbedText::FinalBreak::Ignored, true);
    QList<GridCell> cells;
    cells.reserve(qMin(lines.size(), rows.size()) * columns.size());
    QList<GridRow> added;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList &fields = lines.at(i);
        const int row = i < rows.size() ? rows.at(i) : -1;
        if (row < 0 || row >= m_model.rowCount()) {
            added.append(rowFromFields(fields, columns, result));
            continue;
        }
        const qsizetype n = qMin(fields.size(), columns.size());
        for (qsizetype f = 0; f < n; ++f) {
            const int c = columns.at(f);
            if (c < 1 || c >= m_model.columnCount())
                continue;
            const ColumnKind kind = m_model.column(c).kind;
            // Text never replaces a picture; a copied picture cell is empty text.
            if (kind == ColumnKind::Picture) {
                if (!fields.at(f).isEmpty())
                    ++result.unreadable;
                continue;
            }
            QVariant value;
            if (!CellTextReader::read(kind, fields.at(f), &value))
                ++result.unreadable;
            else
                ++result.cellsWritten;
            cells.append({row, c, value});
        }
    }
    if (m_model.rowCount() + added.size() > PdbLayout::maxRecords)
        return TextResult{0, 0, 0, true};
    if (cells.isEmpty() && added.isEmpty())
        return result;
    result.recordsAdded = int(added.size());
    auto *paste = new QUndoCommand(QStringLiteral("Paste"));
    if (!cells.isEmpty())
        new SetCellsCommand(m_model, std::move(cells), {}, paste);
    if (!added.isEmpty())
        new InsertRowsCommand(m_model, m_model.rowCount(), std::move(added), {}, paste);
    push(paste);
    return result;
}

} // namespace Ledgerly
