#pragma once

#include "grid/TableEditor.h"

#include <QModelIndex>
#include <QObject>

#include <functional>

class QAction;
class QMenu;

namespace Ledgerly {

class GridView;
class RecordTableProxy;
class TextEdit;

// The table's editing gestures as actions on the view: Edit Text..., Insert
// Record, Delete Record(s), Delete on cells, Copy, Paste, Undo, Redo and the
// picture commands, with their keys and context-menu entries. Every change
// goes through the TableEditor behind the proxy. Questions to a person go
// through the hooks, which the window routes to its prompt interface.
class GridEditActions : public QObject
{
    Q_OBJECT
public:
    struct Hooks
    {
        // Yes to "Delete N record(s)?"; without it nothing is deleted.
        std::function<bool(int records)> confirmDelete;
        std::function<void(const QString &text)> inform;
        // A file to read (save false) or write; empty when cancelled.
        std::function<QString(const QString &title, const QString &filter, bool save)> chooseFile;
        // Shows the text editor modally; true when closed with Done.
        std::function<bool(TextEdit &editor)> showTextEditor;
        // The column setup's procedures, run around a drop of text.
        std::function<void()> unhideColumns;
        std::function<void()> hideColumns;
    };

    GridEditActions(GridView &view, RecordTableProxy &proxy, Hooks hooks,
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
    const Hooks &hooks() const { return m_hooks; }

    bool isPictureColumn(int column) const;
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
    Hooks m_hooks;
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
