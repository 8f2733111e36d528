#include "GridModel.h"

#include "GridValue.h"
#include "GroupTotals.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <climits>

namespace Ledgerly {

namespace {

// Decoded pictures are cached per cell; the key packs row and column.
qint64 cacheKey(int row, int column)
{
    return (qint64(row) << 20) | qint64(column);
}

} // namespace

GridModel::GridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    GridColumn recordNumbers;
    recordNumbers.key = QStringLiteral("Col0");
    recordNumbers.kind = ColumnKind::Other;
    m_columns.append(recordNumbers);
}

int GridModel::addColumn(const GridColumn &column)
{
    const int index = int(m_columns.size());
    beginInsertColumns({}, index, index);
    m_columns.append(column);
    endInsertColumns();
    return index;
}

int GridModel::columnByKey(const QString &key) const
{
    if (key.isEmpty())
        return -1;
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void GridModel::removeAllColumns()
{
    if (m_columns.size() <= 1)
        return;
    beginRemoveColumns({}, 1, int(m_columns.size()) - 1);
    m_columns.resize(1);
    for (GridRow &row : m_rows)
        if (row.cells.size() > 1)
            row.cells.resize(1);
    m_pictures.clear();
    m_holdsNumbers.clear();
    forgetShownText();
    endRemoveColumns();
}

void GridModel::setColumnSchema(int column, const QString &caption, FieldRole role)
{
    if (column < 1 || column >= m_columns.size())
        return;
    GridColumn &changed = m_columns[column];
    if (changed.caption == caption && changed.role == role)
        return;
    changed.caption = caption;
    changed.role = role;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

bool GridModel::isColumnHidden(int column) const
{
    if (column <= 0 || column >= m_columns.size())
        return false;
    const GridColumn &c = m_columns.at(column);
    // A column of a type the table cannot show keeps the schema's say.
    if (m_allShown && c.kind != ColumnKind::Other)
        return false;
    return c.role == FieldRole::Hidden;
}

void GridModel::setAllColumnsShown(bool shown)
{
    if (m_allShown == shown)
        return;
    m_allShown = shown;
    notifyColumnsChanged();
}

bool GridModel::holdsNumbers(int column) const
{
    if (column < 1 || column >= m_columns.size() || m_columns.at(column).kind != ColumnKind::Text)
        return false;
    const auto known = m_holdsNumbers.constFind(column);
    if (known != m_holdsNumbers.constEnd())
        return *known;
    const QLocale locale;
    bool any = false;
    bool all = true;
    for (int row = 0; row < m_rows.size() && all; ++row) {
        const QVariant value = cell(row, column);
        if (GridValue::displayText(value).isEmpty())
            continue;
        double number = 0;
        all = GroupTotals::readNumber(value, locale, &number);
        any = true;
    }
    m_holdsNumbers.insert(column, any && all);
    return any && all;
}

// A number (or nothing) written into a column of numbers leaves it one;
// anything else has it worked out again when next asked.
void GridModel::forgetNumbers(int column, const QVariant &value)
{
    const auto known = m_holdsNumbers.constFind(column);
    if (known == m_holdsNumbers.constEnd())
        return;
    double number = 0;
    if (*known && (GridValue::displayText(value).isEmpty() ||
                   GroupTotals::readNumber(value, QLocale(), &number)))
        return;
    m_holdsNumbers.remove(column);
}

void GridModel::notifyColumnsChanged()
{
    if (m_columns.size() > 1)
        Q_EMIT headerDataChanged(Qt::Horizontal, 1, int(m_columns.size()) - 1);
}

int GridModel::addRow(const GridRow &row)
{
    const int index = int(m_rows.size());
    beginInsertRows({}, index, index);
    m_rows.append(row);
    endInsertRows();
    return index;
}

void GridModel::removeAllRows()
{
    if (m_rows.isEmpty())
        return;
    beginRemoveRows({}, 0, int(m_rows.size()) - 1);
    m_rows.clear();
    m_pictures.clear();
    m_holdsNumbers.clear();
    endRemoveRows();
}

void GridModel::setRows(QList<GridRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_pictures.clear();
    m_holdsNumbers.clear();
    endResetModel();
}

void GridModel::setStoredRows(std::shared_ptr<const StoredRows> stored)
{
    m_stored = std::move(stored);
    forgetShownText();
}

void GridModel::renumberStoredRecords(const QList<int> &rowOf, const QList<int> &copyOf)
{
    for (qsizetype i = 0; i < rowOf.size(); ++i)
        m_rows[rowOf.at(i)].sourceRecord = int(i);
    // Text kept for the old records moves to the records that copy them;
    // the others are written out again. Hits remembered by record go.
    ++m_shownTextGeneration;
    const int records = m_stored ? m_stored->recordCount() : 0;
    // Columns kept for every record a new one copies carry over.
    const int copied = copyOf.isEmpty() ? 0 : *std::max_element(copyOf.cbegin(), copyOf.cend()) + 1;
    ShownTextCache renewed;
    GridValue::ShownText shown;
    for (int column : m_shownText.completeColumns(copied)) {
        bool keepable = true;
        for (int record = 0; record < records && keepable; ++record) {
            const int from = copyOf.value(record, -1);
            if (from >= 0)
                renewed.appendBytes(column, m_shownText.bytes(column, from));
            else
                keepable = keepRecordText(renewed, column, record, shown);
        }
        renewed.finish(column);
    }
    m_shownText = std::move(renewed);
    // Whatever did not carry over is kept again while it is needed.
    Q_EMIT shownTextForgotten();
}

bool GridModel::keepRecordText(ShownTextCache &cache, int column, int record,
                               GridValue::ShownText &shown) const
{
    QByteArrayView stored;
    if (m_stored->storedText(record, column, &stored)) {
        cache.appendBytes(column, stored);
        return true;
    }
    return cache.append(column, shown(m_stored->cell(record, column)));
}

bool GridModel::keepShownText(const QList<int> &columns, QDeadlineTimer deadline) const
{
    if (!m_stored)
        return true;
    const int records = m_stored->recordCount();
    GridValue::ShownText shown;
    for (int column : columns) {
        if (column < 1 || column >= m_columns.size())
            continue;
        // Checked every few hundred records: the clock costs more than a cell.
        if (!m_shownText.isKeepable(column))
            continue;
        for (int record = m_shownText.kept(column); record < records; ++record) {
            if ((record & 0xff) == 0 && deadline.hasExpired())
                return false;
            if (!keepRecordText(m_shownText, column, record, shown))
                break;
        }
        m_shownText.finish(column);
    }
    return true;
}

void GridModel::forgetShownText()
{
    m_shownText.clear();
    ++m_shownTextGeneration;
    Q_EMIT shownTextForgotten();
}

const ShownTextCache *GridModel::completeShownText(int column) const
{
    return m_stored && m_shownText.isComplete(column, m_stored->recordCount()) ? &m_shownText
                                                                               : nullptr;
}

int GridModel::storedRecord(int row) const
{
    return readsStoredRecord(row) ? m_rows.at(row).sourceRecord : -1;
}

bool GridModel::readsStored(const GridRow &row) const
{
    return row.cells.isEmpty() && row.sourceRecord >= 0 && m_stored &&
           row.sourceRecord < m_stored->recordCount();
}

bool GridModel::readsStoredRecord(int row) const
{
    return row >= 0 && row < m_rows.size() && readsStored(m_rows.at(row));
}

QVariant GridModel::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0)
        return {};
    const GridRow &r = m_rows.at(row);
    if (readsStored(r))
        return column >= 1 && column < m_columns.size() ? m_stored->cell(r.sourceRecord, column)
                                                        : QVariant();
    return r.cells.value(column);
}

QList<QVariant> &GridModel::ownCells(int row)
{
    GridRow &r = m_rows[row];
    if (readsStored(r)) {
        r.cells.resize(m_columns.size());
        for (int c = 1; c < m_columns.size(); ++c)
            r.cells[c] = m_stored->cell(r.sourceRecord, c);
    } else if (r.cells.size() < m_columns.size()) {
        r.cells.resize(m_columns.size());
    }
    return r.cells;
}

void GridModel::setCell(int row, int column, const QVariant &value)
{
    if (row < 0 || row >= m_rows.size() || column < 1 || column >= m_columns.size())
        return;
    ownCells(row)[column] = value;
    m_pictures.remove(cacheKey(row, column));
    forgetNumbers(column, value);
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed);
}

void GridModel::insertGridRows(int at, const QList<GridRow> &rows)
{
    if (rows.isEmpty() || at < 0 || at > m_rows.size())
        return;
    beginInsertRows({}, at, at + int(rows.size()) - 1);
    m_rows.insert(at, rows.size(), GridRow{});
    std::copy(rows.cbegin(), rows.cend(), m_rows.begin() + at);
    m_pictures.clear();
    m_holdsNumbers.clear();
    endInsertRows();
}

QList<GridRow> GridModel::takeGridRows(int at, int count)
{
    if (count < 1 || at < 0 || at + count > m_rows.size())
        return {};
    beginRemoveRows({}, at, at + count - 1);
    QList<GridRow> taken = m_rows.mid(at, count);
    m_rows.remove(at, count);
    m_pictures.clear();
    m_holdsNumbers.clear();
    endRemoveRows();
    return taken;
}

void GridModel::setCells(const QList<GridCell> &cells)
{
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (const GridCell &c : cells) {
        if (c.row < 0 || c.row >= m_rows.size() || c.column < 1 || c.column >= m_columns.size())
            continue;
        ownCells(c.row)[c.column] = c.value;
        m_pictures.remove(cacheKey(c.row, c.column));
        forgetNumbers(c.column, c.value);
        top = qMin(top, c.row);
        bottom = qMax(bottom, c.row);
        left = qMin(left, c.column);
        right = qMax(right, c.column);
    }
    if (bottom >= 0)
        Q_EMIT dataChanged(index(top, left), index(bottom, right));
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return {};
    const int row = index.row();
    const int col = index.column();
    if (role == GridRoles::RowKindRole)
        return int(GridRoles::RowKind::Record);
    if (role == GridRoles::SourceRowRole)
        return row;
    if (col == 0) {
        if (role == Qt::DisplayRole && m_rows.at(row).rowType == 0)
            return row + 1;
        return {};
    }
    const GridColumn &column = m_columns.at(col);
    switch (role) {
    case Qt::DisplayRole:
        if (column.kind == ColumnKind::YesNo || column.kind == ColumnKind::Picture)
            return QString();
        return GridValue::displayText(cell(row, col));
    case Qt::EditRole:
        return cell(row, col);
    case Qt::TextAlignmentRole:
        // Figures line up on the right: totalled columns and columns of numbers.
        if (column.kind != ColumnKind::Text ||
            (column.role != FieldRole::Calc && !holdsNumbers(col)))
            return {};
        return int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::CheckStateRole:
        if (column.kind != ColumnKind::YesNo)
            return {};
        return GridValue::isTrue(cell(row, col)) ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole: {
        if (column.kind != ColumnKind::Picture)
            return {};
        const QVariant value = cell(row, col);
        if (value.typeId() != QMetaType::QByteArray)
            return {};
        return picture(row, col, value.toByteArray());
    }
    default:
        return {};
    }
}

QImage GridModel::picture(int row, int column, const QByteArray &bytes) const
{
    const qint64 key = cacheKey(row, column);
    auto found = m_pictures.constFind(key);
    if (found != m_pictures.constEnd())
        return *found;
    QImage image;
    if (!bytes.isEmpty())
        image.loadFromData(bytes);
    m_pictures.insert(key, image);
    return image;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() == 0 || index.row() >= m_rows.size() ||
        index.column() >= m_columns.size())
        return false;
    QVariant stored;
    if (!GridValue::fromEdit(m_columns.at(index.column()).kind, value, role, &stored))
        return false;
    setCell(index.row(), index.column(), stored);
    Q_EMIT cellEdited(index.row(), index.column());
    return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < m_rows.size())
            return section + 1;
        return {};
    }
    if (section < 0 || section >= m_columns.size())
        return {};
    const GridColumn &column = m_columns.at(section);
    switch (role) {
    case Qt::DisplayRole:
        return column.caption;
    case KeyRole:
        return column.key;
    case HiddenRole:
        return isColumnHidden(section);
    case KindRole:
        if (section == 0)
            return {};
        return int(column.kind);
    case FieldRoleRole:
        if (section == 0)
            return {};
        return int(column.role);
    case DataTypeRole:
        return dataTypeFor(column.kind);
    case HoldsNumbersRole:
        return holdsNumbers(section);
    default:
        return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 || index.column() >= m_columns.size() || index.row() >= m_rows.size() ||
        m_rows.at(index.row()).rowType != 0)
        return result;
    const ColumnKind kind = m_columns.at(index.column()).kind;
    if (kind == ColumnKind::Other)
        return result; // nothing typed there could be stored
    result |= Qt::ItemIsEditable;
    if (kind == ColumnKind::YesNo)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

bool GridModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_rows.size() || count < 1)
        return false;
    beginInsertRows({}, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_rows.insert(row, GridRow{});
    m_pictures.clear();
    m_holdsNumbers.clear();
    endInsertRows();
    return true;
}

bool GridModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_rows.size())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.remove(row, count);
    m_pictures.clear();
    m_holdsNumbers.clear();
    endRemoveRows();
    return true;
}

} // namespace Ledgerly
