// The cost of the preview: a DrawFont (release, describe, create, draw the
// face name) runs on every repaint, so it has to stay far below a
// millisecond. The yardstick, timed in the same run, is the least FreeType
// work the same picture needs: set the size of an open face and load and
// render the same glyphs.

#include "CurrentFont.h"
#include "DeviceContext.h"
#include "FontPreview.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double microsecondsPerCall(int calls, Work work)
{
    work();  // warm up: faces opened, caches filled
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i)
            work();
        const double took = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls;
        best = took < best ? took : best;
    }
    return best;
}

std::string fileOf(const char* family)
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    std::string path;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return path;
}

}  // namespace

int main()
{
    const int calls = 2000;
    std::printf("%-18s %6s %14s %14s %7s\n", "face", "size", "DrawFont us", "FreeType us", "ratio");
    for (const char* face : {"DejaVu Sans", "Liberation Serif", "DejaVu Sans Mono"}) {
        for (const char* size : {"8", "24", "72"}) {
            engine::FontSelections selections;
            selections.faceText = face;
            selections.sizeText = size;
            selections.weightIndex = 3;
            selections.widthIndex = 0;
            BitmapDC preview(240, 150);
            LOGFONTA lf{};
            const double ours = microsecondsPerCall(
                calls, [&] { engine::drawFontPreview(preview, GetScreenDC(), selections, lf); });
            engine::CurrentFont.release();

            FT_Library library;
            FT_Init_FreeType(&library);
            FT_Face ftFace;
            if (FT_New_Face(library, fileOf(face).c_str(), 0, &ftFace) != 0)
                return 1;
            const int pixels = (std::stoi(size) * 96 + 36) / 72;
            const double yardstick = microsecondsPerCall(calls, [&] {
                FT_Set_Pixel_Sizes(ftFace, 0, pixels);
                for (const char* c = face; *c; ++c) {
                    FT_Load_Char(ftFace, static_cast<unsigned char>(*c), FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP);
                    FT_Render_Glyph(ftFace->glyph, FT_RENDER_MODE_NORMAL);
                }
            });
            FT_Done_Face(ftFace);
            FT_Done_FreeType(library);
            std::printf("%-18s %6s %14.1f %14.1f %7.2f\n", face, size, ours, yardstick, ours / yardstick);
        }
    }
    return 0;
}
