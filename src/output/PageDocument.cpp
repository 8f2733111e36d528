#include "PageDocument.h"

#include "PageDrawer.h"
#include "PageLayout.h"
#include "PageLayoutBuilder.h"
#include "PagePainter.h"

#include <QPagedPaintDevice>

#include <cmath>

namespace Ledgerly {

namespace {

bool sameSize(QSizeF a, QSizeF b)
{
    return std::abs(a.width() - b.width()) < 0.5 && std::abs(a.height() - b.height()) < 0.5;
}

} // namespace

QSizeF PageDocument::printableSize(const QPageLayout &page)
{
    return page.paintRect(QPageLayout::Point).size();
}

PageDocument::PageDocument(const QAbstractItemModel &model, const QString &title, QDate printedOn,
                           QPagedPaintDevice &device, std::shared_ptr<const PageLayout> layout,
                           std::function<void()> abortDevice)
    : m_model(model)
    , m_printedOn(printedOn)
    , m_device(device)
    , m_abortDevice(std::move(abortDevice))
    , m_layout(std::move(layout))
{
    const QSizeF size = printableSize(device.pageLayout());
    if (!m_layout || !sameSize(m_layout->pageSize(), size)) {
        m_layout.reset();
        m_builder = std::make_unique<PageLayoutBuilder>(model, size, title);
        m_laidOutHere = true;
    }
}

PageDocument::~PageDocument()
{
    abandon();
}

int PageDocument::pageCount() const
{
    return m_layout ? m_layout->pageCount() : 0;
}

int PageDocument::pagesDone() const
{
    return m_drawer ? m_drawer->pagesDrawn() : 0;
}

int PageDocument::percent() const
{
    // Laying out costs less than drawing, but not nothing.
    const int laidOut = m_builder ? m_builder->percent() : 100;
    const int drawn = pageCount() > 0 ? int(qint64(pagesDone()) * 100 / pageCount()) : 0;
    return m_laidOutHere ? (laidOut + 3 * drawn) / 4 : drawn;
}

bool PageDocument::advance(QDeadlineTimer deadline)
{
    if (m_builder) {
        if (!m_builder->advance(deadline))
            return false;
        m_layout = std::make_shared<const PageLayout>(m_builder->layout());
        m_builder.reset();
        if (deadline.hasExpired())
            return false;
    }
    return drawPages(deadline);
}

bool PageDocument::drawPages(QDeadlineTimer deadline)
{
    if (!m_drawer)
        m_drawer = std::make_unique<PageDrawer>(m_device, m_layout->style(), m_abortDevice);
    const PagePainter pages(*m_layout, m_printedOn);
    while (m_composed < m_layout->pageCount()) {
        if (m_drawer->failed())
            return true;
        if (!m_next)
            m_next = PageInk::from(pages.compose(m_composed), m_layout->style());
        if (!m_drawer->offer(*m_next, deadline))
            return m_drawer->failed();
        m_next.reset();
        ++m_composed;
        if (deadline.hasExpired())
            return false;
    }
    m_drawer->close();
    return m_drawer->wait(deadline);
}

bool PageDocument::finish()
{
    if (!m_drawer || m_composed < pageCount())
        return false;
    m_drawer->close();
    m_drawer->wait(QDeadlineTimer(QDeadlineTimer::Forever));
    return m_drawer->succeeded() && m_drawer->pagesDrawn() == pageCount();
}

void PageDocument::abandon()
{
    if (m_drawer)
        m_drawer->cancel();
}

} // namespace Ledgerly
