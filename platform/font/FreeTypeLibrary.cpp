#include "FreeTypeLibrary.h"

#include FT_DRIVER_H
#include FT_MODULE_H

#include <cstdlib>
#include <memory>

namespace fontview {

namespace {

void* ftAlloc(FT_Memory, long size) { return std::malloc(static_cast<std::size_t>(size)); }
void ftFree(FT_Memory, void* block) { std::free(block); }
void* ftRealloc(FT_Memory, long, long newSize, void* block)
{
    return std::realloc(block, static_cast<std::size_t>(newSize));
}

FT_MemoryRec_ memoryRecord{nullptr, ftAlloc, ftFree, ftRealloc};

struct Library {
    FreeTypeLibraryPtr owner;
    FT_Error error = 0;
};

Library makeLibrary()
{
    Library made;
    FT_Library library = nullptr;
    made.error = FT_New_Library(&memoryRecord, &library);
    if (made.error != 0)
        return made;
    made.owner.reset(library);
    FT_Add_Default_Modules(library);
    FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
    FT_Property_Set(library, "truetype", "interpreter-version", &interpreter);
    return made;
}

const Library& library()
{
    static const Library made = makeLibrary();
    return made;
}

}  // namespace

void FreeTypeLibraryReleaser::operator()(FT_LibraryRec_* library) const noexcept { FT_Done_Library(library); }

FT_Library freeTypeLibrary() { return library().owner.get(); }

FreeTypeLibraryPtr newFreeTypeLibrary() { return std::move(makeLibrary().owner); }

std::string fontEngineError()
{
    const FT_Error error = library().error;
    if (error == 0)
        return {};
    const char* text = FT_Error_String(error);
    return "the font engine (FreeType) could not be started: " +
           (text ? std::string(text) : "error " + std::to_string(error));
}

}  // namespace fontview
