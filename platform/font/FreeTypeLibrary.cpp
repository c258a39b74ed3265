#include "FreeTypeLibrary.h"

#include FT_DRIVER_H
#include FT_MODULE_H

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace fontview {

namespace {

void* ftAlloc(FT_Memory, long size) { return std::malloc(static_cast<std::size_t>(size)); }
void ftFree(FT_Memory, void* block) { std::free(block); }
void* ftRealloc(FT_Memory, long, long newSize, void* block)
{
    return std::realloc(block, static_cast<std::size_t>(newSize));
}

FT_MemoryRec_ memoryRecord{nullptr, ftAlloc, ftFree, ftRealloc};

struct LibraryReleaser {
    void operator()(FT_LibraryRec_* library) const noexcept { FT_Done_Library(library); }
};

std::unique_ptr<FT_LibraryRec_, LibraryReleaser> makeLibrary()
{
    FT_Library library = nullptr;
    if (FT_New_Library(&memoryRecord, &library) != 0)
        throw std::runtime_error("FreeType could not be started");
    std::unique_ptr<FT_LibraryRec_, LibraryReleaser> owner(library);
    FT_Add_Default_Modules(library);
    FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
    FT_Property_Set(library, "truetype", "interpreter-version", &interpreter);
    return owner;
}

}  // namespace

FT_Library freeTypeLibrary()
{
    static auto library = makeLibrary();
    return library.get();
}

}  // namespace fontview
