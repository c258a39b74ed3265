#include "FontCatalog.h"

#include "CatalogCache.h"
#include "Utf8.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <set>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <utility>

namespace fontview {

namespace {

// Windows compares face names over at most 31 characters.
constexpr std::size_t faceNameCharacters = 31;

std::u32string foldedKey(std::string_view name)
{
    std::u32string key = decodeUtf8(name);
    if (key.size() > faceNameCharacters)
        key.resize(faceNameCharacters);
    for (char32_t& c : key)
        c = foldCase(c);
    return key;
}

// Whether foldedKey(name) == key, reading no further into name than the
// first difference: most names differ in their first character, so a
// lookup over thousands of faces costs little and needs no keys made ahead.
bool foldsTo(std::string_view name, std::u32string_view key)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < name.size() && count < faceNameCharacters; ++count)
        if (count == key.size() || foldCase(nextUtf8Character(name, i)) != key[count])
            return false;
    return count == key.size();
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

bool configurationAlone = false;

// The configuration the catalog reads. Shared, fontconfig's current one
// with its set of every font, which a window toolkit makes anyway; alone,
// without that set: the catalog reads each folder's cache itself, and with
// thousands of fonts making the set is a good part of a start.
FcConfig* catalogConfiguration()
{
    if (configurationAlone)
        if (FcConfig* config = FcInitLoadConfig())
            return config;
    FcInit();
    return FcConfigReference(FcConfigGetCurrent());
}

// The catalog's cache is read, and its font files looked up, on another
// core while fontconfig reads its configuration: neither needs the other,
// and with thousands of fonts each takes a few milliseconds.
std::unique_ptr<FontCatalog> startCatalog()
{
    const std::string file = userCatalogCacheFile();
    std::unique_ptr<CatalogCache> cache;
    std::thread reading;
    try {
        reading = std::thread([&] {
            try {
                auto read = std::make_unique<CatalogCache>(file);
                read->checkFiles();
                cache = std::move(read);
            } catch (const std::bad_alloc&) {
                // Read again below, where running out of memory is reported.
            }
        });
    } catch (const std::system_error&) {
        // No thread: one after the other.
    }
    const FcConfigPtr config(catalogConfiguration());
    if (reading.joinable())
        reading.join();
    if (!cache)
        cache = std::make_unique<CatalogCache>(file);
    return std::make_unique<FontCatalog>(config.get(), *cache);  // it holds a reference of its own
}

}  // namespace

void FontCatalog::readConfigurationAlone() { configurationAlone = true; }

FontCatalog& FontCatalog::instance()
{
    static const std::unique_ptr<FontCatalog> catalog = startCatalog();
    return *catalog;
}

CatalogReadAhead::CatalogReadAhead()
{
    try {
        thread_ = std::thread([] {
            try {
                FontCatalog::instance();
            } catch (...) {
                // Read again by the first instance() outside, which reports it.
            }
        });
    } catch (const std::system_error&) {
        // No thread: read when first asked for.
    }
}

CatalogReadAhead::~CatalogReadAhead()
{
    if (thread_.joinable())
        thread_.join();
}

bool sameFaceName(const std::string& a, const std::string& b)
{
    return foldedKey(a) == foldedKey(b);
}

// What one reading of the configuration's folders carries along.
class FontCatalog::Reading {
public:
    Reading(FcConfig* config, CatalogCache& cache) : config(config), cache(cache) {}
    FcConfig* config;
    CatalogCache& cache;
    std::set<std::string> foldersDone;
    std::set<std::pair<std::string, int>> facesDone;
};

FontCatalog::FontCatalog(FcConfig* config, const std::string& cacheFile) : config_(FcConfigReference(config))
{
    CatalogCache cache(cacheFile);
    read(cache);
}

FontCatalog::FontCatalog(FcConfig* config, CatalogCache& cache) : config_(FcConfigReference(config)) { read(cache); }

void FontCatalog::read(CatalogCache& cache)
{
    const std::vector<std::string> setup = configurationSetup(config_);
    if (std::optional<StoredCatalog> stored = cache.unchanged(setup)) {
        entries_.reserve(stored->faces.size());
        for (const StoredFace& face : stored->faces)
            if (face.listed)
                entries_.push_back({face.file, face.index, face.family, face.fullName, face.bold, face.italic});
        texts_ = std::move(stored->bytes);
    } else {
        // Font folders in the configuration's order and each folder's fonts
        // in its cache's order (file names sorted), subfolders after their
        // parent: the order decides between faces of a family that share a
        // style.
        Reading reading(config_, cache);
        const FcStrListPtr folders(FcConfigGetFontDirs(config_));
        while (const FcChar8* folder = folders ? FcStrListNext(folders.get()) : nullptr)
            addFolder(reinterpret_cast<const char*>(folder), reading);
        cache.readChanged();
        cache.save(setup);
        auto faces = std::make_shared<const std::vector<CachedFace>>(cache.takeFaces());
        for (const CachedFace& face : *faces)
            if (face.names)
                addFace(face.file, face.index, *face.names);
        texts_ = std::move(faces);
    }
    opened_.resize(entries_.size());
}

FontCatalog::~FontCatalog() { FcConfigDestroy(config_); }

void FontCatalog::addFace(std::string_view file, int index, const FaceNames& names)
{
    entries_.push_back({file, index, names.family, names.fullName, names.bold, names.italic});
}

void FontCatalog::addFolder(const std::string& folder, Reading& reading)
{
    if (!reading.foldersDone.insert(folder).second)
        return;
    const std::optional<FileStamp> stamp = folderStampOf(folder);  // before the fonts are listed
    const FolderFonts fonts = folderFonts(reading.config, folder);
    if (!fonts.cache)
        return;
    reading.cache.folderRead(folder, stamp, fonts.file);
    if (FcFontSetPtr set{FcCacheCopySet(fonts.cache.get())}) {
        for (int i = 0; i < set->nfont; ++i) {
            FcPattern* font = set->fonts[i];
            FcChar8* file = nullptr;
            int index = 0;
            if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !isOutlineSfntFormat(font))
                continue;
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            index &= 0xFFFF;  // named instances of a variable font share its default face
            const std::string path(reinterpret_cast<const char*>(file));
            if (reading.facesDone.emplace(path, index).second)
                reading.cache.visit(path, index);
        }
    }
    for (int i = 0; i < FcCacheNumSubdir(fonts.cache.get()); ++i)
        addFolder(reinterpret_cast<const char*>(FcCacheSubdir(fonts.cache.get(), i)), reading);
}

std::vector<std::string> FontCatalog::familyNames() const
{
    std::vector<std::string> names;
    std::unordered_set<std::string_view> seen;
    seen.reserve(entries_.size());
    for (const CatalogEntry& entry : entries_)
        if (seen.insert(entry.family).second)
            names.emplace_back(entry.family);
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

const CatalogEntry* FontCatalog::find(std::string_view name, bool bold, bool italic) const
{
    if (name.empty())
        return nullptr;
    const std::u32string key = foldedKey(name);
    std::vector<const CatalogEntry*> family;
    for (const CatalogEntry& entry : entries_)
        if (foldsTo(entry.family, key))
            family.push_back(&entry);
    if (!family.empty())
        return bestOfFamily(std::move(family), bold, italic);
    // A full name names one face exactly.
    for (const CatalogEntry& entry : entries_)
        if (!entry.fullName.empty() && foldsTo(entry.fullName, key))
            return &entry;
    return nullptr;
}

const CatalogEntry* FontCatalog::matchGeneric(const char* name, bool bold, bool italic) const
{
    FcPatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(name)));
    if (!pattern)
        return nullptr;
    std::call_once(fontsBuilt_, [this] {
        if (!FcConfigGetFonts(config_, FcSetSystem))
            FcConfigBuildFonts(config_);
    });
    FcConfigSubstitute(config_, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    FcPatternPtr match(FcFontMatch(config_, pattern.get(), &result));
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
        opened_[position] = FontFace::open(std::string(entry.file), entry.index);
    return opened_[position];
}

}  // namespace fontview
