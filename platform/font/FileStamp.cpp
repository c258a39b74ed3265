#include "FileStamp.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <ctime>

namespace fontview {

namespace {

std::int64_t nanoseconds(const timespec& time) { return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec; }

std::optional<FileStamp> stampFrom(const struct stat& status, bool folder = false)
{
    if (!(folder ? S_ISDIR(status.st_mode) : S_ISREG(status.st_mode)))
        return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(status.st_size), nanoseconds(status.st_mtim),
                     nanoseconds(status.st_ctim), static_cast<std::uint64_t>(status.st_ino)};
}

std::optional<FileStamp> stampAt(int folder, const char* name)
{
    struct stat status {};
    if (::fstatat(folder, name, &status, 0) != 0)
        return std::nullopt;
    return stampFrom(status);
}

}  // namespace

std::optional<FileStamp> stampOf(const std::string& path) { return stampAt(AT_FDCWD, path.c_str()); }

std::optional<FileStamp> folderStampOf(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return stampFrom(status, true);
}

bool recentlyModified(const FileStamp& stamp)
{
    constexpr std::int64_t racy = 2'000'000'000;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t since = nanoseconds(now) - stamp.modified;
    return since < racy && since > -racy;
}

FileStamper::~FileStamper()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

std::optional<FileStamp> FileStamper::stamp(std::string_view file)
{
    const std::size_t slash = file.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? file : file.substr(slash + 1);
    if (slash == std::string_view::npos || slash == 0 || name.size() > NAME_MAX)
        return stampOf(std::string(file));
    const std::string_view folder = file.substr(0, slash);
    if (descriptor_ < 0 || folder != folder_) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        folder_ = folder;
        descriptor_ = ::open(folder_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    if (descriptor_ < 0)
        return stampOf(std::string(file));
    // The name ended, without making a string of it for each of thousands.
    char terminated[NAME_MAX + 1];
    name.copy(terminated, name.size());
    terminated[name.size()] = '\0';
    return stampAt(descriptor_, terminated);
}

MappedFile::MappedFile(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && (stamp_ = stampFrom(status)) && status.st_size > 0) {
        void* data = ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_PRIVATE, descriptor, 0);
        if (data != MAP_FAILED) {
            data_ = data;
            size_ = static_cast<std::size_t>(status.st_size);
        }
    }
    ::close(descriptor);
}

MappedFile::~MappedFile()
{
    if (data_)
        ::munmap(data_, size_);
}

}  // namespace fontview
