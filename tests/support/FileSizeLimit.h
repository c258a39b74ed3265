#pragma once
// Lowers this process's file size limit for as long as it lives, so writes
// past it fail with EFBIG the way a full disk fails them, without root.
// SIGXFSZ is ignored meanwhile; otherwise it would end the test program.

#include <csignal>

#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &original_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = original_;
        lowered.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &original_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

private:
    rlimit original_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool active_ = false;
};
