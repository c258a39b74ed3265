#pragma once
// The installed scalable fonts, described by their Windows names: the
// English family name (name ID 1) and the full name (name ID 4) of each
// face, with its bold and italic style bits. fontconfig finds the files,
// FreeType reads the names, and a cache keeps the catalog between runs, so
// only fonts new or changed since the last run are opened at start-up.

#include "FontFace.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace fontview {

class CatalogCache;

// Its texts view what the catalog keeps for as long as it lives.
struct CatalogEntry {
    std::string_view file;
    int index = 0;             // face index within the file
    std::string_view family;   // Windows family name (name ID 1)
    std::string_view fullName; // name ID 4
    bool bold = false;
    bool italic = false;
};

class FontCatalog {
public:
    // The process-wide catalog of the current font configuration, read
    // once on first use and kept between runs in the user's cache folder.
    static FontCatalog& instance();

    // Before first use: this program lays out no text of its own through
    // fontconfig (a window toolkit would), so the catalog reads the
    // configuration alone rather than sharing fontconfig's current one,
    // whose set of every installed font is then never made unless a
    // generic name asks fontconfig to match.
    static void readConfigurationAlone();

    // The faces a configuration lists, kept between runs in cacheFile (not
    // at all for an empty name), or in a cache already read.
    FontCatalog(FcConfig* config, const std::string& cacheFile);
    FontCatalog(FcConfig* config, CatalogCache& cache);
    ~FontCatalog();
    FontCatalog(const FontCatalog&) = delete;
    FontCatalog& operator=(const FontCatalog&) = delete;

    const std::vector<CatalogEntry>& entries() const { return entries_; }

    // The Windows family names, each once, in the order the faces were found.
    std::vector<std::string> familyNames() const;

    // The face of the family (or full name) that best matches the bold and
    // italic wishes; nullptr when no face has that name. Names compare
    // case-insensitively over at most 31 characters.
    const CatalogEntry* find(std::string_view name, bool bold, bool italic) const;

    // The face fontconfig chooses for a pattern such as "sans".
    const CatalogEntry* matchGeneric(const char* pattern, bool bold, bool italic) const;

    // The opened face of an entry; each file is opened once and shared.
    std::shared_ptr<FontFace> open(const CatalogEntry& entry);

private:
    class Reading;
    void read(CatalogCache& cache);
    void addFolder(const std::string& folder, Reading& reading);
    void addFace(std::string_view file, int index, const FaceNames& names);
    const CatalogEntry* bestOfFamily(std::vector<const CatalogEntry*> faces, bool bold, bool italic) const;

    FcConfig* config_;
    mutable std::once_flag fontsBuilt_;  // fontconfig's own set, for matching
    std::shared_ptr<const void> texts_;  // what the entries view
    std::vector<CatalogEntry> entries_;
    std::vector<std::shared_ptr<FontFace>> opened_;  // parallel to entries_
};

// Reads the catalog on another thread from its making on, so that a
// program's own start (its windows, its toolkit) runs meanwhile; the first
// instance() waits for it, and so does its end. Without a thread, nothing
// is read ahead.
class CatalogReadAhead {
public:
    CatalogReadAhead();
    ~CatalogReadAhead();
    CatalogReadAhead(const CatalogReadAhead&) = delete;
    CatalogReadAhead& operator=(const CatalogReadAhead&) = delete;

private:
    std::thread thread_;
};

// Compares two UTF-8 names as Windows compares face names: case-insensitive,
// at most 31 characters.
bool sameFaceName(const std::string& a, const std::string& b);

}  // namespace fontview
