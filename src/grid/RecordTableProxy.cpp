#include "RecordTableProxy.h"

#include "GridColumn.h"
#include "GridRoles.h"
#include "GridValue.h"
#include "TableEditor.h"

#include <QColor>

namespace Ledgerly {

QString RecordTableProxy::lineBreakMarker()
{
    return QStringLiteral(" \u21B5 ");
}

RecordTableProxy::RecordTableProxy(TableEditor &editor, QObject *parent)
    : QIdentityProxyModel(parent)
    , m_editor(editor)
{}

int RecordTableProxy::sourceRows() const
{
    return sourceModel() ? sourceModel()->rowCount() : 0;
}

bool RecordTableProxy::isNewRecordRow(int row) const
{
    return sourceModel() && row == sourceRows();
}

int RecordTableProxy::recordRow(int row) const
{
    if (row < 0 || row >= sourceRows())
        return -1;
    const QModelIndex source = sourceModel()->index(row, 0);
    const auto kind = GridRoles::RowKind(source.data(GridRoles::RowKindRole).toInt());
    if (kind != GridRoles::RowKind::Record)
        return -1;
    const QVariant sourceRow = source.data(GridRoles::SourceRowRole);
    return sourceRow.isValid() ? sourceRow.toInt() : -1;
}

QColor RecordTableProxy::highlightColor()
{
    return QColor(255, 226, 120);
}

void RecordTableProxy::setHighlight(const TextMatcher &matcher)
{
    const bool before = !m_highlight.isEmpty() && m_highlight.isValid();
    m_highlight = matcher;
    const bool after = !m_highlight.isEmpty() && m_highlight.isValid();
    if ((before || after) && rowCount() > 0 && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                           {Qt::BackgroundRole});
}

int RecordTableProxy::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !sourceModel())
        return 0;
    return sourceRows() + 1;
}

QModelIndex RecordTableProxy::index(int row, int column, const QModelIndex &parent) const
{
    if (!parent.isValid() && isNewRecordRow(row) && column >= 0 &&
        column < sourceModel()->columnCount())
        return createIndex(row, column);
    return QIdentityProxyModel::index(row, column, parent);
}

QModelIndex RecordTableProxy::parent(const QModelIndex &child) const
{
    if (child.isValid() && child.model() == this && isNewRecordRow(child.row()))
        return {};
    return QIdentityProxyModel::parent(child);
}

bool RecordTableProxy::hasChildren(const QModelIndex &parent) const
{
    // A table: only the root has rows, and it always has the new-record row.
    return !parent.isValid() && sourceModel() != nullptr;
}

QModelIndex RecordTableProxy::buddy(const QModelIndex &index) const
{
    // The view edits an index's buddy; the table has no source index to ask.
    if (index.isValid() && isNewRecordRow(index.row()))
        return index;
    return QIdentityProxyModel::buddy(index);
}

QModelIndex RecordTableProxy::sibling(int row, int column, const QModelIndex &idx) const
{
    return index(row, column, idx.parent());
}

QModelIndex RecordTableProxy::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || isNewRecordRow(proxyIndex.row()))
        return {};
    return QIdentityProxyModel::mapToSource(proxyIndex);
}

QVariant RecordTableProxy::newRecordData(const QModelIndex &index, int role) const
{
    if (role == GridRoles::RowKindRole)
        return int(GridRoles::RowKind::NewRecord);
    if (index.column() == 0)
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("*")) : QVariant();
    if (role == Qt::CheckStateRole &&
        GridRoles::kindOf(*sourceModel(), index.column()) == ColumnKind::YesNo)
        return Qt::Unchecked;
    return {};
}

QVariant RecordTableProxy::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !sourceModel())
        return {};
    if (isNewRecordRow(index.row()))
        return newRecordData(index, role);
    if (role == Qt::BackgroundRole && index.column() >= 1 && !m_highlight.isEmpty()) {
        const ColumnKind kind = GridRoles::kindOf(*sourceModel(), index.column());
        if (kind != ColumnKind::Picture && kind != ColumnKind::Other &&
            recordRow(index.row()) >= 0 &&
            m_highlight.matches(
                GridValue::displayText(QIdentityProxyModel::data(index, Qt::EditRole))))
            return highlightColor();
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QIdentityProxyModel::data(index, role);
    const QVariant text = QIdentityProxyModel::data(index, Qt::DisplayRole);
    const bool multiLine =
        text.typeId() == QMetaType::QString && text.toString().contains(QLatin1Char('\n'));
    if (role == Qt::ToolTipRole)
        return multiLine ? text : QIdentityProxyModel::data(index, role);
    if (!multiLine)
        return text;
    QString oneLine = text.toString();
    oneLine.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    oneLine.replace(QLatin1Char('\n'), lineBreakMarker());
    return oneLine;
}

QVariant RecordTableProxy::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && isNewRecordRow(section))
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("*")) : QVariant();
    return QIdentityProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordTableProxy::flags(const QModelIndex &index) const
{
    if (!index.isValid() || !sourceModel())
        return Qt::NoItemFlags;
    if (!isNewRecordRow(index.row()))
        return QIdentityProxyModel::flags(index);
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int column = index.column();
    if (column == 0)
        return result;
    const ColumnKind kind = GridRoles::kindOf(*sourceModel(), column);
    if (kind == ColumnKind::Picture || kind == ColumnKind::Other)
        return result;
    result |= Qt::ItemIsEditable;
    if (kind == ColumnKind::YesNo)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

bool RecordTableProxy::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid())
        return false;
    // Roles that are not cell values (folding a group) are the view's own
    // business below: they change no record and make no undo step.
    if (role != Qt::EditRole && role != Qt::DisplayRole && role != Qt::CheckStateRole)
        return !isNewRecordRow(index.row()) && QIdentityProxyModel::setData(index, value, role);
    if (index.column() < 1 || !(flags(index) & Qt::ItemIsEnabled))
        return false;
    if (isNewRecordRow(index.row())) {
        const int row = index.row();
        if (!m_editor.appendFromEdit(index.column(), value, role))
            return false;
        if (rowCount() > row + 1)
            Q_EMIT recordAppended(row, index.column());
        return true;
    }
    const int row = recordRow(index.row());
    if (row < 0 || !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    return m_editor.editCell(row, index.column(), value, role);
}

} // namespace Ledgerly
