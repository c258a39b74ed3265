#pragma once
// Owners for FreeType and fontconfig objects: every create has its destroy.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include <fontconfig/fontconfig.h>

#include <memory>

namespace fontview {

template <typename T, auto Release>
struct Releaser {
    void operator()(T* p) const noexcept
    {
        if (p)
            Release(p);
    }
};

using FtFacePtr = std::unique_ptr<FT_FaceRec_, Releaser<FT_FaceRec_, FT_Done_Face>>;
using FtSizePtr = std::unique_ptr<FT_SizeRec_, Releaser<FT_SizeRec_, FT_Done_Size>>;

using FcConfigPtr = std::unique_ptr<FcConfig, Releaser<FcConfig, FcConfigDestroy>>;
using FcPatternPtr = std::unique_ptr<FcPattern, Releaser<FcPattern, FcPatternDestroy>>;
using FcStrListPtr = std::unique_ptr<FcStrList, Releaser<FcStrList, FcStrListDone>>;
using FcCachePtr = std::unique_ptr<FcCache, Releaser<FcCache, FcDirCacheUnload>>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, Releaser<FcFontSet, FcFontSetDestroy>>;

}  // namespace fontview
