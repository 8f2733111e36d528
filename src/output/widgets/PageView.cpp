#include "PageView.h"

#include "output/PageDocument.h"
#include "output/PageInk.h"
#include "output/PageLayout.h"
#include "output/PageLayoutBuilder.h"
#include "output/PagePainter.h"
#include "output/PdfExport.h"

#include <QAbstractItemModel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace Ledgerly {

namespace {
// A table this quick to lay out is shown laid out at once.
constexpr int atOnceMs = 60;
} // namespace

PageView::PageView(const QAbstractItemModel &model, QString title, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_model(model)
    , m_title(std::move(title))
    , m_pageLayout(PdfExport::pageLayout(QPageLayout::Portrait))
    , m_printedOn(QDate::currentDate())
{
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    connect(&m_runner, &SliceRunner::advanced, this,
            [this] { Q_EMIT layoutProgress(layoutPercent()); });
    connect(&m_runner, &SliceRunner::finished, this, &PageView::adoptLayout);
    relayout();
}

PageView::~PageView() = default;

void PageView::relayout()
{
    m_runner.stop();
    m_layout.reset();
    m_builder = std::make_unique<PageLayoutBuilder>(
        m_model, PageDocument::printableSize(m_pageLayout), m_title);
    if (m_builder->advance(QDeadlineTimer(atOnceMs))) {
        adoptLayout();
        return;
    }
    m_runner.start([this](QDeadlineTimer deadline) { return m_builder->advance(deadline); });
    updateScrollBars();
    viewport()->update();
    Q_EMIT layoutProgress(layoutPercent());
    Q_EMIT previewChanged();
}

void PageView::adoptLayout()
{
    if (!m_builder)
        return;
    m_layout = std::make_shared<const PageLayout>(m_builder->layout());
    m_builder.reset();
    m_ink = std::make_unique<InkPainter>(m_layout->style());
    if (m_fitWidth)
        fitToWidth();
    updateScrollBars();
    viewport()->update();
    Q_EMIT layoutProgress(100);
    Q_EMIT laidOut();
    Q_EMIT previewChanged();
}

int PageView::layoutPercent() const
{
    return m_builder ? m_builder->percent() : 100;
}

void PageView::setOrientation(QPageLayout::Orientation orientation)
{
    if (orientation == m_pageLayout.orientation())
        return;
    const int page = currentPage();
    m_pageLayout.setOrientation(orientation);
    relayout();
    setCurrentPage(page);
}

int PageView::pageCount() const
{
    return m_layout ? m_layout->pageCount() : 0;
}

qreal PageView::pixelsPerPoint() const
{
    return m_zoom * logicalDpiY() / 72.0;
}

QSizeF PageView::paperPixels() const
{
    return m_pageLayout.fullRectPoints().size() * pixelsPerPoint();
}

int PageView::pageTop(int index) const
{
    return gap + int(std::lround(index * (paperPixels().height() + gap)));
}

int PageView::currentPage() const
{
    const qreal step = paperPixels().height() + gap;
    if (step <= 0 || pageCount() == 0)
        return 1;
    // Scrolled to the end, the last page is the one being looked at.
    const QScrollBar *bar = verticalScrollBar();
    if (bar->maximum() > 0 && bar->value() == bar->maximum())
        return pageCount();
    // The page that holds a line a little way down the view.
    const qreal line = bar->value() + std::min(viewport()->height() / 3.0, step / 2);
    return std::clamp(int(line / step) + 1, 1, pageCount());
}

void PageView::setCurrentPage(int page)
{
    page = std::clamp(page, 1, std::max(1, pageCount()));
    // The page's top, less the gap above it, at the top of the view.
    verticalScrollBar()->setValue(pageTop(page - 1) - gap);
    viewport()->update();
    Q_EMIT previewChanged();
}

void PageView::setZoomFactor(qreal zoom)
{
    const int page = currentPage();
    m_zoom = std::clamp(zoom, 0.05, 16.0);
    m_fitWidth = false;
    updateScrollBars();
    setCurrentPage(page);
}

void PageView::fitToWidth()
{
    const qreal paper = m_pageLayout.fullRectPoints().width() * logicalDpiX() / 72.0;
    if (paper > 0)
        m_zoom = std::max(0.05, (viewport()->width() - 2.0 * gap) / paper);
    m_fitWidth = true;
    updateScrollBars();
    viewport()->update();
}

void PageView::fitInView()
{
    const QSizeF paper = m_pageLayout.fullRectPoints().size() * (logicalDpiY() / 72.0);
    if (paper.width() > 0 && paper.height() > 0)
        m_zoom = std::max(0.05, std::min((viewport()->width() - 2.0 * gap) / paper.width(),
                                         (viewport()->height() - 2.0 * gap) / paper.height()));
    m_fitWidth = false;
    const int page = currentPage();
    updateScrollBars();
    setCurrentPage(page);
}

void PageView::updateScrollBars()
{
    const QSizeF paper = paperPixels();
    const int width = int(std::ceil(paper.width())) + 2 * gap;
    // While laying out, the first sheet stands for the pages to come.
    const int height = pageTop(std::max(1, pageCount()));
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, int(paper.height() / 20)));
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int page = currentPage();
    if (m_fitWidth)
        fitToWidth();
    updateScrollBars();
    if (m_fitWidth)
        setCurrentPage(page);
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
    Q_EMIT previewChanged();
}

void PageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QSizeF paper = paperPixels();
    const qreal step = paper.height() + gap;
    if (step <= 0)
        return;
    const int top = verticalScrollBar()->value();
    // Centred when the view is wider than the pages, else scrolled sideways.
    const qreal left = viewport()->width() > paper.width() + 2 * gap
                           ? (viewport()->width() - paper.width()) / 2
                           : gap - horizontalScrollBar()->value();
    if (!m_layout) {
        paintLayingOut(painter, QRectF(left, pageTop(0) - top, paper.width(), paper.height()));
        return;
    }
    const int first = std::max(0, int((top + event->rect().top() - gap) / step));
    const int last = std::min(pageCount() - 1, int((top + event->rect().bottom()) / step));
    const QRectF printable = m_pageLayout.paintRect(QPageLayout::Point);
    const qreal scale = pixelsPerPoint();
    const PagePainter pages(*m_layout, m_printedOn);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = first; i <= last; ++i) {
        const QRectF sheet(left, pageTop(i) - top, paper.width(), paper.height());
        painter.fillRect(sheet, Qt::white);
        painter.save();
        painter.setClipRect(sheet);
        painter.translate(sheet.topLeft() + printable.topLeft() * scale);
        painter.scale(scale, scale);
        m_ink->draw(painter, PageInk::from(pages.compose(i), m_layout->style()));
        painter.restore();
    }
}

void PageView::paintLayingOut(QPainter &painter, const QRectF &sheet) const
{
    painter.fillRect(sheet, Qt::white);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(sheet, Qt::AlignCenter,
                     QStringLiteral("Laying out the pages... %1%").arg(layoutPercent()));
}

} // namespace Ledgerly
