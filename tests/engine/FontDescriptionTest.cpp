// Building the LOGFONT from the selections, and the one current font.

#include "CurrentFont.h"
#include "DeviceContext.h"
#include "FontDescription.h"
#include "FontHandles.h"
#include "FontPreview.h"
#include "TestNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using engine::FontSelections;

namespace {

FontSelections defaults()
{
    FontSelections s = engine::defaultSelections();
    s.faceText = "DejaVu Sans";
    return s;
}

}  // namespace

struct SizeCase {
    const char* text;
    int dpi;
    int height;
};

class HeightTest : public testing::TestWithParam<SizeCase> {};

TEST_P(HeightTest, IsMinusThePointSizeInPixels)
{
    FontSelections s = defaults();
    s.sizeText = GetParam().text;
    LOGFONTA lf{};
    engine::describeFont(lf, s, GetParam().dpi);
    EXPECT_EQ(lf.lfHeight, GetParam().height) << GetParam().text << " at " << GetParam().dpi;
}

INSTANTIATE_TEST_SUITE_P(Sizes, HeightTest,
                         testing::Values(SizeCase{"8", 96, -11}, SizeCase{"10", 96, -13}, SizeCase{"12", 96, -16},
                                         SizeCase{"10", 120, -17}, SizeCase{"12", 120, -20},
                                         SizeCase{"144", 96, -192}, SizeCase{"1", 96, -1},
                                         // no selection: the platform's default height
                                         SizeCase{"", 96, 0}, SizeCase{"abc", 96, 0},
                                         // halves go to the even neighbour
                                         SizeCase{"2.5", 72, -2}, SizeCase{"3.5", 72, -4}),
                         [](const testing::TestParamInfo<SizeCase>& info) {
                             return testnames::word(info.param.text) + "_at_" + testnames::number(info.param.dpi);
                         });

TEST(FontDescriptionTest, FillsEveryFieldFromTheSelections)
{
    struct Case {
        int weightIndex, widthIndex, italic, underline, strikeOut;
        int weight, width;
    };
    for (const Case& c : {Case{0, 0, 0, 0, 0, 0, 0}, Case{3, 1, 1, 0, 0, 300, 1}, Case{6, 100, 0, 1, 1, 600, 100},
                          Case{8, 12, 1, 1, 1, 800, 12},
                          // nothing selected in either list
                          Case{-1, -1, 0, 0, 0, -100, -1}}) {
        FontSelections s = defaults();
        s.weightIndex = c.weightIndex;
        s.widthIndex = c.widthIndex;
        s.italic = c.italic;
        s.underline = c.underline;
        s.strikeOut = c.strikeOut;
        LOGFONTA lf{};
        lf.lfEscapement = 0;
        std::memset(lf.lfFaceName, 'z', sizeof lf.lfFaceName);  // leftovers of an earlier name
        engine::describeFont(lf, s, 96);
        EXPECT_EQ(lf.lfWeight, c.weight);
        EXPECT_EQ(lf.lfWidth, c.width);
        EXPECT_EQ(lf.lfItalic, c.italic);
        EXPECT_EQ(lf.lfUnderline, c.underline);
        EXPECT_EQ(lf.lfStrikeOut, c.strikeOut);
        EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(lf.lfOutPrecision + lf.lfClipPrecision + lf.lfQuality + lf.lfPitchAndFamily, 0);
        EXPECT_EQ(lf.lfEscapement + lf.lfOrientation, 0);
        EXPECT_STREQ(lf.lfFaceName, "DejaVu Sans");
        EXPECT_EQ(lf.lfFaceName[sizeof lf.lfFaceName - 1], '\0');
    }
    // Only a state of exactly 1 counts as checked.
    FontSelections s = defaults();
    s.italic = 2;
    LOGFONTA lf{};
    engine::describeFont(lf, s, 96);
    EXPECT_EQ(lf.lfItalic, 0);
}

TEST(FontDescriptionTest, FaceNameIsCutToThirtyOneBytesOnACharacterBoundary)
{
    struct Case {
        std::string name;
        std::string stored;
    };
    const std::string ascii31(31, 'a');
    // "é" takes two bytes: 30 ASCII bytes and an é would need 32.
    for (const Case& c : {Case{"", ""}, Case{ascii31, ascii31}, Case{ascii31 + "b", ascii31},
                          Case{std::string(30, 'a') + "é", std::string(30, 'a')},
                          Case{std::string(29, 'a') + "é", std::string(29, 'a') + "é"},
                          Case{std::string(28, 'a') + "日本", std::string(28, 'a') + "日"},
                          Case{std::string(29, 'a') + "日", std::string(29, 'a')},
                          Case{std::string(100, 'x'), std::string(31, 'x')}}) {
        char field[LF_FACESIZE + 4];
        std::memset(field, '#', sizeof field);
        engine::copyFaceName(*reinterpret_cast<char(*)[LF_FACESIZE]>(field), c.name);
        EXPECT_EQ(std::string(field), c.stored);
        // nothing written past the field
        EXPECT_EQ(std::string(field + LF_FACESIZE, 4), "####");
    }
}

TEST(CurrentFontTest, ExactlyOneFontIsAliveAfterEveryReplacement)
{
    const std::size_t before = fontview::liveFontCount();
    BitmapDC preview(200, 60);
    LOGFONTA lf{};
    for (int i = 0; i < 3; ++i) {
        engine::drawFontPreview(preview, GetScreenDC(), defaults(), lf);
        EXPECT_NE(engine::CurrentFont, 0u);
        EXPECT_EQ(fontview::liveFontCount(), before + 1);
    }
    const HFONT last = engine::CurrentFont;
    engine::CurrentFont.release();
    EXPECT_EQ(engine::CurrentFont, 0u);
    engine::CurrentFont.release();  // nothing left to release
    EXPECT_FALSE(DeleteObject(last));
    EXPECT_EQ(fontview::liveFontCount(), before);
}

TEST(CurrentFontTest, PreviewDrawsTheFaceNameFromFivePixelsInAndClearsFirst)
{
    BitmapDC preview(300, 80);
    LOGFONTA lf{};
    FontSelections s = defaults();
    s.sizeText = "20";
    engine::drawFontPreview(preview, GetScreenDC(), s, lf);
    const Bitmap& image = preview.image();
    int inked = 0, left = 1000, top = 1000;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != BitmapDC::background) {
                ++inked;
                left = std::min(left, x);
                top = std::min(top, y);
            }
    EXPECT_GT(inked, 100);
    EXPECT_GE(left, 5);
    EXPECT_LE(left, 8);
    EXPECT_GE(top, 5);

    // An empty selection still makes a font (the platform's choice), and the
    // earlier picture is gone.
    engine::drawFontPreview(preview, GetScreenDC(), FontSelections{}, lf);
    EXPECT_NE(engine::CurrentFont, 0u);
    EXPECT_EQ(lf.lfHeight, 0);
    EXPECT_EQ(lf.lfWidth, -1);
    EXPECT_EQ(lf.lfWeight, -100);
    EXPECT_EQ(std::count(image.pixels(), image.pixels() + image.width() * image.height(), BitmapDC::background),
              image.width() * image.height());
    engine::CurrentFont.release();
}
