#include "PageLayout.h"

#include "PageLayoutBuilder.h"

#include <algorithm>

namespace Ledgerly {

namespace {

PageLayout laidOut(const QAbstractItemModel &model, QSizeF pageSize, const QString &title)
{
    PageLayoutBuilder builder(model, pageSize, title);
    builder.advance();
    return builder.layout();
}

} // namespace

PageLayout::PageLayout(const QAbstractItemModel &model, QSizeF pageSize, const QString &title)
    : PageLayout(laidOut(model, pageSize, title))
{}

PageLayout::PageLayout(const QAbstractItemModel &model, QSizeF pageSize, const QString &title,
                       std::shared_ptr<const PageStyle> style)
    : m_model(&model)
    , m_style(std::move(style))
    , m_pageSize(std::max(pageSize.width(), 1.0), std::max(pageSize.height(), 1.0))
    , m_title(title)
{}

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
    QList<int> rows;
    if (index < 0 || index >= pageCount())
        return rows;
    const PageSlice slice = page(index);
    for (int i = 0; i < slice.rowCount; ++i)
        rows.append(m_rows.at(slice.firstRow + i).row);
    return rows;
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
