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
    std::string text()
    {
        const std::uint64_t length = number(4);
        if (!ok_ || left() < length) {
            ok_ = false;
            return {};
        }
        std::string value(in_.substr(at_, length));
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

CachedFace decodeFace(Reader& in)
{
    CachedFace face;
    face.file = in.text();
    face.index = static_cast<std::int32_t>(in.number(4));
    face.stamp = in.stamp();
    const auto flags = static_cast<unsigned char>(in.number(1));
    face.read = (flags & keptFlag) == 0;
    if (flags & listedFlag) {
        FaceNames names;
        names.family = in.text();
        names.fullName = in.text();
        names.bold = (flags & boldFlag) != 0;
        names.italic = (flags & italicFlag) != 0;
        face.names = std::move(names);
    }
    return face;
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

std::string readAll(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    std::string bytes;
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uint64_t>(status.st_size) <= largestFile) {
        bytes.resize(static_cast<std::size_t>(status.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(descriptor, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(done);  // cut short: the checksum says so
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

std::optional<CatalogSnapshot> decodeCatalog(const std::string& bytes, const std::string& version)
{
    constexpr std::size_t checksumSize = 4;
    if (bytes.size() < magic.size() + checksumSize)
        return std::nullopt;
    const std::string_view body(bytes.data(), bytes.size() - checksumSize);
    Reader tail(std::string_view(bytes).substr(body.size()));
    if (tail.number(checksumSize) != checksum(body))
        return std::nullopt;

    Reader in(body);
    if (!in.expect(magic) || in.text() != version)
        return std::nullopt;
    CatalogSnapshot snapshot;
    for (std::size_t n = in.count(4); n > 0 && in.ok(); --n)
        snapshot.setup.push_back(in.text());
    for (std::size_t n = in.count(72); n > 0 && in.ok(); --n) {
        CachedFolder folder;
        folder.path = in.text();
        folder.fontconfigCache = in.text();
        folder.fontconfigCacheStamp = in.stamp();
        folder.stamp = in.stamp();
        snapshot.folders.push_back(std::move(folder));
    }
    for (std::size_t n = in.count(41); n > 0 && in.ok(); --n)
        snapshot.faces.push_back(decodeFace(in));
    if (!in.ok() || !in.atEnd())
        return std::nullopt;
    return snapshot;
}

CatalogSnapshot readCatalogFile(const std::string& path, const std::string& version)
{
    return decodeCatalog(readAll(path), version).value_or(CatalogSnapshot{});
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
