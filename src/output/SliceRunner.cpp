#include "SliceRunner.h"

#include <utility>

namespace Ledgerly {

SliceRunner::SliceRunner(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &SliceRunner::runSlice);
}

void SliceRunner::start(Step step)
{
    m_step = std::move(step);
    m_timer.start();
}

void SliceRunner::stop()
{
    m_timer.stop();
    m_step = {};
}

void SliceRunner::runSlice()
{
    if (!m_step) {
        m_timer.stop();
        return;
    }
    const bool done = m_step(QDeadlineTimer(sliceMs));
    if (!done) {
        Q_EMIT advanced();
        return;
    }
    // The step may start other work from the signals below.
    stop();
    Q_EMIT advanced();
    Q_EMIT finished();
}

} // namespace Ledgerly
