#pragma once

#include "PageInk.h"

#include <QDeadlineTimer>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class QPagedPaintDevice;

namespace Ledgerly {

// Draws inked pages on a printer or a PDF writer in a thread of its own,
// while the thread that owns the table reads the next pages' cells and
// composes them: a PDF spends most of its time stating and compressing
// glyphs, which needs nothing from the table. The device is the drawer's
// from construction until it has finished (or been cancelled).
class PageDrawer
{
public:
    // abortDevice runs on the drawing thread when the document is given up,
    // before the painter ends (a printer then discards the job).
    PageDrawer(QPagedPaintDevice &device, const PageStyle &style,
               std::function<void()> abortDevice = {});
    ~PageDrawer();
    PageDrawer(const PageDrawer &) = delete;
    PageDrawer &operator=(const PageDrawer &) = delete;

    // Queues the next page, waiting for room until the deadline. False (the
    // page is left as it was) when there was none, or drawing has failed.
    bool offer(PageInk &page, QDeadlineTimer deadline);
    // No more pages: the document is ended after the last one.
    void close();
    // Waits until the document has ended or the deadline; true once it has.
    bool wait(QDeadlineTimer deadline);
    // Stops after the page being drawn, gives the document up and waits.
    void cancel();

    // Drawing failed (a new page or the painter could not be had).
    bool failed() const { return m_failed; }
    // Every page was drawn and the painter ended well (once wait() is true).
    bool succeeded() const;
    int pagesDrawn() const { return m_drawn; }

    static constexpr size_t queueLength = 8;

private:
    void run();

    QPagedPaintDevice &m_device;
    InkPainter m_ink;
    std::function<void()> m_abortDevice;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<PageInk> m_queue;
    bool m_closed = false;
    bool m_cancelled = false;
    bool m_finished = false;
    bool m_ended = false;
    std::atomic<bool> m_failed = false;
    std::atomic<int> m_drawn = 0;
    std::thread m_thread;
};

} // namespace Ledgerly
