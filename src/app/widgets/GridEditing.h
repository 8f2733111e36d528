#pragma once

#include <QObject>

class QAbstractItemModel;
class QCheckBox;

namespace Ledgerly {

class GridEditActions;
class GridEditInput;
class GridView;
class MainController;
class Prompter;
class RecordTableProxy;
class TableEditor;

// Puts the table's editing between the controller's table and the window's
// view: the edit path with its history, the new-record row, the gestures, and
// their questions through the prompt interface. Edits mark the database
// edited.
class GridEditing : public QObject
{
    Q_OBJECT
public:
    GridEditing(GridView &view, MainController &controller, Prompter &prompter, QCheckBox &autoFill,
                QObject *parent = nullptr);

    // The table the rows come from: the controller's view of the table,
    // grouped or not.
    void setSourceModel(QAbstractItemModel *model);

    TableEditor &editor() const { return *m_editor; }
    RecordTableProxy &proxy() const { return *m_proxy; }
    GridEditActions &actions() const { return *m_actions; }
    GridEditInput &input() const { return *m_input; }

private:
    TableEditor *m_editor;
    RecordTableProxy *m_proxy;
    GridEditActions *m_actions;
    GridEditInput *m_input;
};

} // namespace Ledgerly
