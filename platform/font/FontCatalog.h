#pragma once
// The installed scalable fonts, described by their Windows names: the
// English family name (name ID 1) and the full name (name ID 4) of each
// face, with its bold and italic style bits. fontconfig finds the files,
// FreeType reads the names.

#include "FontFace.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fontview {

struct CatalogEntry {
    std::string file;
    int index = 0;          // face index within the file
    std::string family;     // Windows family name (name ID 1)
    std::string fullName;   // name ID 4
    bool bold = false;
    bool italic = false;
};

class FontCatalog {
public:
    // The process-wide catalog, read once on first use.
    static FontCatalog& instance();

    const std::vector<CatalogEntry>& entries() const { return entries_; }

    // The Windows family names, each once, in the order the faces were found.
    std::vector<std::string> familyNames() const;

    // The face of the family (or full name) that best matches the bold and
    // italic wishes; nullptr when no face has that name. Names compare
    // case-insensitively over at most 31 characters.
    const CatalogEntry* find(const std::string& name, bool bold, bool italic) const;

    // The face fontconfig chooses for a pattern such as "sans".
    const CatalogEntry* matchGeneric(const char* pattern, bool bold, bool italic) const;

    // The opened face of an entry; each file is opened once and shared.
    std::shared_ptr<FontFace> open(const CatalogEntry& entry);

private:
    FontCatalog();
    void addFolder(const std::string& folder, FcConfig* config, std::set<std::string>& foldersDone,
                   std::set<std::pair<std::string, int>>& facesDone);
    const CatalogEntry* bestOfFamily(std::vector<const CatalogEntry*> faces, bool bold, bool italic) const;

    std::vector<CatalogEntry> entries_;
    struct FoldedNames {
        std::u32string family;
        std::u32string fullName;
    };
    std::vector<FoldedNames> keys_;                   // parallel to entries_
    std::vector<std::shared_ptr<FontFace>> opened_;  // parallel to entries_
};

// Compares two UTF-8 names as Windows compares face names: case-insensitive,
// at most 31 characters.
bool sameFaceName(const std::string& a, const std::string& b);

}  // namespace fontview
