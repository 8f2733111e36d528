#pragma once

// A FIFO for tests of code that must never open one: whoever opens it for
// reading would wait for a writer for ever. The watch plays that writer
// after a grace period, so a faulty reader is released (and the test fails)
// instead of hanging the suite.

#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class FifoWatch
{
public:
    explicit FifoWatch(const QString &path)
        : m_path(path.toLocal8Bit())
    {
        m_made = ::mkfifo(m_path.constData(), 0600) == 0;
        if (m_made)
            m_thread = std::thread([this] { watch(); });
    }
    ~FifoWatch()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    FifoWatch(const FifoWatch &) = delete;
    FifoWatch &operator=(const FifoWatch &) = delete;

    bool made() const { return m_made; }
    // True when somebody had opened the FIFO and waited for a writer.
    bool readerWaited() const { return m_readerWaited; }

private:
    void watch()
    {
        using namespace std::chrono;
        const auto start = steady_clock::now();
        while (!m_stop) {
            std::this_thread::sleep_for(milliseconds(50));
            if (steady_clock::now() - start < seconds(2))
                continue;
            // Opening for writing without waiting succeeds only while a
            // reader has it open; that reader has then waited two seconds.
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                m_readerWaited = true;
                ::close(fd); // the reader sees the end of the file
                return;
            }
        }
    }

    QByteArray m_path;
    bool m_made = false;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_readerWaited{false};
    std::thread m_thread;
};
