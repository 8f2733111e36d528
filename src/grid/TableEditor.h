#pragma once

#include "GridModel.h"

#include <QObject>
#include <QUndoStack>

namespace Ledgerly {

// The one path for every change a person makes to the table: cell edits,
// the text editor, Auto Fill, drops, pastes, adding and deleting records,
// clearing and importing. Each change is one undoable command; undo and redo
// are table changes too, so the database stays marked edited after them.
//
// The history lives as long as the table's structure does: a change of rows
// or columns that did not come through here (a load, a reset) empties it,
// because its commands address rows by position.
class TableEditor : public QObject
{
    Q_OBJECT
public:
    struct TextResult
    {
        int recordsAdded = 0;
        int cellsWritten = 0;
        int unreadable = 0; // cells whose text did not read as the column's kind
        // The text would have taken the table past the records a database file
        // holds; nothing was changed.
        bool tooManyRecords = false;
    };

    explicit TableEditor(GridModel &model, QObject *parent = nullptr);

    GridModel &model() const { return m_model; }
    const QUndoStack &history() const { return m_stack; }

    void undo();
    void redo();
    // Empties the history: after a load or a save it would address rows that
    // mean something else.
    void clear();

    // A person's edit of one cell, converted for its column as typing is.
    // false when the value is refused (a date that does not read).
    bool editCell(int row, int column, const QVariant &value, int role = Qt::EditRole);
    // A value typed into the new-record row: appends a record holding it.
    // Empty text appends nothing (an editor opened and left).
    bool appendFromEdit(int column, const QVariant &value, int role = Qt::EditRole);
    void setCells(QList<GridCell> cells, const QString &text);
    // Empties the given cells (Delete on a selection of cells).
    void emptyCells(const QList<GridCell> &cells);
    void insertRecords(int at, int count = 1);
    // Returns how many records went.
    int removeRecords(const QList<int> &rows);
    // Every record at once: Clear Database (no rows) and CSV import.
    void replaceRows(QList<GridRow> rows, const QString &text);
    // Sort Records: the records in the order given (each table row once), as
    // one step. false, changing nothing, when the order is not such a list
    // or is the order they are in already.
    bool reorderRecords(const QList<int> &order);

    // Dropped text: every line a new record at the end, fields in the order
    // of columns; a final line break adds one empty record.
    TextResult dropText(const QString &text, const QList<int> &columns);
    // Pasted text: line i fills the record rows[i] from the columns given;
    // lines beyond rows become new records at the end.
    TextResult pasteText(const QString &text, const QList<int> &rows, const QList<int> &columns);

    // A record with an empty value in every column.
    GridRow emptyRow() const;

Q_SIGNALS:
    // The table changed through an edit, an undo or a redo.
    void tableChanged();

private:
    void push(QUndoCommand *command);
    void forgetHistory();
    GridRow rowFromFields(const QStringList &fields, const QList<int> &columns,
                          TextResult &result) const;

    GridModel &m_model;
    QUndoStack m_stack;
    bool m_applying = false;
};

} // namespace Ledgerly
