#pragma once

#include <QAbstractItemDelegate>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>

class QLineEdit;
class QMenu;
class QMimeData;

namespace Ledgerly {

class GridEditActions;
class GridView;
class RecordTableProxy;

// What the table hears from the mouse and keyboard beyond its own handling:
// the context menu, whole-row selection by the record-number column, drops of
// text and picture files, and Auto Fill while a cell's text is typed.
class GridEditInput : public QObject
{
    Q_OBJECT
public:
    GridEditInput(GridView &view, RecordTableProxy &proxy, GridEditActions &actions,
                  QObject *parent = nullptr);

    void setAutoFillEnabled(bool on) { m_autoFill = on; }
    bool autoFillEnabled() const { return m_autoFill; }

    // Auto Fill for a key released in a cell's text editor: true when the
    // text was completed.
    bool autoFill(QLineEdit &editor, int key);
    // A drop at a view position; what it did is the table's change.
    void drop(const QMimeData &data, const QPoint &position);
    // A click on the record-number column of a row.
    void selectRow(int row, Qt::KeyboardModifiers modifiers);

Q_SIGNALS:
    // Before the context menu shows: other parts add their entries.
    void contextMenuAboutToShow(QMenu *menu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showContextMenu(const QPoint &position, const QPoint &global);
    void editorClosed(QWidget *editor, QAbstractItemDelegate::EndEditHint hint);

    GridView &m_view;
    // Kept apart from the view: the filter still sees the viewport's last
    // events while the view is being destroyed, when asking the view is wrong.
    QPointer<QObject> m_viewport;
    RecordTableProxy &m_proxy;
    GridEditActions &m_actions;
    bool m_autoFill = false;
    int m_anchorRow = -1;
    int m_appendedRow = -1; // a record just made from the new-record row
    int m_appendedColumn = -1;
};

} // namespace Ledgerly
