#pragma once

// Files that may not grow past a few bytes while this lives: a disk that fills part
// way through a write, without mounting one. Writes past the limit fail with EFBIG.

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_signal = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of the process
        rlimit small = m_old;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_signal)(int) = SIG_DFL;
};
