#pragma once

#include "GridColumn.h"
#include "GridRoles.h"
#include "GridValue.h"
#include "ShownTextCache.h"
#include "StoredRows.h"

#include <QAbstractTableModel>
#include <QDeadlineTimer>
#include <QHash>
#include <QImage>
#include <QList>
#include <QVariant>

#include <memory>

class QStringMatcher;

namespace Ledgerly {

// One row of the table. Plain record rows have rowType 0; grouping adds rows
// of other types that are never saved. sourceRecord is the position of the
// stored record the row was loaded from (-1 for rows made in the table).
// A row loaded from a stored record and never changed has no cells of its
// own: the model reads them from its StoredRows. The model's cell() is the
// way to read any row's values.
struct GridRow
{
    int rowType = 0;
    int sourceRecord = -1;
    QList<QVariant> cells; // index = column; cells[0] is unused
};

// One cell's value, for writing many cells in one step.
struct GridCell
{
    int row = 0;
    int column = 0;
    QVariant value;
};

// The table that stands in for the grid: columns with their metadata, rows
// with typed values (QString, bool, QDateTime wall clock, QByteArray bitmap).
//
// Qt roles: DisplayRole gives the text a person sees (regional formats),
// EditRole the typed value, CheckStateRole the state of yes/no columns,
// DecorationRole a QImage for picture columns; headerData gives captions and
// the column roles of GridRoles. Programmatic changes (setCell, addRow...) emit no edit
// notification; setData() is the user's edit and emits cellEdited.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Kept as members so existing callers read GridModel::KeyRole etc.
    using HeaderRole = GridRoles::HeaderRole;
    static constexpr int KeyRole = GridRoles::KeyRole;
    static constexpr int HiddenRole = GridRoles::HiddenRole;
    static constexpr int KindRole = GridRoles::KindRole;
    static constexpr int FieldRoleRole = GridRoles::FieldRoleRole;
    static constexpr int DataTypeRole = GridRoles::DataTypeRole;
    static constexpr int HoldsNumbersRole = GridRoles::HoldsNumbersRole;

    explicit GridModel(QObject *parent = nullptr);

    // Columns. Column 0 is the record-number column; its entry carries no field.
    int addColumn(const GridColumn &column = {});
    const GridColumn &column(int index) const { return m_columns.at(index); }
    int columnByKey(const QString &key) const; // -1 when none (case ignored)
    void removeAllColumns();                   // keeps column 0
    // New captions and roles for the field columns, from a changed schema;
    // keys and kinds stay as the database gave them.
    void setColumnSchema(int column, const QString &caption, FieldRole role);
    // Whether a column is hidden: while every column is shown (a drop of
    // text fills hidden fields too), none is; otherwise its role decides.
    bool isColumnHidden(int column) const;
    void setAllColumnsShown(bool shown);
    bool allColumnsShown() const { return m_allShown; }
    // A text column whose values that are not empty all read as numbers in
    // the regional format (and at least one does): its figures line up on
    // the right and it sorts and groups by number. Worked out when first
    // asked and kept until the column's values change.
    bool holdsNumbers(int column) const;

    // Rows
    int addRow(const GridRow &row = {});
    GridRow &gridRow(int index) { return m_rows[index]; }
    const GridRow &gridRow(int index) const { return m_rows.at(index); }
    void removeAllRows();
    void setRows(QList<GridRow> rows); // replaces every row at once
    // The stored records rows without cells of their own read from; kept
    // until the next call, so rows taken for an undo still find their values.
    void setStoredRows(std::shared_ptr<const StoredRows> stored);
    // After a save wrote the rows into new stored records: record i was
    // written from row rowOf[i], as a copy of stored record copyOf[i] (-1
    // when its values changed). The rows read their new records, and the
    // kept shown text follows them.
    void renumberStoredRecords(const QList<int> &rowOf, const QList<int> &copyOf);
    // True when the row shows its stored record unchanged.
    bool readsStoredRecord(int row) const;
    QVariant cell(int row, int column) const;
    void setCell(int row, int column, const QVariant &value);
    const QList<GridRow> &gridRows() const { return m_rows; }

    // Bulk changes for the editing commands: thousands of rows or cells in
    // one notification, so a paste or an undo stays quick on a full table.
    void insertGridRows(int at, const QList<GridRow> &rows);
    QList<GridRow> takeGridRows(int at, int count);
    void setCells(const QList<GridCell> &cells);

    // The text the stored records show in some columns, kept while the
    // filter row or the find bar is in use so that a search over every
    // record reads it instead of decoding each stored cell. Kept a slice at a
    // time: false when the deadline came before every column was complete
    // (call again to go on). Forgetting it gives its memory back; a save,
    // which renumbers the stored records, forgets it too.
    bool keepShownText(const QList<int> &columns, QDeadlineTimer deadline) const;
    void forgetShownText();
    qsizetype shownTextBytes() const { return m_shownText.bytes(); }
    // Counts the forgettings, so a search that keeps answers by stored
    // record knows when they no longer hold.
    quint64 shownTextGeneration() const { return m_shownTextGeneration; }
    // The kept text of a column when it is complete, else null.
    const ShownTextCache *completeShownText(int column) const;
    // The stored record a row shows unchanged, or -1.
    int storedRecord(int row) const;

    // QAbstractTableModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

Q_SIGNALS:
    void cellEdited(int row, int column);
    void shownTextForgotten();

private:
    void notifyColumnsChanged();
    bool readsStored(const GridRow &row) const;
    // Gives a row that reads its stored record cells of its own, before one changes.
    QList<QVariant> &ownCells(int row);
    QImage picture(int row, int column, const QByteArray &bytes) const;
    void forgetNumbers(int column, const QVariant &value);
    // Adds the text a stored record shows in a column to a cache; false
    // when the code page cannot hold it.
    bool keepRecordText(ShownTextCache &cache, int column, int record,
                        GridValue::ShownText &shown) const;

    QList<GridColumn> m_columns;
    bool m_allShown = false;
    QList<GridRow> m_rows;
    std::shared_ptr<const StoredRows> m_stored;
    mutable QHash<qint64, QImage> m_pictures; // decoded lazily, per cell
    mutable QHash<int, bool> m_holdsNumbers;  // per column, until its values change
    mutable ShownTextCache m_shownText;       // by stored record, while searches need it
    quint64 m_shownTextGeneration = 0;
};

} // namespace Ledgerly
