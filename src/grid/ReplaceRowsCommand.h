#pragma once

#include "GridModel.h"

#include <QUndoCommand>

namespace Ledgerly {

// Replaces every record of the table at once (clearing the database, a CSV
// import); undo brings the previous records back.
class ReplaceRowsCommand : public QUndoCommand
{
public:
    ReplaceRowsCommand(GridModel &model, QList<GridRow> rows, const QString &text,
                       QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    GridModel &m_model;
    QList<GridRow> m_after;
    QList<GridRow> m_before;
};

} // namespace Ledgerly
