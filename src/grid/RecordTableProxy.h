#pragma once

#include "TextMatcher.h"

#include <QIdentityProxyModel>

namespace Ledgerly {

class TableEditor;

// The table as the window edits it. It sits between the table model (or the
// grouping over it) and the view and adds what only editing needs:
//  - the new-record row: always the last row, "*" in column 0, typing into it
//    appends a record. It exists only here, so the model's row count stays
//    the number of records for saving, export and grouping;
//  - every edit goes through the TableEditor, so it can be undone;
//  - a text holding a line break shows on one line with a marker, and whole
//    in the tooltip.
class RecordTableProxy : public QIdentityProxyModel
{
    Q_OBJECT
public:
    // Shown in place of each line break of a cell's text.
    static QString lineBreakMarker();

    explicit RecordTableProxy(TableEditor &editor, QObject *parent = nullptr);

    TableEditor &editor() const { return m_editor; }
    bool isNewRecordRow(int row) const;
    // The table model's row of a view row; -1 for the new-record row and for
    // rows that are no record (group headers and footers).
    int recordRow(int row) const;
    // Record cells the matcher finds show a tint (the find bar's matches);
    // an empty matcher shows none.
    void setHighlight(const TextMatcher &matcher);
    static QColor highlightColor();

    int rowCount(const QModelIndex &parent = {}) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QModelIndex buddy(const QModelIndex &index) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &idx) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    // A value typed into the new-record row made the record at row. The view
    // moves its current cell there: the inserted record pushed the cell it
    // was on down onto the fresh new-record row, and Tab or Enter would
    // otherwise go on typing into another new record.
    void recordAppended(int row, int column);

private:
    int sourceRows() const;
    QVariant newRecordData(const QModelIndex &index, int role) const;

    TableEditor &m_editor;
    TextMatcher m_highlight;
};

} // namespace Ledgerly
