#include "PagePainter.h"

#include "common/YesNoText.h"

#include "PageLayout.h"
#include "grid/GridColumn.h"

#include <QAbstractItemModel>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace Ledgerly {

namespace {
constexpr double padding = 3;
constexpr double groupIndent = 12;
const QColor ruleColor(170, 170, 170);
const QColor headerFill(225, 225, 225);
const QColor groupFill(240, 240, 240);

QFont pageFont(int size, bool bold = false, bool italic = false)
{
    // Pixel sizes: the painter is scaled to points, so a pixel here is a point.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(size);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// Metrics are made once per font and passed in: making them per cell costs
// more than drawing the cell.
void drawText(QPainter &painter, const QFontMetricsF &metrics, const QRectF &cell,
              const QString &text, Qt::Alignment align)
{
    const QRectF inner = cell.adjusted(padding, 0, -padding, 0);
    if (inner.width() <= 0 || text.isEmpty())
        return;
    painter.drawText(inner, int(align | Qt::AlignVCenter),
                     metrics.horizontalAdvance(text) <= inner.width()
                         ? text
                         : metrics.elidedText(text, Qt::ElideRight, inner.width()));
}

void drawText(QPainter &painter, const QRectF &cell, const QString &text, Qt::Alignment align)
{
    drawText(painter, QFontMetricsF(painter.font(), painter.device()), cell, text, align);
}
} // namespace

PagePainter::PagePainter(const PageLayout &layout, QString title)
    : m_layout(layout)
    , m_title(std::move(title))
{}

QString PagePainter::checkText(bool checked)
{
    return YesNoText::text(checked);
}

void PagePainter::usePoints(QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    if (!device)
        return;
    painter.scale(device->logicalDpiX() / 72.0, device->logicalDpiY() / 72.0);
}

double PagePainter::bandWidth(int band) const
{
    const QList<PageColumn> &columns = m_layout.band(band);
    return columns.isEmpty() ? 0 : columns.last().x + columns.last().width;
}

void PagePainter::paintPage(QPainter &painter, int index) const
{
    if (index < 0 || index >= m_layout.pageCount())
        return;
    const PageSlice slice = m_layout.page(index);
    const QSizeF size = m_layout.pageSize();
    painter.save();
    painter.setPen(Qt::black);

    painter.setFont(pageFont(14, true));
    drawText(painter, QRectF(0, 0, size.width(), PageLayout::titleHeight - 6), m_title,
             Qt::AlignLeft);

    paintHeader(painter, slice.band);

    double top = m_layout.bodyTop();
    for (int i = 0; i < slice.rowCount; ++i) {
        const int position = slice.firstRow + i;
        const GridRoles::RowKind kind = m_layout.rowKind(position);
        const double height = m_layout.rowHeight(kind);
        if (kind == GridRoles::RowKind::Record)
            paintRecord(painter, slice.band, m_layout.rows().at(position), top, height);
        else
            paintGroupRow(painter, slice.band, position, top, height);
        top += height;
    }

    painter.setFont(pageFont(8));
    painter.setPen(Qt::black);
    const QString footer = QStringLiteral("Page %1 of %2").arg(index + 1).arg(m_layout.pageCount());
    drawText(painter,
             QRectF(0, m_layout.bodyBottom() + 4, size.width(), PageLayout::footerHeight - 4),
             footer, Qt::AlignHCenter);
    painter.restore();
}

void PagePainter::paintHeader(QPainter &painter, int band) const
{
    const double top = m_layout.headerTop();
    const double height = PageLayout::headerHeight;
    painter.setFont(pageFont(9, true));
    for (const PageColumn &column : m_layout.band(band)) {
        const QRectF cell(column.x, top, column.width, height);
        painter.fillRect(cell, headerFill);
        painter.setPen(ruleColor);
        painter.drawRect(cell);
        painter.setPen(Qt::black);
        drawText(painter, cell,
                 m_layout.model().headerData(column.column, Qt::Horizontal).toString(),
                 Qt::AlignLeft);
    }
}

void PagePainter::paintRecord(QPainter &painter, int band, int row, double top, double height) const
{
    const QAbstractItemModel &model = m_layout.model();
    painter.setFont(pageFont(9));
    const QFontMetricsF metrics(painter.font(), painter.device());
    // Rules first, texts after: one pen change per row instead of two per cell.
    painter.setPen(ruleColor);
    for (const PageColumn &column : m_layout.band(band))
        painter.drawRect(QRectF(column.x, top, column.width, height));
    painter.setPen(Qt::black);
    for (const PageColumn &column : m_layout.band(band)) {
        const QRectF cell(column.x, top, column.width, height);
        const QModelIndex index = model.index(row, column.column);
        const QVariant check = index.data(Qt::CheckStateRole);
        if (check.isValid()) {
            drawText(painter, metrics, cell, checkText(check.toInt() == Qt::Checked),
                     Qt::AlignLeft);
            continue;
        }
        const QVariant decoration = index.data(Qt::DecorationRole);
        if (decoration.typeId() == QMetaType::QImage) {
            const QImage image = decoration.value<QImage>();
            if (!image.isNull()) {
                const QRectF room = cell.adjusted(padding, 2, -padding, -2);
                const QSizeF fitted = QSizeF(image.size()).scaled(room.size(), Qt::KeepAspectRatio);
                // A photo's full size in every cell would make a document of
                // many megabytes; three pixels a point is sharp enough on paper.
                const QSize enough = (fitted * 3).toSize();
                const QImage shown =
                    image.width() > enough.width()
                        ? image.scaled(enough, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                        : image;
                painter.drawImage(QRectF(room.topLeft(), fitted), shown);
                continue;
            }
        }
        // Figures line up on the right, as the table shows them.
        const bool number =
            column.column == 0 || (index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        drawText(painter, metrics, cell, index.data(Qt::DisplayRole).toString(),
                 number ? Qt::AlignRight : Qt::AlignLeft);
    }
}

void PagePainter::paintGroupRow(QPainter &painter, int band, int position, double top,
                                double height) const
{
    const int row = m_layout.rows().at(position);
    const bool header = m_layout.rowKind(position) == GridRoles::RowKind::GroupHeader;
    const QModelIndex index = m_layout.model().index(row, 0);
    const int level = std::max(0, index.data(GridRoles::GroupLevelRole).toInt());
    QString text = index.data(GridRoles::GroupTextRole).toString();
    if (text.isEmpty())
        text = index.data(Qt::DisplayRole).toString();
    const QRectF rowRect(0, top, bandWidth(band), height);
    if (header)
        painter.fillRect(rowRect, groupFill);
    painter.setPen(ruleColor);
    painter.drawRect(rowRect);
    painter.setPen(Qt::black);
    painter.setFont(pageFont(9, header, !header));
    drawText(painter, rowRect.adjusted(std::min(level, 8) * groupIndent, 0, 0, 0), text,
             Qt::AlignLeft);
}

bool PagePainter::paintDocument(QPagedPaintDevice &device,
                                const std::function<void(int)> &progress) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    usePoints(painter);
    for (int i = 0; i < m_layout.pageCount(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        paintPage(painter, i);
        if (progress) {
            const int done = int(qint64(i + 1) * 100 / m_layout.pageCount());
            if (done != int(qint64(i) * 100 / m_layout.pageCount()))
                progress(done);
        }
    }
    return painter.end();
}

} // namespace Ledgerly
