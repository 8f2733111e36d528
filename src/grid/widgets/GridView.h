#pragma once

#include <QHash>
#include <QTableView>

namespace Ledgerly {

class FilterHeader;

// The record table (SGGrid1): one column per field, hidden columns hidden,
// widths of its own (in twips at the screen's logical DPI when a database's
// columns first show), taller rows when a picture column is shown, and Enter
// moving on like Tab.
//
// Everything comes from the model's roles, so the table model or a proxy over
// it (grouping) can be shown alike. Group header and footer rows span the
// visible columns; Left and Right on a header, or a click on its marker,
// collapse and expand the group, and the context menu folds all groups.
class GridView : public QTableView
{
    Q_OBJECT
public:
    explicit GridView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;

    // Re-reads visibility, group spans and row height from the columns.
    void applyColumns();
    // The row height for the current columns, in pixels.
    int preferredRowHeight() const;
    bool showsPictures() const;
    // Writes the text of a cell editor that is still open into the table and
    // closes it. Commands that do not take the focus (toolbar, menus and their
    // shortcuts, closing the window) run this first, so an edit in progress is
    // neither left out of a save nor lost without the closing question.
    // Returns whether an editor was open.
    bool commitOpenEditor();
    // Takes the keyboard focus with the first visible cell of the first
    // record current (the new-record row's when there is no record), so
    // typing edits it at once.
    void focusFirstCell();

    // Widths a person set by hand, in twips by column key, to give a
    // database's columns when they are shown again; columns without one fit
    // their content (the caption and the first rows, within a cap).
    void setRememberedWidths(const QHash<QString, double> &twipsByKey);
    QHash<QString, double> rememberedWidths() const { return m_remembered; }
    // Fits a column to its caption and the first rows' values.
    int fittedWidth(int column) const;

    // The header with the sort keys and the filter row.
    FilterHeader *filterHeader() const;

    QAction *collapseAllAction() const { return m_collapseAll; }
    QAction *expandAllAction() const { return m_expandAll; }

Q_SIGNALS:
    // A person changed a column's width (dragging or double-clicking its edge).
    void columnWidthSetByHand();

public Q_SLOTS:
    void collapseAllGroups();
    void expandAllGroups();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Spans the group rows among the given rows; whether there was one.
    bool applySpans(int firstRow, int lastRow);
    void applyWidthsForNewColumns();
    void rememberWidth(int column, int pixels);
    bool isGroupHeader(int row) const;
    void setGroupCollapsed(int row, bool collapsed);

    QList<QMetaObject::Connection> m_modelConnections;
    QStringList m_widthKeys; // the columns the widths were set for
    QHash<QString, double> m_remembered;
    bool m_settingWidths = false;
    bool m_draggingEdge = false; // a mouse button is down on the header
    QAction *m_collapseAll;
    QAction *m_expandAll;
};

} // namespace Ledgerly
