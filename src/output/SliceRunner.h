#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace Ledgerly {

// Runs long work on the window's thread in short slices, handing control
// back to the event loop between them, so the window keeps painting and
// answering while thousands of pages are laid out or composed.
//
// The table model and the proxies above it may only be read on the thread
// that owns them, so reading cells stays here, in slices; what needs nothing
// from the table (drawing composed pages on a PDF or a printer) runs on a
// thread of its own (PageDrawer). The command line runs the same steps
// straight through.
class SliceRunner : public QObject
{
    Q_OBJECT
public:
    // Does a slice of the work, stopping soon after the deadline; true once
    // the work is complete.
    using Step = std::function<bool(QDeadlineTimer)>;
    static constexpr int sliceMs = 25;

    explicit SliceRunner(QObject *parent = nullptr);

    // The first slice runs when control is back in the event loop.
    void start(Step step);
    void stop();
    bool isRunning() const { return m_timer.isActive(); }

Q_SIGNALS:
    void advanced(); // after every slice
    void finished(); // after the last slice; not when stopped

private:
    void runSlice();

    QTimer m_timer;
    Step m_step;
};

} // namespace Ledgerly
