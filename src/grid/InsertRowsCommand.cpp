#include "InsertRowsCommand.h"

namespace Ledgerly {

InsertRowsCommand::InsertRowsCommand(GridModel &model, int at, QList<GridRow> rows,
                                     const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_at(qBound(0, at, model.rowCount()))
    , m_rows(std::move(rows))
{}

void InsertRowsCommand::redo()
{
    m_model.insertGridRows(m_at, m_rows);
}

void InsertRowsCommand::undo()
{
    // The rows may have been edited since (later commands undone first bring
    // them back to this state), so they are taken back as they stand.
    m_rows = m_model.takeGridRows(m_at, int(m_rows.size()));
}

} // namespace Ledgerly
