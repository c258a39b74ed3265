#include "CatalogCacheFile.h"

#include <zlib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace fontview {

namespace {

// Layout, integers little-endian: the magic line, the version, the setup
// (a count and strings), the folders, the faces, and a CRC-32 of all that
// comes before it. A string is its byte count (32 bits) and its bytes; a
// stamp is size, modified and changed times and inode (64 bits each). A
// folder: path, fontconfig cache file, its stamp, the folder's stamp. A face: file,
// index (32 bits), stamp, flags (8 bits) and, for a listed face, its
// family and full names.
constexpr std::string_view magic = "spanwick font catalog\n";
constexpr unsigned char listedFlag = 1, boldFlag = 2, italicFlag = 4, keptFlag = 8;
// Larger than any real cache by far; a bigger file is not read at all.
constexpr std::uint64_t largestFile = 64u << 20;

class Writer {
public:
    void bytes(std::string_view text) { out_.append(text); }
    void number(std::uint64_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            out_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    void text(const std::string& value)
    {
        number(value.size(), 4);
        bytes(value);
    }
    void stamp(const FileStamp& s)
    {
        number(s.size, 8);
        number(static_cast<std::uint64_t>(s.modified), 8);
        number(static_cast<std::uint64_t>(s.changed), 8);
        number(s.inode, 8);
    }
    std::string& result() { return out_; }

private:
    std::string out_;
};

// Reads what Writer wrote; once anything is missing every read fails.
class Reader {
public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == in_.size(); }
    std::size_t left() const { return in_.size() - at_; }

    bool expect(std::string_view text)
    {
        ok_ = ok_ && in_.substr(at_, text.size()) == text;
        at_ += ok_ ? text.size() : 0;
        return ok_;
    }
    std::uint64_t number(int size)
    {
        if (!ok_ || left() < static_cast<std::size_t>(size)) {
            ok_ = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= std::uint64_t(static_cast<unsigned char>(in_[at_ + i])) << (8 * i);
        at_ += size;
        return value;
    }
    std::string_view text()
    {
        const std::uint64_t length = number(4);
        if (!ok_ || left() < length) {
            ok_ = false;
            return {};
        }
        const std::string_view value = in_.substr(at_, length);
        at_ += length;
        return value;
    }
    FileStamp stamp()
    {
        FileStamp s;
        s.size = number(8);
        s.modified = static_cast<std::int64_t>(number(8));
        s.changed = static_cast<std::int64_t>(number(8));
        s.inode = number(8);
        return s;
    }
    // A count of items of at least minimum bytes each, no more than fit.
    std::size_t count(std::size_t minimum)
    {
        const std::uint64_t n = number(4);
        if (n > left() / minimum)
            ok_ = false;
        return ok_ ? static_cast<std::size_t>(n) : 0;
    }

private:
    std::string_view in_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::uint32_t checksum(std::string_view bytes)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    while (!bytes.empty()) {
        const uInt chunk = static_cast<uInt>(std::min<std::size_t>(bytes.size(), UINT_MAX));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), chunk);
        bytes.remove_prefix(chunk);
    }
    return static_cast<std::uint32_t>(crc);
}

void encodeFace(Writer& out, const CachedFace& face)
{
    out.text(face.file);
    out.number(static_cast<std::uint32_t>(face.index), 4);
    out.stamp(face.stamp);
    unsigned char flags = face.read ? 0 : keptFlag;
    if (face.names)
        flags |= listedFlag | (face.names->bold ? boldFlag : 0) | (face.names->italic ? italicFlag : 0);
    out.number(flags, 1);
    if (face.names) {
        out.text(face.names->family);
        out.text(face.names->fullName);
    }
}

void decodeFace(Reader& in, StoredFace& face)
{
    face.file = in.text();
    face.index = static_cast<std::int32_t>(in.number(4));
    face.stamp = in.stamp();
    const auto flags = static_cast<unsigned char>(in.number(1));
    face.read = (flags & keptFlag) == 0;
    face.listed = (flags & listedFlag) != 0;
    if (face.listed) {
        face.family = in.text();
        face.fullName = in.text();
        face.bold = (flags & boldFlag) != 0;
        face.italic = (flags & italicFlag) != 0;
    }
}

bool writeAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file's bytes, in a buffer not cleared first: it is read at every start.
struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string_view view() const { return {data.get(), size}; }
};

FileBytes readAll(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    FileBytes bytes;
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uint64_t>(status.st_size) <= largestFile) {
        const auto wanted = static_cast<std::size_t>(status.st_size);
        bytes.data.reset(new char[wanted]);
        while (bytes.size < wanted) {
            const ssize_t got = ::read(descriptor, bytes.data.get() + bytes.size, wanted - bytes.size);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;  // cut short: the checksum says so
            bytes.size += static_cast<std::size_t>(got);
        }
    }
    ::close(descriptor);
    return bytes;
}

}  // namespace

std::string encodeCatalog(const CatalogSnapshot& snapshot, const std::string& version)
{
    Writer out;
    out.bytes(magic);
    out.text(version);
    out.number(snapshot.setup.size(), 4);
    for (const std::string& item : snapshot.setup)
        out.text(item);
    out.number(snapshot.folders.size(), 4);
    for (const CachedFolder& folder : snapshot.folders) {
        out.text(folder.path);
        out.text(folder.fontconfigCache);
        out.stamp(folder.fontconfigCacheStamp);
        out.stamp(folder.stamp);
    }
    out.number(snapshot.faces.size(), 4);
    for (const CachedFace& face : snapshot.faces)
        encodeFace(out, face);
    out.number(checksum(out.result()), 4);
    return std::move(out.result());
}

std::optional<FaceNames> StoredFace::names() const
{
    if (!listed)
        return std::nullopt;
    return FaceNames{std::string(family), std::string(fullName), bold, italic};
}

CachedFace StoredFace::owned() const { return {std::string(file), index, stamp, names(), read}; }

CatalogSnapshot StoredCatalog::owned() const
{
    CatalogSnapshot snapshot{setup, folders, {}};
    snapshot.faces.reserve(faces.size());
    for (const StoredFace& face : faces)
        snapshot.faces.push_back(face.owned());
    return snapshot;
}

std::optional<StoredCatalog> decodeCatalog(std::string_view bytes, const std::string& version)
{
    constexpr std::size_t checksumSize = 4;
    if (bytes.size() < magic.size() + checksumSize)
        return std::nullopt;
    const std::string_view body(bytes.data(), bytes.size() - checksumSize);
    Reader tail(bytes.substr(body.size()));
    if (tail.number(checksumSize) != checksum(body))
        return std::nullopt;

    Reader in(body);
    if (!in.expect(magic) || in.text() != version)
        return std::nullopt;
    StoredCatalog snapshot;
    for (std::size_t n = in.count(4); n > 0 && in.ok(); --n)
        snapshot.setup.emplace_back(in.text());
    const std::size_t folders = in.count(72);
    snapshot.folders.reserve(folders);
    for (std::size_t n = folders; n > 0 && in.ok(); --n) {
        CachedFolder& folder = snapshot.folders.emplace_back();
        folder.path = in.text();
        folder.fontconfigCache = in.text();
        folder.fontconfigCacheStamp = in.stamp();
        folder.stamp = in.stamp();
    }
    const std::size_t faces = in.count(41);
    snapshot.faces.reserve(faces);
    for (std::size_t n = faces; n > 0 && in.ok(); --n)
        decodeFace(in, snapshot.faces.emplace_back());
    if (!in.ok() || !in.atEnd())
        return std::nullopt;
    return snapshot;
}

StoredCatalog readCatalogFile(const std::string& path, const std::string& version)
{
    FileBytes bytes = readAll(path);
    std::optional<StoredCatalog> stored = decodeCatalog(bytes.view(), version);
    if (!stored)
        return {};
    stored->bytes = std::shared_ptr<const char[]>(std::move(bytes.data));
    return std::move(*stored);
}

bool writeCatalogFile(const std::string& path, const CatalogSnapshot& snapshot, const std::string& version)
{
    const std::filesystem::path target(path);
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    if (error)
        return false;
    // In the same folder, so the rename replaces the file in one step. It
    // is not synced first: a file a crash leaves torn fails its checksum
    // and is read as empty.
    std::string temporary = path + ".XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool written = writeAll(descriptor, encodeCatalog(snapshot, version));
    const bool closed = ::close(descriptor) == 0;
    if (written && closed && ::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace fontview
