#include "CatalogCache.h"

#include "AppInfo.h"
#include "FreeTypeLibrary.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <new>
#include <span>
#include <system_error>
#include <thread>
#include <utility>

namespace fontview {

namespace {

// Raised whenever the file's layout or the reading of the fonts changes.
constexpr int layoutVersion = 2;

std::string keyOf(std::string_view file, int index)
{
    std::string key(file);
    key.push_back('\0');  // never in a path
    key += std::to_string(index);
    return key;
}

}  // namespace

FolderFonts folderFonts(FcConfig* config, const std::string& folder)
{
    FolderFonts fonts;
    FcChar8* file = nullptr;
    const auto* name = reinterpret_cast<const FcChar8*>(folder.c_str());
    // What FcDirCacheRead does, keeping the name of the file it loads.
    fonts.cache.reset(FcDirCacheLoad(name, config, &file));
    if (fonts.cache && file)
        fonts.file = reinterpret_cast<const char*>(file);
    FcStrFree(file);
    if (!fonts.cache)
        fonts.cache.reset(FcDirCacheRead(name, FcFalse, config));
    return fonts;
}

std::vector<std::string> configurationSetup(FcConfig* config)
{
    std::vector<std::string> setup;
    for (auto [kind, list] : {std::pair{"font folder ", FcConfigGetFontDirs(config)},
                              std::pair{"cache folder ", FcConfigGetCacheDirs(config)}}) {
        const FcStrListPtr folders(list);
        while (const FcChar8* folder = folders ? FcStrListNext(folders.get()) : nullptr)
            setup.push_back(kind + std::string(reinterpret_cast<const char*>(folder)));
    }
    return setup;
}

std::string CatalogCache::version()
{
    FT_Int major = 0, minor = 0, patch = 0;
    if (FT_Library library = freeTypeLibrary())
        FT_Library_Version(library, &major, &minor, &patch);
    return std::to_string(layoutVersion) + " " + appinfo::title + " " + appinfo::version + " FreeType " +
           std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch) + " fontconfig " +
           std::to_string(FcGetVersion());
}

CatalogCache::CatalogCache(std::string file) : file_(std::move(file))
{
    if (!file_.empty())
        last_ = readCatalogFile(file_, version());
    used_.assign(last_.faces.size(), false);
}

std::optional<FileStamp> CatalogCache::stamp(std::string_view file)
{
    if (file != stampedFile_) {
        stampedFile_ = file;
        stamped_ = stamper_.stamp(file);
    }
    return stamped_;
}

std::optional<StoredCatalog> CatalogCache::unchanged(const std::vector<std::string>& setup)
{
    if (last_.setup.empty() || last_.setup != setup)
        return std::nullopt;
    for (const CachedFolder& folder : last_.folders)
        if (folder.fontconfigCache.empty() || folderStampOf(folder.path) != folder.stamp ||
            stampOf(folder.fontconfigCache) != folder.fontconfigCacheStamp)
            return std::nullopt;
    if (!filesUnchanged_)
        checkFiles();
    if (!*filesUnchanged_)
        return std::nullopt;
    StoredCatalog faces = std::move(last_);
    std::erase_if(faces.faces, [](const StoredFace& face) { return !face.read; });
    last_ = {};
    return faces;
}

void CatalogCache::checkFiles() { filesUnchanged_ = facesUnchanged(last_.faces); }

bool CatalogCache::facesUnchanged(std::span<const StoredFace> faces)
{
    // Looking up every font file is most of a start with thousands of
    // them, so the files are shared among the cores, each part checked
    // with a stamper of its own; this thread takes the first part.
    constexpr std::size_t fewestPerThread = 256;
    const std::size_t threads =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, faces.size() / fewestPerThread + 1);
    const std::size_t share = (faces.size() + threads - 1) / threads;
    const auto partUnchanged = [](std::span<const StoredFace> part) {
        FileStamper stamper;
        const std::string_view* stampedFile = nullptr;  // the faces of a collection share one stamp
        std::optional<FileStamp> stamped;
        for (std::size_t i = 0; i < part.size(); ++i) {
            const StoredFace& face = part[i];
            if (i + 1 < part.size() && !part[i + 1].file.empty()) {
                // The next name, most likely in another core's cache, comes
                // while the kernel looks this one up.
                const std::string_view next = part[i + 1].file;
                __builtin_prefetch(next.data());
                __builtin_prefetch(next.data() + next.size() - 1);
            }
            if (!face.read)
                continue;
            if (!stampedFile || *stampedFile != face.file) {
                stampedFile = &face.file;
                stamped = stamper.stamp(face.file);
            }
            if (stamped != face.stamp)
                return false;
        }
        return true;
    };
    std::vector<char> helperUnchanged(threads, true);
    std::vector<std::thread> helpers;
    std::size_t end = faces.size();
    for (std::size_t t = threads - 1; t > 0; --t) {
        const std::size_t first = std::min(t * share, end);
        try {
            helpers.emplace_back([&, t, first, end] {
                try {
                    helperUnchanged[t] = partUnchanged(faces.subspan(first, end - first));
                } catch (const std::bad_alloc&) {
                    helperUnchanged[t] = false;  // as if changed: the folders are read again
                }
            });
        } catch (const std::system_error&) {
            break;  // no more threads: this one checks the rest
        }
        end = first;
    }
    bool unchanged = false;
    try {
        unchanged = partUnchanged(faces.first(end));
    } catch (const std::bad_alloc&) {
        // As if changed: the folders are read again, where it is reported.
    }
    for (std::thread& helper : helpers)
        helper.join();
    for (const char part : helperUnchanged)
        unchanged = unchanged && part;
    return unchanged;
}

void CatalogCache::folderRead(const std::string& folder, const std::optional<FileStamp>& stamp,
                              const std::string& fontconfigCache)
{
    std::optional<FileStamp> cacheStamp;
    if (!fontconfigCache.empty())
        cacheStamp = stampOf(fontconfigCache);
    if (!cacheStamp)
        whole_ = false;  // fontconfig scanned it: next time it may load a cache
    if (!stamp || recentlyModified(*stamp))
        whole_ = false;  // a name may come or go unseen within its time's tick
    now_.folders.push_back({folder, fontconfigCache, cacheStamp.value_or(FileStamp{}), stamp.value_or(FileStamp{})});
}

const StoredFace* CatalogCache::find(const std::string& file, int index)
{
    const auto isTheFace = [&](const StoredFace& face) { return face.index == index && face.file == file; };
    std::size_t at = next_;
    if (at >= last_.faces.size() || !isTheFace(last_.faces[at])) {
        if (index_.empty())
            for (std::size_t i = 0; i < last_.faces.size(); ++i)
                index_.try_emplace(keyOf(last_.faces[i].file, last_.faces[i].index), i);
        const auto found = index_.find(keyOf(file, index));
        if (found == index_.end())
            return nullptr;
        at = found->second;
    }
    next_ = at + 1;
    used_[at] = true;
    return &last_.faces[at];
}

void CatalogCache::visit(const std::string& file, int index)
{
    if (const StoredFace* known = find(file, index)) {
        if (const std::optional<FileStamp> now = stamp(file); now && known->stamp == *now) {
            now_.faces.push_back({file, index, *now, known->names(), true});
            return;
        }
    }
    // New or changed: read later, and stamped from the very file read.
    changed_.push_back(now_.faces.size());
    now_.faces.push_back({file, index, FileStamp{}, std::nullopt, true});
}

void CatalogCache::read(std::span<const Run> runs, FT_Library library)
{
    for (const Run& run : runs) {
        const MappedFile font(now_.faces[changed_[run.first]].file);
        for (std::size_t i = run.first; i < run.end; ++i) {
            CachedFace& face = now_.faces[changed_[i]];
            face.stamp = font.stamp().value_or(FileStamp{});
            if (font.data())
                face.names = FontFace::readNames(library, font.data(), font.size(), face.index);
        }
    }
}

void CatalogCache::readChanged()
{
    // The faces of one file one after another, so that it is mapped once.
    std::vector<Run> runs;
    for (std::size_t i = 0; i < changed_.size(); ++i)
        if (i == 0 || now_.faces[changed_[i]].file != now_.faces[changed_[i - 1]].file)
            runs.push_back({i, i + 1});
        else
            runs.back().end = i + 1;

    // Opening the fonts is nearly all of a start without the cache, so the
    // files are shared among the cores, each thread with a FreeType library
    // of its own; this thread takes the first share.
    constexpr std::size_t fewestPerThread = 16;
    const std::size_t threads =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, runs.size() / fewestPerThread + 1);
    const std::size_t share = (runs.size() + threads - 1) / threads;
    std::vector<FreeTypeLibraryPtr> libraries;
    std::vector<std::exception_ptr> failures(threads);  // a thread's, the first this one's
    std::vector<std::thread> helpers;
    std::size_t end = runs.size();
    for (std::size_t t = threads - 1; t > 0; --t) {
        const std::size_t first = std::min(t * share, end);
        FreeTypeLibraryPtr library = newFreeTypeLibrary();
        if (!library)
            break;
        try {
            helpers.emplace_back([this, part = std::span<const Run>(runs).subspan(first, end - first),
                                  library = library.get(), &failure = failures[t]] {
                try {
                    read(part, library);
                } catch (...) {
                    failure = std::current_exception();  // handed on once every thread is done
                }
            });
        } catch (const std::system_error&) {
            break;  // no more threads: this one reads the rest
        }
        libraries.push_back(std::move(library));
        end = first;
    }
    try {
        read(std::span<const Run>(runs).first(end), freeTypeLibrary());
    } catch (...) {
        failures[0] = std::current_exception();
    }
    for (std::thread& helper : helpers)
        helper.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);

    // A face whose file could not be stamped, or may change again unseen,
    // is not kept.
    keep_.assign(now_.faces.size(), true);
    for (const std::size_t i : changed_)
        if (now_.faces[i].stamp == FileStamp{} || recentlyModified(now_.faces[i].stamp))
            keep_[i] = whole_ = false;
    changed_.clear();
}

void CatalogCache::save(std::vector<std::string> setup)
{
    if (file_.empty())
        return;
    CatalogSnapshot snapshot;
    snapshot.folders = now_.folders;
    for (std::size_t i = 0; i < now_.faces.size(); ++i)
        if (i >= keep_.size() || keep_[i])
            snapshot.faces.push_back(now_.faces[i]);
    if (whole_)
        snapshot.setup = std::move(setup);
    for (std::size_t i = 0; i < last_.faces.size(); ++i) {
        const StoredFace& face = last_.faces[i];
        if (!used_[i] && stamp(face.file) == face.stamp) {
            snapshot.faces.push_back(face.owned());
            snapshot.faces.back().read = false;
        }
    }
    if (snapshot != last_.owned())
        writeCatalogFile(file_, snapshot, version());
}

std::string userCatalogCacheFile()
{
    // A relative XDG_CACHE_HOME is to be ignored, as the base directory rules say.
    std::string folder;
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/')
        folder = cache;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        folder = std::string(home) + "/.cache";
    else
        return {};
    return folder + "/spanwick/font-catalog";
}

}  // namespace fontview
