// ExtTextOutA: text drawn with explicit advances, as the preview does on a
// scaled screen. With the measured advances it must draw exactly what
// TextOutA draws.

#include "DeviceContext.h"
#include "Utf8.h"
#include "modFontView.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

HFONT makeFont(const char* face, int height, bool underline = false)
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = 400;
    lf.lfUnderline = underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

std::vector<std::int32_t> measuredWidths(BitmapDC& dc, const std::u32string& text)
{
    std::vector<std::int32_t> widths;
    for (char32_t c : text) {
        std::int32_t width = 0;
        EXPECT_TRUE(GetCharWidth32A(&dc, c, c, &width));
        widths.push_back(width);
    }
    return widths;
}

// Left edges of the separate stretches of ink columns.
std::vector<int> inkStarts(const Bitmap& image)
{
    std::vector<int> starts;
    bool previous = false;
    for (int x = 0; x < image.width(); ++x) {
        bool inked = false;
        for (int y = 0; y < image.height() && !inked; ++y)
            inked = image.pixel(x, y) != BitmapDC::background;
        if (inked && !previous)
            starts.push_back(x);
        previous = inked;
    }
    return starts;
}

bool sameImage(const Bitmap& a, const Bitmap& b)
{
    return a.width() == b.width() && a.height() == b.height() &&
           std::memcmp(a.pixels(), b.pixels(), sizeof(std::uint32_t) * a.width() * a.height()) == 0;
}

}  // namespace

struct SameAsTextOutCase {
    const char* name;
    const char* face;
    int height;
    bool underline;
    const char* text;  // UTF-8
};

class SameAsTextOutTest : public ::testing::TestWithParam<SameAsTextOutCase> {};

TEST_P(SameAsTextOutTest, MeasuredAdvancesDrawExactlyWhatTextOutDraws)
{
    const SameAsTextOutCase& c = GetParam();
    const HFONT font = makeFont(c.face, c.height, c.underline);
    ASSERT_NE(font, HFONT(0));
    BitmapDC plain(260, 60), explicitAdvances(260, 60), nullAdvances(260, 60);
    const int bytes = static_cast<int>(std::strlen(c.text));
    for (BitmapDC* dc : {&plain, &explicitAdvances, &nullAdvances})
        SelectObject(dc, font);
    ASSERT_TRUE(TextOutA(&plain, 5, 5, c.text, bytes));
    const std::u32string characters = fontview::decodeUtf8(c.text);
    const std::vector<std::int32_t> advances = measuredWidths(plain, characters);
    ASSERT_TRUE(ExtTextOutA(&explicitAdvances, 5, 5, 0, nullptr, c.text, static_cast<unsigned>(bytes),
                            advances.data()));
    ASSERT_TRUE(ExtTextOutA(&nullAdvances, 5, 5, 0, nullptr, c.text, static_cast<unsigned>(bytes), nullptr));
    EXPECT_TRUE(sameImage(plain.image(), explicitAdvances.image()));
    EXPECT_TRUE(sameImage(plain.image(), nullAdvances.image()));
    DeleteObject(font);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SameAsTextOutTest,
    ::testing::Values(SameAsTextOutCase{"Latin", "DejaVu Sans", -16, false, "Hamburg Wolf"},
                      SameAsTextOutCase{"Underlined", "Liberation Serif", -13, true, "Quay, 1999"},
                      SameAsTextOutCase{"Accents", "DejaVu Sans", -20, false, "\xC3\x84rger \xC3\xA9t\xC3\xA9"},
                      SameAsTextOutCase{"Empty", "DejaVu Sans", -16, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExtTextOutTest, EachCharacterStandsAtTheGivenAdvances)
{
    const HFONT font = makeFont("DejaVu Sans", -16);
    BitmapDC dc(200, 40);
    SelectObject(&dc, font);
    // Latin I and the two-byte Cyrillic I, drawn alike: advances go by
    // character, not by byte.
    const char* text = "I\xD0\x86I\xD0\x86";
    const std::int32_t advances[] = {23, 31, 17, 40};
    ASSERT_TRUE(ExtTextOutA(&dc, 7, 5, 0, nullptr, text, 6, advances));
    const std::vector<int> starts = inkStarts(dc.image());
    ASSERT_EQ(starts.size(), 4u);
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_EQ(starts[i] - starts[i - 1], advances[i - 1]) << i;
    DeleteObject(font);
}

TEST(ExtTextOutTest, TheUnderlineEndsWhereTheGivenAdvancesEnd)
{
    const HFONT font = makeFont("DejaVu Sans", -16, true);
    BitmapDC dc(300, 40);
    SelectObject(&dc, font);
    const std::int32_t advances[] = {30, 30, 30};
    ASSERT_TRUE(ExtTextOutA(&dc, 10, 5, 0, nullptr, "abc", 3, advances));
    int rightmost = -1;
    for (int y = 0; y < dc.image().height(); ++y)
        for (int x = 0; x < dc.image().width(); ++x)
            if (dc.image().pixel(x, y) == BitmapDC::textColour)
                rightmost = std::max(rightmost, x);
    EXPECT_EQ(rightmost, 10 + 90 - 1);
    DeleteObject(font);
}

TEST(ExtTextOutTest, RefusesOptionsItDoesNotHaveAndContextsWithoutABitmap)
{
    const HFONT font = makeFont("DejaVu Sans", -16);
    BitmapDC dc(50, 30);
    SelectObject(&dc, font);
    const RECT clip{0, 0, 10, 10};
    EXPECT_FALSE(ExtTextOutA(&dc, 0, 0, 2, nullptr, "x", 1, nullptr));
    EXPECT_FALSE(ExtTextOutA(&dc, 0, 0, 0, &clip, "x", 1, nullptr));
    EXPECT_FALSE(ExtTextOutA(GetScreenDC(), 0, 0, 0, nullptr, "x", 1, nullptr));
    EXPECT_FALSE(ExtTextOutA(&dc, 0, 0, 0, nullptr, nullptr, 1, nullptr));
    EXPECT_EQ(inkStarts(dc.image()).size(), 0u);
    DeleteObject(font);
}
