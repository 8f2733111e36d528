#include "PageDrawer.h"

#include "PagePainter.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <chrono>

namespace Ledgerly {

namespace {

// How long a wait may last before the deadline is looked at again.
std::chrono::milliseconds waitingTime(QDeadlineTimer deadline)
{
    return deadline.isForever() ? std::chrono::milliseconds(100)
                                : std::chrono::milliseconds(deadline.remainingTime());
}

} // namespace

PageDrawer::PageDrawer(QPagedPaintDevice &device, const PageStyle &style,
                       std::function<void()> abortDevice)
    : m_device(device)
    , m_ink(style)
    , m_abortDevice(std::move(abortDevice))
    , m_thread([this] { run(); })
{}

PageDrawer::~PageDrawer()
{
    cancel();
}

bool PageDrawer::offer(PageInk &page, QDeadlineTimer deadline)
{
    std::unique_lock lock(m_mutex);
    while (m_queue.size() >= queueLength && !m_finished) {
        if (deadline.hasExpired())
            return false;
        m_changed.wait_for(lock, waitingTime(deadline));
    }
    if (m_finished || m_closed)
        return false;
    m_queue.push_back(std::move(page));
    m_changed.notify_all();
    return true;
}

void PageDrawer::close()
{
    const std::lock_guard lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

bool PageDrawer::wait(QDeadlineTimer deadline)
{
    std::unique_lock lock(m_mutex);
    while (!m_finished) {
        if (deadline.hasExpired())
            return false;
        m_changed.wait_for(lock, waitingTime(deadline));
    }
    return true;
}

void PageDrawer::cancel()
{
    {
        const std::lock_guard lock(m_mutex);
        if (!m_finished)
            m_cancelled = true;
        m_changed.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
}

bool PageDrawer::succeeded() const
{
    return m_ended && !m_failed;
}

void PageDrawer::run()
{
    QPainter painter;
    bool ok = painter.begin(&m_device);
    if (ok)
        PagePainter::usePoints(painter);
    bool givenUp = !ok;
    int drawn = 0;
    while (ok) {
        PageInk page;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_cancelled || m_closed || !m_queue.empty(); });
            if (m_cancelled) {
                givenUp = true;
                break;
            }
            if (m_queue.empty())
                break; // closed after the last page
            page = std::move(m_queue.front());
            m_queue.pop_front();
            m_changed.notify_all();
        }
        if (drawn > 0 && !m_device.newPage()) {
            ok = false;
            givenUp = true;
            break;
        }
        m_ink.draw(painter, page);
        m_drawn = ++drawn;
    }
    bool ended = false;
    if (painter.isActive()) {
        if (givenUp && m_abortDevice)
            m_abortDevice();
        ended = painter.end();
    }
    const std::lock_guard lock(m_mutex);
    m_failed = !ok || (!givenUp && !ended);
    m_ended = ended && !givenUp;
    m_finished = true;
    m_queue.clear();
    m_changed.notify_all();
}

} // namespace Ledgerly
