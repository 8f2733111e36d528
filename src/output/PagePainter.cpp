#include "PagePainter.h"

#include "PageInk.h"
#include "PageLayout.h"
#include "PrintedCell.h"
#include "common/DateTimeText.h"

#include <QAbstractItemModel>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace Ledgerly {

namespace {

using Font = PageStyle::Font;
using RowKind = GridRoles::RowKind;
constexpr double padX = PageStyle::cellPaddingX;
constexpr double padY = PageStyle::cellPaddingY;

} // namespace

PagePainter::PagePainter(const PageLayout &layout, QDate printedOn)
    : m_layout(layout)
    , m_printedOn(printedOn)
{}

void PagePainter::usePoints(QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    if (!device)
        return;
    painter.scale(device->logicalDpiX() / 72.0, device->logicalDpiY() / 72.0);
}

QString PagePainter::printedText(QDate date)
{
    return QStringLiteral("Printed ") + DateTimeText::write(DateTimeText::wallClock(date, {}));
}

QString PagePainter::pageText(int page, int count)
{
    return QStringLiteral("Page %1 of %2").arg(page).arg(count);
}

void PagePainter::addLines(PageContent &content, Font font, const QString &text, double left,
                           double width, bool right, double top, int firstLine, int lineCount) const
{
    const TextMetrics &metrics = m_layout.style().metrics(font);
    const QList<TextLine> lines = TextWrap::lines(text, width, metrics);
    const int end =
        lineCount < 0 ? int(lines.size()) : std::min(int(lines.size()), firstLine + lineCount);
    for (int i = std::max(0, firstLine); i < end; ++i) {
        const TextLine &line = lines.at(i);
        if (line.length == 0)
            continue;
        const double x = right ? left + width - line.width : left;
        const double baseline = top + (i - firstLine) * metrics.lineHeight() + metrics.ascent();
        content.texts.append(
            {font, QPointF(x, baseline), text.mid(line.start, line.length), line.width});
    }
}

PageContent PagePainter::compose(int index) const
{
    PageContent content;
    if (index < 0 || index >= m_layout.pageCount())
        return content;
    const PageSlice slice = m_layout.page(index);
    const QSizeF size = m_layout.pageSize();
    const QString &title = m_layout.title();
    const TextMetrics &titleFont = m_layout.style().metrics(Font::Title);
    double y = 0;
    for (const TextLine &line : m_layout.titleLines()) {
        content.texts.append({Font::Title, QPointF(0, y + titleFont.ascent()),
                              title.mid(line.start, line.length), line.width});
        y += titleFont.lineHeight();
    }

    composeHeader(content, slice.band);
    const QList<PageColumn> &band = m_layout.band(slice.band);
    const double right = band.isEmpty() ? size.width() : band.last().x + band.last().width;
    // Column rules run down each stretch of records and stop at group rows,
    // which span the page.
    double stretchTop = m_layout.headerTop();
    const auto closeStretch = [&](double bottom) {
        for (qsizetype c = 1; c < band.size(); ++c)
            content.rules.append(QLineF(band.at(c).x, stretchTop, band.at(c).x, bottom));
    };
    y = m_layout.bodyTop();
    for (int i = 0; i < slice.rowCount; ++i) {
        const PrintedRow &row = m_layout.rows().at(slice.firstRow + i);
        if (row.kind == RowKind::Record) {
            composeRecord(content, band, row, y);
        } else {
            closeStretch(y);
            composeGroupRow(content, row, y);
            stretchTop = y + row.height;
        }
        y += row.height;
        content.rules.append(QLineF(0, y, right, y));
    }
    closeStretch(y);
    content.rules.append(QLineF(0, m_layout.headerTop(), 0, y));
    content.rules.append(QLineF(right, m_layout.headerTop(), right, y));

    const TextMetrics &footFont = m_layout.style().metrics(Font::Foot);
    const double foot = m_layout.bodyBottom() + PageStyle::footGap + footFont.ascent();
    const QString printed = printedText(m_printedOn);
    content.texts.append({Font::Foot, QPointF(0, foot), printed, footFont.width(printed)});
    const QString page = pageText(index + 1, m_layout.pageCount());
    const double pageWidth = footFont.width(page);
    content.texts.append({Font::Foot, QPointF(size.width() - pageWidth, foot), page, pageWidth});
    return content;
}

void PagePainter::composeHeader(PageContent &content, int bandIndex) const
{
    const QList<PageColumn> &band = m_layout.band(bandIndex);
    if (band.isEmpty())
        return;
    const double top = m_layout.headerTop();
    const double height = m_layout.headerHeight();
    const double right = band.last().x + band.last().width;
    content.fills.append({QRectF(0, top, right, height), PageStyle::captionFill()});
    content.rules.append(QLineF(0, top, right, top));
    content.rules.append(QLineF(0, top + height, right, top + height));
    const QAbstractItemModel &model = m_layout.model();
    for (const PageColumn &column : band)
        addLines(content, Font::Caption, model.headerData(column.column, Qt::Horizontal).toString(),
                 column.x + padX, std::max(0.0, column.width - 2 * padX), column.right, top + padY,
                 0, -1);
}

void PagePainter::composeRecord(PageContent &content, const QList<PageColumn> &band,
                                const PrintedRow &row, double top) const
{
    const QAbstractItemModel &model = m_layout.model();
    for (const PageColumn &column : band) {
        const QModelIndex index = model.index(row.row, column.column);
        const ColumnKind kind = GridRoles::kindOf(model, column.column);
        const double inner = std::max(0.0, column.width - 2 * padX);
        if (kind == ColumnKind::Picture) {
            if (row.firstLine > 0)
                continue;
            const QImage image = index.data(Qt::DecorationRole).value<QImage>();
            if (image.isNull())
                continue;
            const QSizeF room(inner, std::min(PageStyle::pictureHeight, row.height - 2 * padY));
            const QSizeF fitted = QSizeF(image.size()).scaled(room, Qt::KeepAspectRatio);
            content.pictures.append({QRectF(QPointF(column.x + padX, top + padY), fitted), image});
            continue;
        }
        addLines(content, Font::Cell, PrintedCell::text(index, kind), column.x + padX, inner,
                 PrintedCell::alignedRight(index), top + padY, row.firstLine, row.lineCount);
    }
}

void PagePainter::composeGroupRow(PageContent &content, const PrintedRow &row, double top) const
{
    const QModelIndex index = m_layout.model().index(row.row, 0);
    const QString text = PrintedCell::groupText(index);
    const double width = m_layout.pageSize().width();
    const bool header = row.kind == RowKind::GroupHeader;
    if (header)
        content.fills.append({QRectF(0, top, width, row.height), PageStyle::groupHeaderFill()});
    const double indent = row.level * PageStyle::groupIndent + padX;
    addLines(content, header ? Font::GroupHeader : Font::GroupFooter, text, indent,
             std::max(0.0, width - indent - padX), false, top + padY, row.firstLine, row.lineCount);
}

void PagePainter::paintPage(QPainter &painter, int index) const
{
    InkPainter(m_layout.style()).draw(painter, PageInk::from(compose(index), m_layout.style()));
}

} // namespace Ledgerly
