#pragma once
// Reading a data file once, from the start to the end: a regular file, a
// FIFO, a pipe, a character device or standard input. Reads can wait for
// a slow writer without ever blocking past a cancellation.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace engine {

// Where the data comes from: a path, or the process's standard input.
struct DataSource {
    std::string path;
    bool standardInput = false;
};

// Standard input, a FIFO, a pipe or a device: what is read is gone, so a
// second pass cannot read it again.
bool readableOnlyOnce(const DataSource& source);

// What tells one version of a regular file from the next: its size and
// the time it was last written.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// A regular file's stamp; none for anything else, or a file that is gone.
std::optional<FileStamp> fileStamp(const DataSource& source);

class InputStream {
public:
    InputStream() = default;
    ~InputStream();
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;

    // 0, or the errno that stopped it. Opening a FIFO does not wait for
    // its writer; the first read does.
    int open(const DataSource& source);

    // Only a regular file has a size known in advance; 0 otherwise.
    std::uint64_t size() const { return regular_ ? start_.size : 0; }

    // Called each time a read of a stream wakes, and at least every 100 ms
    // while it waits for data; returning false gives up the read.
    using StillWanted = std::function<bool()>;

    enum class Read { Data, End, Failed, GaveUp };

    // Reads until buffer holds size bytes or the data ends; got is what
    // arrived, also when the read fails or gives up part-way.
    Read read(unsigned char* buffer, std::size_t size, std::size_t& got, const StillWanted& stillWanted);

    int error() const { return error_; }

    // For a regular file: whether its size or modification time is not
    // what it was when opened, or it gave other than that many bytes.
    bool changed(std::uint64_t bytesRead) const;

private:
    bool waitForData(const StillWanted& stillWanted);

    int fd_ = -1;
    bool ownsFd_ = false;
    bool regular_ = false;
    int error_ = 0;
    FileStamp start_;
};

}  // namespace engine
