#pragma once
// The file that keeps the font catalog between runs: what the last reading
// of the font configuration found, and the stamps of everything it read.
// A file that is missing, cut short, damaged or written by another version
// reads as holding nothing; it is replaced whole, through a temporary file
// and a rename, so a reader never sees half of one.

#include "FileStamp.h"
#include "FontFace.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fontview {

struct CachedFace {
    std::string file;
    int index = 0;
    FileStamp stamp;
    std::optional<FaceNames> names;  // nullopt: not a face the catalog lists
    bool read = true;                // by the last reading; else kept from an earlier one

    bool operator==(const CachedFace&) const = default;
};

// A font folder as the last reading found it: the folder's own stamp,
// taken before its fonts were listed, and the fontconfig cache file they
// were listed from (none when fontconfig had to scan it). While neither
// has changed, the folder names the same font files, as fontconfig, which
// tells a cache that is out of date by its folder's time, would list them.
struct CachedFolder {
    std::string path;
    std::string fontconfigCache;
    FileStamp fontconfigCacheStamp;
    FileStamp stamp;

    bool operator==(const CachedFolder&) const = default;
};

// A face as a cache file holds it, its texts viewing the file's bytes: a
// start with thousands of faces copies none of them.
struct StoredFace {
    std::string_view file;
    int index = 0;
    FileStamp stamp;
    bool read = true;
    bool listed = false;  // then it has the names below
    bool bold = false;
    bool italic = false;
    std::string_view family;
    std::string_view fullName;

    std::optional<FaceNames> names() const;
    CachedFace owned() const;
};

struct CatalogSnapshot {
    // What the configuration named: its font and cache folders, in order.
    // Empty when the reading cannot be taken whole next time.
    std::vector<std::string> setup;
    std::vector<CachedFolder> folders;  // in reading order
    std::vector<CachedFace> faces;      // in reading order, then those kept

    bool operator==(const CatalogSnapshot&) const = default;
};

// A cache file as read, its faces viewing its bytes, which it keeps.
struct StoredCatalog {
    std::vector<std::string> setup;
    std::vector<CachedFolder> folders;
    std::vector<StoredFace> faces;
    std::shared_ptr<const void> bytes;  // what the faces view, when read from a file

    CatalogSnapshot owned() const;
};

// The bytes of a cache file; version names the programs that read the
// fonts, and a file of another version holds nothing. The faces decoded
// view the bytes given, which must outlive them.
std::string encodeCatalog(const CatalogSnapshot& snapshot, const std::string& version);
std::optional<StoredCatalog> decodeCatalog(std::string_view bytes, const std::string& version);

StoredCatalog readCatalogFile(const std::string& path, const std::string& version);
// Replaces the file, making its folder if need be; false when it could not
// be written, the old file then left as it was.
bool writeCatalogFile(const std::string& path, const CatalogSnapshot& snapshot, const std::string& version);

}  // namespace fontview
