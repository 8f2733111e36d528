#pragma once

#include "GridModel.h"

#include <QUndoCommand>

namespace Ledgerly {

// Writes a set of cells; undo puts back what they held before. The values
// before are taken when the command is made, so it must be made right before
// it is first applied.
class SetCellsCommand : public QUndoCommand
{
public:
    SetCellsCommand(GridModel &model, QList<GridCell> cells, const QString &text,
                    QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    GridModel &m_model;
    QList<GridCell> m_after;
    QList<GridCell> m_before;
};

} // namespace Ledgerly
