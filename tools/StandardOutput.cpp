#include "StandardOutput.h"

#include <cerrno>
#include <system_error>

#include <unistd.h>

namespace tool {

namespace {

constexpr std::size_t bufferLimit = 64 * 1024;

}  // namespace

StandardOutput::~StandardOutput()
{
    if (!finished_)
        flush();
}

void StandardOutput::write(std::string_view text)
{
    buffer_.append(text);
    if (buffer_.size() >= bufferLimit)
        flush();
}

void StandardOutput::flush()
{
    std::size_t done = 0;
    while (done < buffer_.size() && error_ == 0) {
        const ssize_t n = ::write(STDOUT_FILENO, buffer_.data() + done, buffer_.size() - done);
        if (n < 0) {
            if (errno != EINTR)
                error_ = errno;
            continue;
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

bool StandardOutput::finish()
{
    flush();
    finished_ = true;
    // Some file systems only report a failed write when the file is closed.
    if (::close(STDOUT_FILENO) != 0 && error_ == 0 && errno != EINTR)
        error_ = errno;
    return error_ == 0;
}

std::string StandardOutput::reason() const { return std::error_code(error_, std::generic_category()).message(); }

}  // namespace tool
