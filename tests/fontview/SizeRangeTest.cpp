// Across the whole range of pixel heights the layer draws, a larger size
// never gives narrower characters. The one exception is Windows' own: a
// fixed-pitch face 1 pixel high is 2 pixels wide and 1 pixel at 2 pixels
// high (DejaVu Sans Mono in the reference), so the walk starts at 2.

#include "DeviceContext.h"
#include "modFontView.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct SizeWalk {
    const char* face;
    int dpi;
};

std::array<std::int32_t, 95> widthsAt(const char* face, int pixelHeight)
{
    LOGFONTA lf{};
    lf.lfHeight = -pixelHeight;
    lf.lfWeight = 400;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", face);
    const HFONT font = CreateFontIndirectA(&lf);
    std::array<std::int32_t, 95> widths{};
    DeviceContext context;
    SelectObject(&context, font);
    GetCharWidth32A(&context, 32, 126, widths.data());
    SelectObject(&context, 0);
    DeleteObject(font);
    return widths;
}

class SizeRange : public testing::TestWithParam<SizeWalk> {};

TEST_P(SizeRange, WidthsNeverShrinkAsTheSizeGrows)
{
    const SizeWalk& walk = GetParam();
    std::array<std::int32_t, 95> previous{};
    int previousHeight = 0;
    for (int size = 1; size <= 4096; size += size < 100 ? 1 : size / 8) {
        const int height = MulDiv(size, walk.dpi, 72);
        if (height < 2 || height > maxPixelHeight)
            continue;
        const auto widths = widthsAt(walk.face, height);
        for (std::size_t i = 0; i < widths.size(); ++i)
            ASSERT_GE(widths[i], previous[i]) << "code " << 32 + i << " at " << height << " px after " << previousHeight;
        previous = widths;
        previousHeight = height;
    }
    // The tallest font the layer draws is still measured in proportion.
    const auto tallest = widthsAt(walk.face, maxPixelHeight);
    EXPECT_GT(tallest['M' - 32], maxPixelHeight / 2);
}

INSTANTIATE_TEST_SUITE_P(Faces, SizeRange,
                         testing::Values(SizeWalk{"DejaVu Sans", 96}, SizeWalk{"DejaVu Sans Mono", 35},
                                         SizeWalk{"Liberation Serif", 1152}),
                         [](const auto& info) {
                             std::string name = info.param.face;
                             std::erase(name, ' ');
                             return name + "_at_" + std::to_string(info.param.dpi);
                         });

}  // namespace
