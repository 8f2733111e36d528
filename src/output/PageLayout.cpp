#include "PageLayout.h"

#include "grid/GridColumn.h"

#include <QAbstractItemModel>

#include <algorithm>

namespace Ledgerly {

namespace {
// Field columns print as wide as a new column shows on screen.
constexpr double fieldColumnWidth = 1200 / PageLayout::twipsPerPoint;
constexpr double recordNumberWidth = RecordNumberColumnTwips / PageLayout::twipsPerPoint;
} // namespace

PageLayout::PageLayout(const QAbstractItemModel &model, QSizeF pageSize,
                       const QList<double> &columnTwips)
    : m_model(&model)
    , m_pageSize(std::max(pageSize.width(), 1.0), std::max(pageSize.height(), 1.0))
{
    layOutColumns(columnTwips);
    layOutRows();
}

void PageLayout::layOutColumns(const QList<double> &columnTwips)
{
    QList<PageColumn> visible;
    double total = 0;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (m_model->headerData(c, Qt::Horizontal, GridRoles::HiddenRole).toBool())
            continue;
        const double given = columnTwips.value(c) / twipsPerPoint;
        const double width = given > 0 ? given : c == 0 ? recordNumberWidth : fieldColumnWidth;
        if (GridRoles::kindOf(*m_model, c) == ColumnKind::Picture)
            m_recordHeight = pictureRowHeight;
        visible.append({c, 0, width});
        total += width;
    }
    const double available = m_pageSize.width();
    if (total <= available || total * minimumScale <= available) {
        const double scale = total <= available ? 1.0 : available / total;
        double x = 0;
        for (PageColumn &column : visible) {
            column.x = x;
            column.width *= scale;
            x += column.width;
        }
        m_bands.append(visible);
        return;
    }
    // Too wide to shrink: every band starts with the record number, so a
    // continued row can still be told apart, and takes what fits after it.
    PageColumn key{-1, 0, 0};
    if (!visible.isEmpty() && visible.first().column == 0) {
        key = visible.takeFirst();
        key.width = std::min(key.width, available / 4);
    }
    const double room = available - key.width;
    QList<PageColumn> current;
    double x = key.width;
    for (PageColumn column : std::as_const(visible)) {
        column.width = std::min(column.width, room);
        if (!current.isEmpty() && x + column.width > available) {
            m_bands.append(current);
            current.clear();
            x = key.width;
        }
        if (current.isEmpty() && key.column == 0)
            current.append(key);
        column.x = x;
        x += column.width;
        current.append(column);
    }
    m_bands.append(current);
}

void PageLayout::layOutRows()
{
    const int count = m_model->rowCount();
    m_rows.reserve(count);
    m_kinds.reserve(count);
    const double room = bodyBottom() - bodyTop();
    double used = 0;
    for (int r = 0; r < count; ++r) {
        const QVariant kindValue = m_model->index(r, 0).data(GridRoles::RowKindRole);
        const auto kind = kindValue.isValid() ? GridRoles::RowKind(kindValue.toInt())
                                              : GridRoles::RowKind::Record;
        if (kind == GridRoles::RowKind::NewRecord)
            continue;
        const double height = rowHeight(kind);
        // A row never splits: it starts the next page when it does not fit,
        // unless it is the first on its page (a page smaller than one row).
        if (m_rowPageStarts.isEmpty() || (used + height > room && used > 0)) {
            m_rowPageStarts.append(int(m_rows.size()));
            used = 0;
        }
        used += height;
        m_rows.append(r);
        m_kinds.append(kind);
    }
    if (m_rowPageStarts.isEmpty())
        m_rowPageStarts.append(0);
}

double PageLayout::rowHeight(GridRoles::RowKind kind) const
{
    switch (kind) {
    case GridRoles::RowKind::GroupHeader:
    case GridRoles::RowKind::GroupFooter:
        return groupRowHeight;
    default:
        return m_recordHeight;
    }
}

PageSlice PageLayout::page(int index) const
{
    PageSlice slice;
    if (index < 0 || index >= pageCount())
        return slice;
    slice.rowPage = index / bandCount();
    slice.band = index % bandCount();
    slice.firstRow = m_rowPageStarts.at(slice.rowPage);
    const int end = slice.rowPage + 1 < rowPageCount() ? m_rowPageStarts.at(slice.rowPage + 1)
                                                       : int(m_rows.size());
    slice.rowCount = end - slice.firstRow;
    return slice;
}

QList<int> PageLayout::rowsOnPage(int index) const
{
    const PageSlice slice = page(index);
    return m_rows.mid(slice.firstRow, slice.rowCount);
}

QList<int> PageLayout::columnsOnPage(int index) const
{
    QList<int> columns;
    if (index < 0 || index >= pageCount())
        return columns;
    for (const PageColumn &column : band(page(index).band))
        columns.append(column.column);
    return columns;
}

} // namespace Ledgerly
