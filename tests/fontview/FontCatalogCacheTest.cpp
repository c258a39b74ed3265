// The font catalog kept between runs: the same answers as without it,
// whatever happened to the fonts or to the cache file since the last run.
// Each test has a font folder of its own, named by a configuration that
// FONTCONFIG_FILE points at, with copies of fonts-dejavu and
// fonts-liberation2 faces. (Programs starting together are tested with
// spanwick-measure itself.)

#include "CatalogCache.h"
#include "FontCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/mount.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using fontview::CachedFace;
using fontview::FontCatalog;

const fs::path systemFonts = "/usr/share/fonts/truetype";

// Installed long ago, as fonts usually are: a change made now is a change.
void ageFile(const fs::path& path, std::chrono::hours age = std::chrono::hours(24))
{
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// What a catalog answers, one readable line for each answer.
std::string describe(const fontview::CatalogEntry* entry, std::string_view familyPrefix = {})
{
    if (!entry)
        return "none";
    return fs::path(entry->file).filename().string() + "#" + std::to_string(entry->index) + " " +
           std::string(familyPrefix) + std::string(entry->family) + " | " + std::string(entry->fullName) +
           (entry->bold ? " bold" : "") + (entry->italic ? " italic" : "");
}

struct Lookup {
    std::string name;
    bool bold = false;
    bool italic = false;
};

// Family names, their cases and styles, full names, names cut at 31
// characters, and names that match nothing.
const std::vector<Lookup> lookups = {
    {"DejaVu Sans"},
    {"dejavu SANS", true},
    {"DejaVu Sans", false, true},
    {"DejaVu Sans", true, true},
    {"DejaVu Sans Bold"},
    {"DejaVu Sans Condensed Bold Oblique"},
    {"DejaVu Sans Condensed Bold Oblixxx"},
    {"DejaVu Sans Condensed Bold Obl"},
    {"Liberation Serif", true, true},
    {"Liberation Serif Italic"},
    {"NoSuchFace"},
    {""},
};

std::vector<std::string> answers(const FontCatalog& catalog)
{
    std::vector<std::string> lines;
    for (const fontview::CatalogEntry& entry : catalog.entries())
        lines.push_back(describe(&entry));
    for (const std::string& family : catalog.familyNames())
        lines.push_back("family " + family);
    for (const Lookup& l : lookups)
        lines.push_back(l.name + (l.bold ? " +bold" : "") + (l.italic ? " +italic" : "") + " -> " +
                        describe(catalog.find(l.name, l.bold, l.italic)));
    lines.push_back("sans -> " + describe(catalog.matchGeneric("sans", false, false)));
    return lines;
}

class FontFolder : public testing::Test {
protected:
    fs::path root = fs::temp_directory_path() / ("spanwick-catalog-" + std::to_string(::getpid()) + "-" +
                                                 testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::path fonts = root / "fonts";
    fs::path cacheFile = root / "cache" / "spanwick" / "font-catalog";
    std::size_t faceCount = 0;  // one a file

    void SetUp() override
    {
        fs::remove_all(root);
        fs::create_directories(fonts);
        writeBytes(root / "fonts.conf", "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                                        "<fontconfig>\n  <dir>" + fonts.string() + "</dir>\n  <cachedir>" +
                                            (root / "fontconfig").string() + "</cachedir>\n</fontconfig>\n");
        for (const char* font : {"dejavu/DejaVuSans.ttf", "dejavu/DejaVuSans-Bold.ttf", "dejavu/DejaVuSans-Oblique.ttf",
                                 "dejavu/DejaVuSansCondensed-BoldOblique.ttf",
                                 "liberation2/LiberationSerif-Regular.ttf", "liberation2/LiberationSerif-Italic.ttf",
                                 "liberation2/LiberationSerif-BoldItalic.ttf"})
            install(font);
        // Enough faces more, in a subfolder, for their names to be read on
        // several threads; linked, as they never change here. DejaVu Sans
        // Mono is left for a test to add.
        fs::create_directories(fonts / "more");
        for (const char* family : {"dejavu", "liberation2"})
            for (const fs::directory_entry& font : fs::directory_iterator(systemFonts / family))
                if (!fs::exists(fonts / font.path().filename()) && font.path().filename() != "DejaVuSansMono.ttf")
                    fs::create_symlink(font.path(), fonts / "more" / font.path().filename());
        faceCount = static_cast<std::size_t>(std::distance(fs::recursive_directory_iterator(fonts), {})) - 1;
        ageFile(fonts / "more");
        ageFile(fonts);
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path install(const std::string& systemFont)
    {
        const fs::path copy = fonts / fs::path(systemFont).filename();
        fs::copy_file(systemFonts / systemFont, copy, fs::copy_options::overwrite_existing);
        ageFile(copy);
        return copy;
    }

    // The configuration as a program starting now reads it: FONTCONFIG_FILE
    // names it, only for as long as it is read. The program itself reads
    // the configuration alone, without fontconfig's set of every font.
    FcConfig* configuration(bool withFonts = true) const
    {
        const char* before = std::getenv("FONTCONFIG_FILE");
        const std::string kept = before ? before : "";
        ::setenv("FONTCONFIG_FILE", (root / "fonts.conf").c_str(), 1);
        FcConfig* config = withFonts ? FcInitLoadConfigAndFonts() : FcInitLoadConfig();
        if (before)
            ::setenv("FONTCONFIG_FILE", kept.c_str(), 1);
        else
            ::unsetenv("FONTCONFIG_FILE");
        return config;
    }

    // A start of the program: a fresh configuration and catalog. With an
    // empty cacheName, no cache at all.
    std::unique_ptr<FontCatalog> open(const std::string& cacheName, bool withFonts = true) const
    {
        FcConfig* config = configuration(withFonts);
        auto catalog = std::make_unique<FontCatalog>(config, cacheName);
        FcConfigDestroy(config);
        return catalog;
    }
    std::vector<std::string> start(const std::string& cacheName) const { return answers(*open(cacheName)); }
    std::vector<std::string> startWithCache() const { return start(cacheFile.string()); }
    std::vector<std::string> startWithoutCache() const { return start(""); }

    fontview::CatalogSnapshot snapshot() const
    {
        return fontview::readCatalogFile(cacheFile.string(), fontview::CatalogCache::version()).owned();
    }
    std::vector<CachedFace> cached() const { return snapshot().faces; }
};

// ------------------------------------------------ the same answers

TEST_F(FontFolder, EveryFaceIsListedWithTheNamesItsFontGives)
{
    const auto catalog = open("");
    EXPECT_EQ(catalog->entries().size(), faceCount);
    for (const fontview::CatalogEntry& entry : catalog->entries()) {
        const auto face = fontview::FontFace::open(std::string(entry.file), entry.index);
        ASSERT_TRUE(face) << entry.file;
        const fontview::CatalogEntry read{entry.file, entry.index, face->family(), face->fullName(), face->bold(),
                                          face->italic()};
        EXPECT_EQ(describe(&entry), describe(&read));
    }
}

TEST_F(FontFolder, AnswersWithoutCacheColdAndWarmAreTheSame)
{
    const std::vector<std::string> without = startWithoutCache();
    ASSERT_GE(std::count_if(without.begin(), without.end(), [](const std::string& l) { return l.starts_with("family"); }),
              2);
    EXPECT_FALSE(fs::exists(cacheFile));
    EXPECT_EQ(startWithCache(), without) << "the first run, writing the cache";
    EXPECT_EQ(cached().size(), faceCount) << "every face kept";
    EXPECT_EQ(startWithCache(), without) << "a run from the cache";
    EXPECT_EQ(answers(*open(cacheFile.string(), false)), without) << "from the cache, the configuration alone";
    fs::remove(cacheFile);
    EXPECT_EQ(answers(*open(cacheFile.string(), false)), without) << "read anew, the configuration alone";
}

TEST_F(FontFolder, NamesAreKeptInTheUsersCacheFolder)
{
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    const std::string keptCacheHome = cacheHome ? cacheHome : "", keptHome = home ? home : "";
    struct Case {
        const char* cacheHome;
        const char* home;
        std::string file;
    };
    for (const Case& c : {Case{"/x/cache", "/x/home", "/x/cache/spanwick/font-catalog"},
                          Case{nullptr, "/x/home", "/x/home/.cache/spanwick/font-catalog"},
                          Case{"relative/cache", "/x/home", "/x/home/.cache/spanwick/font-catalog"},
                          Case{nullptr, nullptr, ""}}) {
        c.cacheHome ? ::setenv("XDG_CACHE_HOME", c.cacheHome, 1) : ::unsetenv("XDG_CACHE_HOME");
        c.home ? ::setenv("HOME", c.home, 1) : ::unsetenv("HOME");
        EXPECT_EQ(fontview::userCatalogCacheFile(), c.file) << (c.cacheHome ? c.cacheHome : "unset");
    }
    cacheHome ? ::setenv("XDG_CACHE_HOME", keptCacheHome.c_str(), 1) : ::unsetenv("XDG_CACHE_HOME");
    home ? ::setenv("HOME", keptHome.c_str(), 1) : ::unsetenv("HOME");
}

// ------------------------------------------------ staleness

// Between two runs, a change to the font folder. Every record in the
// cache is first marked ("Kept " before its family name): a face whose
// file the change touched must be read again, every other one is still
// taken from the cache.
struct FolderChange {
    const char* name;
    std::function<void(const fs::path& fonts)> change;
    std::set<std::string> changedFiles;
};

void PrintTo(const FolderChange& c, std::ostream* out) { *out << c.name; }

void keepStampsRewrite(const fs::path& file, const std::string& bytes)
{
    const auto time = fs::last_write_time(file);
    writeBytes(file, bytes);
    fs::last_write_time(file, time);
}

const FolderChange folderChanges[] = {
    {"Unchanged", [](const fs::path&) {}, {}},
    {"Touched", [](const fs::path& f) { ageFile(f / "DejaVuSans.ttf", std::chrono::hours(2)); }, {"DejaVuSans.ttf"}},
    {"TouchedJustNow",
     [](const fs::path& f) { fs::last_write_time(f / "DejaVuSans.ttf", fs::file_time_type::clock::now()); },
     {"DejaVuSans.ttf"}},
    {"ReplacedByAnotherFont",
     [](const fs::path& f) { fs::copy_file(f / "LiberationSerif-Italic.ttf", f / "DejaVuSans.ttf",
                                           fs::copy_options::overwrite_existing); },
     {"DejaVuSans.ttf"}},
    {"RewrittenKeepingSizeAndTime",
     [](const fs::path& f) { keepStampsRewrite(f / "DejaVuSans.ttf", readBytes(f / "DejaVuSans.ttf")); },
     {"DejaVuSans.ttf"}},
    {"RenamedOverKeepingSizeAndTime",
     [](const fs::path& f) {
         fs::copy_file(f / "DejaVuSans.ttf", f / "copy.tmp");
         fs::last_write_time(f / "copy.tmp", fs::last_write_time(f / "DejaVuSans.ttf"));
         fs::rename(f / "copy.tmp", f / "DejaVuSans.ttf");
     },
     {"DejaVuSans.ttf"}},
    {"Removed", [](const fs::path& f) { fs::remove(f / "DejaVuSans-Bold.ttf"); }, {"DejaVuSans-Bold.ttf"}},
    {"FontconfigCacheRemoved", [](const fs::path& f) { fs::remove_all(f.parent_path() / "fontconfig"); }, {}},
    {"Added",
     [](const fs::path& f) {
         fs::copy_file(systemFonts / "dejavu/DejaVuSansMono.ttf", f / "DejaVuSansMono.ttf");
         ageFile(f / "DejaVuSansMono.ttf");
     },
     {"DejaVuSansMono.ttf"}},
};

class Staleness : public FontFolder, public testing::WithParamInterface<FolderChange> {};

TEST_P(Staleness, OnlyChangedFontsAreReadAgain)
{
    const FolderChange& c = GetParam();
    startWithCache();
    fontview::CatalogSnapshot marked = snapshot();
    ASSERT_EQ(marked.faces.size(), faceCount);
    for (CachedFace& face : marked.faces)
        face.names->family = "Kept " + face.names->family;
    ASSERT_TRUE(fontview::writeCatalogFile(cacheFile.string(), marked, fontview::CatalogCache::version()));

    c.change(fonts);
    std::vector<std::string> wanted;
    const auto fresh = open("");
    for (const fontview::CatalogEntry& entry : fresh->entries()) {
        const bool kept = !c.changedFiles.contains(fs::path(entry.file).filename().string());
        wanted.push_back(describe(&entry, kept ? "Kept " : ""));
    }
    std::vector<std::string> answered;
    const auto fromCache = open(cacheFile.string());
    for (const fontview::CatalogEntry& entry : fromCache->entries())
        answered.push_back(describe(&entry));
    EXPECT_EQ(answered, wanted);
}

INSTANTIATE_TEST_SUITE_P(FolderChanges, Staleness, testing::ValuesIn(folderChanges),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------ damage

// The cache file as something other than this program left it.
struct Damage {
    const char* name;
    std::function<std::string(const std::string& good)> bytes;
};

void PrintTo(const Damage& d, std::ostream* out) { *out << d.name; }

std::string garbage(std::size_t size)
{
    std::mt19937 random(20);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random());
    return bytes;
}

const Damage damages[] = {
    {"Empty", [](const std::string&) { return std::string(); }},
    {"Garbage", [](const std::string&) { return garbage(4096); }},
    {"CutInHalf", [](const std::string& good) { return good.substr(0, good.size() / 2); }},
    {"LastByteMissing", [](const std::string& good) { return good.substr(0, good.size() - 1); }},
    {"OneByteChanged", [](std::string good) { good[good.size() / 2] ^= 0x20; return good; }},
    {"BytesAfterTheEnd", [](const std::string& good) { return good + "x"; }},
    {"OtherVersion",
     [](const std::string& good) {
         auto snapshot = fontview::decodeCatalog(good, fontview::CatalogCache::version());
         return fontview::encodeCatalog(snapshot.value().owned(), "0 another program");
     }},
};

class DamagedCache : public FontFolder, public testing::WithParamInterface<Damage> {};

TEST_P(DamagedCache, IsIgnoredAndWrittenAgain)
{
    const std::vector<std::string> without = startWithoutCache();
    startWithCache();
    writeBytes(cacheFile, GetParam().bytes(readBytes(cacheFile)));
    EXPECT_EQ(startWithCache(), without);
    EXPECT_EQ(cached().size(), faceCount) << "written again";
    EXPECT_EQ(startWithCache(), without);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedCache, testing::ValuesIn(damages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CacheFileTest, EveryShorterFileHoldsNothing)
{
    const fontview::CatalogSnapshot snapshot{
        {"font folder /fonts", "cache folder /cache"},
        {{"/fonts", "/cache/1-le64.cache-8", {10, 11, 12, 13}, {4096, 14, 15, 16}}, {"/fonts/sub", "", {}, {}}},
        {
            {"/fonts/a.ttf", 0, {100, 1, 2, 3}, fontview::FaceNames{"A Sans", "A Sans Bold", true, false}, true},
            {"/fonts/b.ttc", 2, {200, 4, 5, 6}, fontview::FaceNames{"B Serif", "", false, true}, true},
            {"/fonts/c.otf", 0, {300, 7, 8, 9}, std::nullopt, true},
            {"/other/d.ttf", 0, {400, 7, 8, 9}, fontview::FaceNames{"D", "D", false, false}, false},
        }};
    const std::string bytes = fontview::encodeCatalog(snapshot, "1 test");
    EXPECT_EQ(fontview::decodeCatalog(bytes, "1 test").value().owned(), snapshot);
    EXPECT_EQ(fontview::decodeCatalog(bytes, "2 test"), std::nullopt);
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_EQ(fontview::decodeCatalog(bytes.substr(0, size), "1 test"), std::nullopt) << size << " bytes";
}

// ------------------------------------------------ a cache that cannot be written

// A small file system mounted over a folder for one test; mounting needs
// privileges, and without them the test skips.
class Mounted {
public:
    Mounted(const fs::path& where, const char* options, unsigned long flags) : where_(where)
    {
        fs::create_directories(where);
        mounted_ = ::mount("tmpfs", where.c_str(), "tmpfs", MS_NOSUID | MS_NODEV | flags, options) == 0;
    }
    ~Mounted()
    {
        if (mounted_)
            ::umount2(where_.c_str(), MNT_DETACH);
    }
    Mounted(const Mounted&) = delete;
    Mounted& operator=(const Mounted&) = delete;
    bool mounted() const { return mounted_; }

private:
    fs::path where_;
    bool mounted_ = false;
};

TEST_F(FontFolder, AFolderThatCannotHoldTheCacheOnlyMakesTheStartSlower)
{
    const std::vector<std::string> without = startWithoutCache();
    const fs::path cacheHome = cacheFile.parent_path().parent_path();

    // The cache's folder is a file.
    writeBytes(cacheHome, "not a folder");
    EXPECT_EQ(startWithCache(), without) << "folder is a file";
    fs::remove(cacheHome);

    // The cache file's name is taken by a folder.
    fs::create_directories(cacheFile);
    EXPECT_EQ(startWithCache(), without) << "file is a folder";
    EXPECT_TRUE(fs::is_empty(cacheFile));
    EXPECT_EQ(std::distance(fs::directory_iterator(cacheFile.parent_path()), {}), 1) << "no temporary file left";
    fs::remove_all(cacheHome);

    {
        const Mounted readOnly(cacheHome, "size=64k", MS_RDONLY);
        if (!readOnly.mounted())
            GTEST_SKIP() << "no privilege to mount a file system";
        EXPECT_EQ(startWithCache(), without) << "read-only";
    }
    {
        const Mounted full(cacheHome, "size=4k", 0);
        ASSERT_TRUE(full.mounted());
        fs::create_directories(cacheFile.parent_path());
        const std::string before = readBytes(cacheFile);
        writeBytes(cacheHome / "filler", garbage(64 * 1024));
        EXPECT_EQ(startWithCache(), without) << "full";
        EXPECT_EQ(readBytes(cacheFile), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(cacheFile.parent_path()), {}), 0) << "no temporary file left";
    }
}

}  // namespace
