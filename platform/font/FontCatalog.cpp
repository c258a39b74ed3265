#include "FontCatalog.h"

#include "Utf8.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace fontview {

namespace {

// Windows compares face names over at most 31 characters.
constexpr std::size_t faceNameCharacters = 31;

std::u32string foldedKey(const std::string& name)
{
    std::u32string key = decodeUtf8(name);
    if (key.size() > faceNameCharacters)
        key.resize(faceNameCharacters);
    for (char32_t& c : key)
        c = foldCase(c);
    return key;
}

bool isOutlineSfntFormat(FcPattern* pattern)
{
    FcBool outline = FcFalse;
    if (FcPatternGetBool(pattern, FC_OUTLINE, 0, &outline) != FcResultMatch || !outline)
        return false;
    FcChar8* format = nullptr;
    if (FcPatternGetString(pattern, FC_FONTFORMAT, 0, &format) != FcResultMatch)
        return true;  // let FreeType decide
    const char* f = reinterpret_cast<const char*>(format);
    return std::strcmp(f, "TrueType") == 0 || std::strcmp(f, "CFF") == 0;
}

}  // namespace

bool sameFaceName(const std::string& a, const std::string& b)
{
    return foldedKey(a) == foldedKey(b);
}

FontCatalog& FontCatalog::instance()
{
    static FontCatalog catalog;
    return catalog;
}

FontCatalog::FontCatalog()
{
    FcInit();
    // Font folders in the configuration's order and each folder's fonts in
    // its cache's order (file names sorted), subfolders after their parent:
    // the order decides between faces of a family that share a style.
    FcConfig* config = FcConfigGetCurrent();
    FcStrListPtr folders(FcConfigGetFontDirs(config));
    if (!folders)
        return;
    std::set<std::string> foldersDone;
    std::set<std::pair<std::string, int>> facesDone;
    while (const FcChar8* folder = FcStrListNext(folders.get()))
        addFolder(reinterpret_cast<const char*>(folder), config, foldersDone, facesDone);
    opened_.resize(entries_.size());
    // Names are folded once here, not on every font creation.
    for (const CatalogEntry& entry : entries_)
        keys_.push_back({foldedKey(entry.family), foldedKey(entry.fullName)});
}

void FontCatalog::addFolder(const std::string& folder, FcConfig* config, std::set<std::string>& foldersDone,
                            std::set<std::pair<std::string, int>>& facesDone)
{
    if (!foldersDone.insert(folder).second)
        return;
    FcCachePtr cache(FcDirCacheRead(reinterpret_cast<const FcChar8*>(folder.c_str()), FcFalse, config));
    if (!cache)
        return;
    if (FcFontSetPtr fonts{FcCacheCopySet(cache.get())}) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FcPattern* font = fonts->fonts[i];
            FcChar8* file = nullptr;
            int index = 0;
            if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !isOutlineSfntFormat(font))
                continue;
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            index &= 0xFFFF;  // named instances of a variable font share its default face
            std::string path(reinterpret_cast<const char*>(file));
            if (!facesDone.emplace(path, index).second)
                continue;
            if (auto face = FontFace::open(path, index))
                entries_.push_back({path, index, face->family(), face->fullName(), face->bold(), face->italic()});
        }
    }
    for (int i = 0; i < FcCacheNumSubdir(cache.get()); ++i)
        addFolder(reinterpret_cast<const char*>(FcCacheSubdir(cache.get(), i)), config, foldersDone, facesDone);
}

std::vector<std::string> FontCatalog::familyNames() const
{
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const CatalogEntry& entry : entries_)
        if (seen.insert(entry.family).second)
            names.push_back(entry.family);
    return names;
}

const CatalogEntry* FontCatalog::bestOfFamily(std::vector<const CatalogEntry*> faces, bool bold, bool italic) const
{
    // A family lists its regular faces first, then bold, italic and bold
    // italic. The first face of the wanted style wins; failing that, the
    // fewest mismatches, the last of equals.
    const auto styleOrder = [](const CatalogEntry* face) { return (face->italic ? 2 : 0) + (face->bold ? 1 : 0); };
    std::stable_sort(faces.begin(), faces.end(),
                     [&](const CatalogEntry* a, const CatalogEntry* b) { return styleOrder(a) < styleOrder(b); });
    const CatalogEntry* best = nullptr;
    int bestScore = 3;
    for (const CatalogEntry* face : faces) {
        const int score = (face->italic != italic) + (face->bold != bold);
        if (score == 0)
            return face;
        if (score <= bestScore) {
            bestScore = score;
            best = face;
        }
    }
    return best;
}

const CatalogEntry* FontCatalog::find(const std::string& name, bool bold, bool italic) const
{
    if (name.empty())
        return nullptr;
    const std::u32string key = foldedKey(name);
    std::vector<const CatalogEntry*> family;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (keys_[i].family == key)
            family.push_back(&entries_[i]);
    if (!family.empty())
        return bestOfFamily(std::move(family), bold, italic);
    // A full name names one face exactly.
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (!keys_[i].fullName.empty() && keys_[i].fullName == key)
            return &entries_[i];
    return nullptr;
}

const CatalogEntry* FontCatalog::matchGeneric(const char* name, bool bold, bool italic) const
{
    FcPatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(name)));
    if (!pattern)
        return nullptr;
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    FcPatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match)
        return nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch)
        return nullptr;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    const std::string path(reinterpret_cast<const char*>(file));
    for (const CatalogEntry& entry : entries_)
        if (entry.file == path && entry.index == (index & 0xFFFF))
            return find(entry.family, bold, italic);
    return nullptr;
}

std::shared_ptr<FontFace> FontCatalog::open(const CatalogEntry& entry)
{
    const std::size_t position = static_cast<std::size_t>(&entry - entries_.data());
    if (position >= entries_.size())
        return nullptr;
    if (!opened_[position])
        opened_[position] = FontFace::open(entry.file, entry.index);
    return opened_[position];
}

}  // namespace fontview
