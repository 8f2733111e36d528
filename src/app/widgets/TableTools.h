#pragma once

#include "app/CommandTable.h"

#include <QObject>
#include <QRect>

class QAction;
class QWidget;

namespace Ledgerly {

class FilterHeader;
class FindBar;
class GridEditing;
class GridView;
class MainController;
class Prompter;
class ShownTextKeeper;
class StatusPanels;

// The table's tools in the window: sorting by the header, the filter row,
// the find bar, Go to Record and Sort Records, wired to the controller's
// view of the table. The Edit menu's table commands come here.
class TableTools : public QObject
{
    Q_OBJECT
public:
    TableTools(QWidget &window, GridView &view, GridEditing &editing, MainController &controller,
               Prompter &prompter, StatusPanels &status);

    FilterHeader &header() const { return *m_header; }
    FindBar &findBar() const { return *m_findBar; }
    QAction *filterRowAction() const { return m_filterRow; }

    // The Edit menu's commands (Undo ... Sort Records).
    void run(Command command);
    // The existing action for a menu key (the table's editing actions).
    QAction *actionFor(const QString &key) const;
    // Places the table and, while it is open, the find bar below it.
    void setTableGeometry(const QRect &area);

    void goToRecord();
    void sortRecords();

private:
    void applySortKeys();
    void filterTextChanged(int column);
    void showFilterErrors();
    void showCount();
    void filterRowShownChanged(bool shown);
    // The table's text is kept for searching while the filter row or the
    // find bar is open.
    void updateKeptText();

    QWidget &m_window;
    GridView &m_view;
    GridEditing &m_editing;
    MainController &m_controller;
    Prompter &m_prompter;
    StatusPanels &m_status;
    FilterHeader *m_header;
    FindBar *m_findBar;
    QAction *m_filterRow;
    ShownTextKeeper *m_keeper;
    QRect m_area;
};

} // namespace Ledgerly
