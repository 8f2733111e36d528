#pragma once

// A file size limit on this process makes the kernel refuse bytes past N,
// exactly as a full volume does after N bytes.

#include <csignal>
#include <sys/resource.h>

// Holds the file size limit for the scope; the signal the kernel would send
// for a refused write is ignored so that the write fails with an error.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    bool m_ok = false;
};
