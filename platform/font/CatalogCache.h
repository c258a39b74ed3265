#pragma once
// The font catalog as the last run read it, so that a start reads again
// only what has changed since. When the configuration names the same
// folders, fontconfig would list each folder's fonts from the same,
// unchanged cache file, and no font file has changed, the last reading is
// taken whole. Otherwise the folders are read again, and only the font
// files that are new or changed are opened: a face's names count only
// while its file keeps the stamp (size, times, inode) it had when read.

#include "CatalogCacheFile.h"
#include "FreeTypeHandles.h"

#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace fontview {

class CatalogCache {
public:
    // Reads the file; an empty name keeps nothing.
    explicit CatalogCache(std::string file);

    // Whether every font file of the last reading has its stamp still.
    // Needs no configuration, so it may run while fontconfig reads one;
    // unchanged() then takes the answer instead of looking again.
    void checkFiles();

    // The last reading of the configuration, its faces listed or not in
    // its order, when nothing it read has changed.
    std::optional<StoredCatalog> unchanged(const std::vector<std::string>& setup);

    // A reading anew: each folder with its stamp from before its fonts
    // were listed (nullopt when it has none) and the fontconfig cache file
    // they come from (empty when fontconfig scanned the folder), each face it
    // lists, then the names of the faces that are new or changed, read from
    // the fonts on every core. faces() are those visited, in order, with
    // their names (nullopt for a face the catalog does not list).
    void folderRead(const std::string& folder, const std::optional<FileStamp>& stamp,
                    const std::string& fontconfigCache);
    void visit(const std::string& file, int index);
    void readChanged();
    const std::vector<CachedFace>& faces() const { return now_.faces; }
    // Hands them over, once saved.
    std::vector<CachedFace> takeFaces() { return std::move(now_.faces); }

    // Writes what this reading found, when it differs from the file. Faces
    // of other configurations stay while their files are unchanged. A file
    // that cannot be written is let go.
    void save(std::vector<std::string> setup);

    // The version a file must have been written by: this program's and the
    // font libraries', since any of them may read a font differently.
    static std::string version();

private:
    struct Run {
        std::size_t first;  // in changed_
        std::size_t end;
    };
    const StoredFace* find(const std::string& file, int index);
    std::optional<FileStamp> stamp(std::string_view file);
    static bool facesUnchanged(std::span<const StoredFace> faces);
    void read(std::span<const Run> runs, FT_Library library);

    std::string file_;
    StoredCatalog last_;
    // Faces are mostly asked for in the order they were written: the next
    // one is tried first, the index is made only when that fails.
    std::size_t next_ = 0;
    std::unordered_map<std::string, std::size_t> index_;
    std::vector<bool> used_;  // parallel to last_.faces
    std::optional<bool> filesUnchanged_;  // checkFiles()'s answer

    CatalogSnapshot now_;
    std::vector<std::size_t> changed_;  // the faces to read, in now_.faces
    std::vector<bool> keep_;            // parallel to now_.faces once read
    bool whole_ = true;                 // every face of this reading is kept
    FileStamper stamper_;
    std::string stampedFile_;  // the faces of a collection share one stamp
    std::optional<FileStamp> stamped_;
};

// A folder's fonts as fontconfig lists them: from its cache file when it
// has a valid one (named in file), else scanned anew.
struct FolderFonts {
    FcCachePtr cache;
    std::string file;
};
FolderFonts folderFonts(FcConfig* config, const std::string& folder);

// The setup of a configuration as CatalogCache compares it: its font
// folders and cache folders, in order.
std::vector<std::string> configurationSetup(FcConfig* config);

// $XDG_CACHE_HOME/spanwick/font-catalog, or ~/.cache/spanwick/font-catalog;
// empty when neither place is known.
std::string userCatalogCacheFile();

}  // namespace fontview
