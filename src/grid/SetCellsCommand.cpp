#include "SetCellsCommand.h"

namespace Ledgerly {

SetCellsCommand::SetCellsCommand(GridModel &model, QList<GridCell> cells, const QString &text,
                                 QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_after(std::move(cells))
{
    m_before.reserve(m_after.size());
    for (const GridCell &c : std::as_const(m_after))
        m_before.append({c.row, c.column, m_model.cell(c.row, c.column)});
}

void SetCellsCommand::redo()
{
    m_model.setCells(m_after);
}

void SetCellsCommand::undo()
{
    m_model.setCells(m_before);
}

} // namespace Ledgerly
