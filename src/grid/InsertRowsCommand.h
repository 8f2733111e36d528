#pragma once

#include "GridModel.h"

#include <QUndoCommand>

namespace Ledgerly {

// Inserts records at one place in one step; undo takes them out again.
class InsertRowsCommand : public QUndoCommand
{
public:
    InsertRowsCommand(GridModel &model, int at, QList<GridRow> rows, const QString &text,
                      QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    GridModel &m_model;
    int m_at;
    QList<GridRow> m_rows;
};

} // namespace Ledgerly
