#include "ReplaceRowsCommand.h"

namespace Ledgerly {

ReplaceRowsCommand::ReplaceRowsCommand(GridModel &model, QList<GridRow> rows, const QString &text,
                                       QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_after(std::move(rows))
{}

void ReplaceRowsCommand::redo()
{
    m_before = m_model.gridRows();
    m_model.setRows(m_after);
}

void ReplaceRowsCommand::undo()
{
    m_after = m_model.gridRows();
    m_model.setRows(m_before);
}

} // namespace Ledgerly
