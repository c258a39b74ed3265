#pragma once
// The one FreeType library of the process. It is built from FreeType's
// default modules without reading FREETYPE_PROPERTIES, and its TrueType
// driver is pinned to the v40 interpreter, so no environment variable can
// change a measured width.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

namespace fontview {

// Null when FreeType could not be started; fontEngineError() then says why,
// for the program to tell the user (no font can be made at all).
FT_Library freeTypeLibrary();
std::string fontEngineError();

struct FreeTypeLibraryReleaser {
    void operator()(FT_LibraryRec_* library) const noexcept;
};
using FreeTypeLibraryPtr = std::unique_ptr<FT_LibraryRec_, FreeTypeLibraryReleaser>;

// Another library made the same way, for a thread of its own: a library
// and its faces serve one thread at a time. Null when it cannot be made.
FreeTypeLibraryPtr newFreeTypeLibrary();

}  // namespace fontview
