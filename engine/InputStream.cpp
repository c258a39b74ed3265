#include "InputStream.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

namespace {

FileStamp stampOf(const struct stat& info)
{
    return {static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

}  // namespace

bool readableOnlyOnce(const DataSource& source)
{
    struct stat info {};
    return source.standardInput || ::stat(source.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode);
}

std::optional<FileStamp> fileStamp(const DataSource& source)
{
    struct stat info {};
    if (source.standardInput || ::stat(source.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return stampOf(info);
}

InputStream::~InputStream()
{
    if (ownsFd_ && fd_ >= 0)
        ::close(fd_);
}

int InputStream::open(const DataSource& source)
{
    if (source.standardInput) {
        fd_ = STDIN_FILENO;
    } else {
        // Non-blocking, so a FIFO without a writer does not hang the open;
        // the reads below wait in poll() instead, where they can give up.
        do
            fd_ = ::open(source.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0)
            return error_ = errno;
        ownsFd_ = true;
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) < 0)
            return error_ = errno;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return error_ = errno;
    // A directory opens fine and only fails at read(); say so up front.
    if (S_ISDIR(info.st_mode))
        return error_ = EISDIR;
    // Files in /proc and the like say they are empty and are not: they are
    // read as streams.
    regular_ = S_ISREG(info.st_mode) && info.st_size > 0;
    start_ = stampOf(info);
    if (regular_)
        ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    // A pipe holds 64 KiB unless asked for more: a larger one lets the
    // writer run ahead and halves the wake-ups on both sides. Where the
    // system allows less, the pipe stays as it is.
    if (S_ISFIFO(info.st_mode))
        ::fcntl(fd_, F_SETPIPE_SZ, 1 << 20);
    return 0;
}

bool InputStream::waitForData(const StillWanted& stillWanted)
{
    for (;;) {
        pollfd wanted{fd_, POLLIN, 0};
        const int ready = ::poll(&wanted, 1, 100);
        if (ready < 0 && errno != EINTR) {
            error_ = errno;
            return true;  // let the read report it
        }
        // Asked on every wake, not only when nothing came: a writer that
        // trickles never lets poll time out, and a cancelled reader must
        // still close its end at once.
        if (stillWanted && !stillWanted())
            return false;
        if (ready > 0)
            return true;  // data, end or an error: the read tells which
    }
}

InputStream::Read InputStream::read(unsigned char* buffer, std::size_t size, std::size_t& got,
                                    const StillWanted& stillWanted)
{
    got = 0;
    while (got < size) {
        if (!regular_ && !waitForData(stillWanted))
            return Read::GaveUp;
        const ssize_t n = ::read(fd_, buffer + got, size - got);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            error_ = errno;
            return Read::Failed;
        }
        if (n == 0)
            return got > 0 ? Read::Data : Read::End;
        got += static_cast<std::size_t>(n);
    }
    return Read::Data;
}

bool InputStream::changed(std::uint64_t bytesRead) const
{
    if (!regular_)
        return false;
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return true;
    return stampOf(info) != start_ || bytesRead != start_.size;
}

}  // namespace engine
