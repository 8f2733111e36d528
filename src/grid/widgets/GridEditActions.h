#pragma once

#include "grid/ColumnKind.h"
#include "grid/TableEditor.h"

#include <QModelIndex>
#include <QObject>

#include <functional>

class QAction;
class QMenu;

namespace Ledgerly {

class GridView;
class Prompter;
class RecordTableProxy;

// The table's editing gestures as actions on the view: Edit Text..., Insert
// Record, Delete Record(s), Delete on cells, Copy, Paste, Undo, Redo and the
// picture commands, with their keys and context-menu entries. Every change
// goes through the TableEditor behind the proxy; questions to a person go
// through the prompt interface.
class GridEditActions : public QObject
{
    Q_OBJECT
public:
    GridEditActions(GridView &view, RecordTableProxy &proxy, Prompter &prompter,
                    QObject *parent = nullptr);

    // The entries of the table's context menu for a cell, enabled as they
    // apply to it.
    void fillContextMenu(QMenu &menu);

    void editText();
    void insertRecord();
    void deleteRecords();
    // The Delete key: whole rows selected delete their records, a selection
    // of cells empties them.
    void deleteKey();
    void copy();
    void paste();
    void undo();
    void redo();
    void setPicture();
    void savePicture();
    void clearPicture();
    // Sets a picture cell from an image file; false (and a message) when the
    // file is no picture.
    bool setPictureFromFile(const QModelIndex &index, const QString &path);
    // A drop of text: records at the end, fields in column order.
    void dropText(const QString &text);

    QAction *editTextAction() const { return m_editText; }
    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    QAction *copyAction() const { return m_copy; }
    QAction *pasteAction() const { return m_paste; }
    QAction *insertAction() const { return m_insert; }
    QAction *deleteAction() const { return m_delete; }
    // Enables the actions as they apply to the current cell and selection
    // (before a menu that lists them shows).
    void updateActionStates();

    bool isPictureColumn(int column) const;
    // How a column's values are described to a person: "a date", ...
    static QString kindText(ColumnKind kind);
    // Visible field columns in the order shown, from the given one on.
    QList<int> columnsFrom(int column, bool includeHidden) const;

private:
    QAction *addAction(const QString &text, const QList<QKeySequence> &keys,
                       void (GridEditActions::*slot)());
    QList<int> selectedRecordRows() const;
    bool canEditText(const QModelIndex &index) const;
    void inform(const QString &text) const;
    void reportText(const TableEditor::TextResult &result) const;

    GridView &m_view;
    RecordTableProxy &m_proxy;
    TableEditor &m_editor;
    Prompter &m_prompter;
    QAction *m_editText;
    QAction *m_insert;
    QAction *m_delete;
    QAction *m_deleteKey;
    QAction *m_copy;
    QAction *m_paste;
    QAction *m_undo;
    QAction *m_redo;
    QAction *m_setPicture;
    QAction *m_savePicture;
    QAction *m_clearPicture;
};

} // namespace Ledgerly
