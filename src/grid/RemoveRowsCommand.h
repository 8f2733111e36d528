#pragma once

#include "GridModel.h"

#include <QUndoCommand>

namespace Ledgerly {

// Removes a set of records, which need not be next to each other; undo puts
// each back at its place. Neighbouring rows are removed as one range, so
// deleting ten thousand selected records is a handful of model changes.
class RemoveRowsCommand : public QUndoCommand
{
public:
    RemoveRowsCommand(GridModel &model, QList<int> rows, const QString &text,
                      QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;
    int removedCount() const { return m_count; }

private:
    struct Range
    {
        int start = 0;
        QList<GridRow> rows;
    };

    GridModel &m_model;
    QList<Range> m_ranges; // ascending
    int m_count = 0;
};

} // namespace Ledgerly
