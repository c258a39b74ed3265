#pragma once
// What a font file looked like when it was read, to tell at the next start
// whether it has changed since.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fontview {

// A file replaced by another (a rename over it) has another inode and
// change time, even with the old one's size and modification time.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since 1970
    std::int64_t changed = 0;   // nanoseconds since 1970
    std::uint64_t inode = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of a file as it is now; nullopt when there is no such file.
std::optional<FileStamp> stampOf(const std::string& path);
// The same of a folder: its time changes whenever a name in it is added,
// removed or renamed.
std::optional<FileStamp> folderStampOf(const std::string& path);

// Whether a file modified at that stamp may be modified again, unseen,
// within the same tick of its file system's clock: it was modified within
// two seconds (the coarsest clock, FAT's) of now.
bool recentlyModified(const FileStamp& stamp);

// Stamps files one folder after another: a name looked up in a folder kept
// open costs a third of a whole path's lookup.
class FileStamper {
public:
    FileStamper() = default;
    ~FileStamper();
    FileStamper(const FileStamper&) = delete;
    FileStamper& operator=(const FileStamper&) = delete;

    std::optional<FileStamp> stamp(std::string_view file);

private:
    std::string folder_;
    int descriptor_ = -1;
};

// A file mapped whole into memory, read-only, with the stamp of exactly
// what was mapped. Empty when it cannot be.
class MappedFile {
public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const unsigned char* data() const { return static_cast<const unsigned char*>(data_); }
    std::size_t size() const { return size_; }
    const std::optional<FileStamp>& stamp() const { return stamp_; }

private:
    void* data_ = nullptr;
    std::size_t size_ = 0;
    std::optional<FileStamp> stamp_;
};

}  // namespace fontview
