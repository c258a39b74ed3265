// The Windows-style font calls over FreeType and fontconfig, with the fonts
// of fonts-dejavu-core, fonts-dejavu-extra and fonts-liberation2.

#include "DeviceContext.h"
#include "FontCatalog.h"
#include "FontHandles.h"
#include "TestNames.h"
#include "modFontView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace {

struct Request {
    Request(std::string face, int height = -16, int width = 0, int weight = 400, bool italic = false,
            bool underline = false, bool strikeOut = false)
        : face(std::move(face)), height(height), width(width), weight(weight), italic(italic),
          underline(underline), strikeOut(strikeOut)
    {
    }
    std::string face;
    int height;
    int width;
    int weight;
    bool italic;
    bool underline;
    bool strikeOut;
};

LOGFONTA describe(const Request& r)
{
    LOGFONTA lf{};
    lf.lfHeight = r.height;
    lf.lfWidth = r.width;
    lf.lfWeight = r.weight;
    lf.lfItalic = r.italic;
    lf.lfUnderline = r.underline;
    lf.lfStrikeOut = r.strikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, r.face.c_str(), LF_FACESIZE - 1);
    return lf;
}

// A font made for one test and released at its end.
class ScopedFont {
public:
    explicit ScopedFont(const Request& r) : lf_(describe(r)), handle_(CreateFontIndirectA(&lf_)) {}
    ~ScopedFont() { DeleteObject(handle_); }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

    HFONT handle() const { return handle_; }

    std::vector<std::int32_t> widths(std::uint32_t first = 32, std::uint32_t last = 126) const
    {
        std::vector<std::int32_t> out(last - first + 1, -1);
        BitmapDC dc(1, 1);
        const HGDIOBJ previous = SelectObject(&dc, handle_);
        EXPECT_TRUE(GetCharWidth32A(&dc, first, last, out.data()));
        SelectObject(&dc, previous);
        return out;
    }

    std::vector<std::int32_t> widthsOf(const std::string& text) const
    {
        std::vector<std::int32_t> all = widths();
        std::vector<std::int32_t> out;
        for (const char c : text)
            out.push_back(all[static_cast<unsigned char>(c) - 32]);
        return out;
    }

    std::string face() const
    {
        BitmapDC dc(1, 1);
        const HGDIOBJ previous = SelectObject(&dc, handle_);
        char name[LF_FACESIZE] = {};
        GetTextFaceA(&dc, LF_FACESIZE, name);
        SelectObject(&dc, previous);
        return name;
    }

private:
    LOGFONTA lf_;
    HFONT handle_;
};

}  // namespace

// ---------------------------------------------------------------- MulDiv

struct MulDivCase {
    int a, b, c, expected;
};

class MulDivTest : public testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsHalvesAwayFromZeroAndRefusesOverflow)
{
    const MulDivCase& t = GetParam();
    EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.expected) << t.a << " * " << t.b << " / " << t.c;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MulDivTest,
    testing::Values(MulDivCase{8, 96, 72, 11}, MulDivCase{10, 96, 72, 13}, MulDivCase{12, 96, 72, 16},
                    MulDivCase{10, 120, 72, 17}, MulDivCase{12, 120, 72, 20}, MulDivCase{3, 1, 2, 2},
                    MulDivCase{-3, 1, 2, -2}, MulDivCase{3, -1, 2, -2}, MulDivCase{-3, -1, -2, -2},
                    MulDivCase{5, 1, -2, -3}, MulDivCase{0, 7, 3, 0}, MulDivCase{1, 1, 0, -1},
                    // the 64-bit product keeps large intermediate values
                    MulDivCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, MulDivCase{65536, 65536, 65536, 65536},
                    // a result beyond 32 bits is refused
                    MulDivCase{INT_MAX, 2, 1, -1}, MulDivCase{INT_MIN, 2, 1, -1}),
    [](const testing::TestParamInfo<MulDivCase>& info) {
        using testnames::number;
        return number(info.param.a) + "_times_" + number(info.param.b) + "_over_" + number(info.param.c);
    });

// ------------------------------------------------------- exact widths

// Widths of "Spanwick 0123" taken from the Windows text functions on the
// same font files (an independent implementation, not this code).
struct KnownWidths {
    Request request;
    std::string face;
    std::vector<std::int32_t> widths;
};

class KnownWidthsTest : public testing::TestWithParam<KnownWidths> {};

TEST_P(KnownWidthsTest, MatchClassicWindowsMeasurement)
{
    const KnownWidths& k = GetParam();
    const ScopedFont font(k.request);
    ASSERT_NE(font.handle(), 0u);
    EXPECT_EQ(font.face(), k.face);
    EXPECT_EQ(font.widthsOf("Spanwick 0123"), k.widths);
}

INSTANTIATE_TEST_SUITE_P(
    Reference, KnownWidthsTest,
    testing::Values(
        KnownWidths{{"DejaVu Sans", -16}, "DejaVu Sans", {10, 10, 10, 10, 13, 4, 9, 9, 5, 10, 10, 10, 10}},
        KnownWidths{{"Liberation Sans", -13}, "Liberation Sans", {9, 7, 7, 7, 9, 3, 7, 7, 4, 7, 7, 7, 7}},
        // the face's own bold italic
        KnownWidths{{"Liberation Serif", -16, 0, 600, true}, "Liberation Serif",
                    {9, 8, 8, 9, 11, 4, 7, 8, 4, 8, 8, 8, 8}},
        // no bold face: a simulated bold, one pixel wider
        KnownWidths{{"DejaVu Sans Light", -16, 0, 600}, "DejaVu Sans Light",
                    {11, 11, 11, 11, 14, 5, 10, 10, 6, 11, 11, 11, 11}},
        // an average width of 12 pixels
        KnownWidths{{"DejaVu Sans", -11, 12}, "DejaVu Sans", {14, 14, 14, 14, 18, 6, 12, 12, 8, 14, 14, 14, 14}},
        // a cell height of 16, and the height 0 that means the same
        KnownWidths{{"DejaVu Sans", 16}, "DejaVu Sans", {9, 9, 9, 9, 11, 4, 8, 8, 4, 9, 9, 9, 9}},
        KnownWidths{{"DejaVu Sans", 0, 40}, "DejaVu Sans", {9, 9, 9, 9, 11, 4, 8, 8, 4, 9, 9, 9, 9}},
        KnownWidths{{"Liberation Mono", -11, 7}, "Liberation Mono", {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}},
        // one pixel per em: every glyph is full width, twice the average
        // width scaled and rounded (0.602 x 5 gives 3), not twice 5
        KnownWidths{{"DejaVu Sans Mono", -1, 5}, "DejaVu Sans Mono", {6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6}},
        // an unknown face falls back to the sans
        KnownWidths{{"NoSuchFace", -11}, "Liberation Sans", {7, 6, 6, 6, 8, 2, 6, 6, 3, 6, 6, 6, 6}}),
    [](const testing::TestParamInfo<KnownWidths>& info) {
        const Request& r = info.param.request;
        std::string name = testnames::face(r.face) + "_" + testnames::number(r.height);
        if (r.width != 0)
            name += "_width" + testnames::number(r.width);
        if (r.weight > 550)
            name += "_bold";
        if (r.italic)
            name += "_italic";
        return name;
    });

// ------------------------------------------------------- face choice

struct FaceChoice {
    std::string requested;
    std::string chosen;
};

class FaceChoiceTest : public testing::TestWithParam<FaceChoice> {};

TEST_P(FaceChoiceTest, ChoosesTheNamedFamilyOrFallsBack)
{
    const ScopedFont font{Request(GetParam().requested)};
    ASSERT_NE(font.handle(), 0u);
    EXPECT_EQ(font.face(), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Names, FaceChoiceTest,
                         testing::Values(FaceChoice{"DejaVu Sans", "DejaVu Sans"},
                                         FaceChoice{"dejavu SANS", "DejaVu Sans"},
                                         // a family of its own, not a style of DejaVu Sans
                                         FaceChoice{"DejaVu Sans Light", "DejaVu Sans Light"},
                                         FaceChoice{"DejaVu Sans Condensed", "DejaVu Sans Condensed"},
                                         // a full name picks that face of its family
                                         FaceChoice{"DejaVu Sans Bold", "DejaVu Sans"},
                                         FaceChoice{"", "Liberation Sans"},
                                         FaceChoice{"NoSuchFace", "Liberation Sans"},
                                         // aliases are not consulted
                                         FaceChoice{"Times New Roman", "Liberation Sans"},
                                         FaceChoice{"DejaVu Sans  ", "Liberation Sans"}),
                         [](const testing::TestParamInfo<FaceChoice>& info) {
                             return testnames::word(info.param.requested);
                         });

TEST(FontCatalogTest, ListsSplitFamiliesAndNoEmptyNames)
{
    const auto names = fontview::FontCatalog::instance().familyNames();
    for (const char* family : {"DejaVu Sans", "DejaVu Sans Light", "DejaVu Sans Condensed", "DejaVu Sans Mono",
                               "DejaVu Serif", "Liberation Sans", "Liberation Serif", "Liberation Mono"})
        EXPECT_NE(std::find(names.begin(), names.end(), family), names.end()) << family;
    for (const std::string& name : names)
        EXPECT_FALSE(name.empty());
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << "each family once";
}

TEST(FontCatalogTest, ComparesAtMostThirtyOneCharacters)
{
    EXPECT_TRUE(fontview::sameFaceName("DejaVu Sans", "DEJAVU sans"));
    EXPECT_TRUE(fontview::sameFaceName(std::string(31, 'x') + "a", std::string(31, 'x') + "b"));
    EXPECT_FALSE(fontview::sameFaceName(std::string(30, 'x') + "a", std::string(30, 'x') + "b"));
    EXPECT_TRUE(fontview::sameFaceName("ÄÖÜ Sans", "äöü sans"));
}

// ------------------------------------------------------- width rules

TEST(WidthRulesTest, MonospacedFaceHasOneWidthForAllPrintableCharacters)
{
    for (const char* face : {"DejaVu Sans Mono", "Liberation Mono"}) {
        for (const int height : {-8, -11, -16, -37}) {
            const auto widths = ScopedFont({face, height}).widths();
            EXPECT_EQ(std::count(widths.begin(), widths.end(), widths[0]), 95) << face << " " << height;
            EXPECT_GT(widths[0], 0);
        }
    }
}

TEST(WidthRulesTest, BoldIsNeverNarrowerAndSimulatedBoldAddsOnePixel)
{
    for (const int height : {-8, -11, -16, -27}) {
        const auto regular = ScopedFont({"DejaVu Sans", height, 0, 300}).widths();
        const auto bold = ScopedFont({"DejaVu Sans", height, 0, 700}).widths();
        for (std::size_t i = 0; i < regular.size(); ++i)
            EXPECT_GE(bold[i], regular[i]) << "code " << i + 32 << " at " << height;

        // DejaVu Sans Light has no bold face of its own
        const auto light = ScopedFont({"DejaVu Sans Light", height, 0, 300}).widths();
        const auto simulated = ScopedFont({"DejaVu Sans Light", height, 0, 700}).widths();
        for (std::size_t i = 0; i < light.size(); ++i)
            EXPECT_EQ(simulated[i], light[i] + 1) << "code " << i + 32 << " at " << height;
    }
}

TEST(WidthRulesTest, WeightAboveFiveHundredFiftyAsksForBold)
{
    const auto regular = ScopedFont({"DejaVu Sans Light", -16, 0, 0}).widths();
    EXPECT_EQ(ScopedFont({"DejaVu Sans Light", -16, 0, 500}).widths(), regular);
    EXPECT_EQ(ScopedFont({"DejaVu Sans Light", -16, 0, 550}).widths(), regular);
    EXPECT_NE(ScopedFont({"DejaVu Sans Light", -16, 0, 551}).widths(), regular);
}

TEST(WidthRulesTest, DoubleAverageWidthRoughlyDoublesTheWidths)
{
    const ScopedFont normal({"DejaVu Sans", -40});
    const ScopedFont narrow({"DejaVu Sans", -40, 10});
    const ScopedFont wide({"DejaVu Sans", -40, 20});
    const auto n = normal.widths(), a = narrow.widths(), b = wide.widths();
    const double sumA = std::accumulate(a.begin(), a.end(), 0.0), sumB = std::accumulate(b.begin(), b.end(), 0.0);
    EXPECT_NEAR(sumB / sumA, 2.0, 0.1);
    EXPECT_NE(a, n);
    // a negative width counts as positive
    EXPECT_EQ(ScopedFont({"DejaVu Sans", -40, -20}).widths(), b);
}

TEST(WidthRulesTest, ItalicUnderlineAndStrikeoutKeepTheWidths)
{
    // DejaVu Sans Mono's oblique has the same advances; DejaVu Sans Light
    // has no italic and is slanted instead.
    for (const char* face : {"DejaVu Sans Mono", "DejaVu Sans Light"}) {
        const auto plain = ScopedFont({face, -16}).widths();
        EXPECT_EQ(ScopedFont({face, -16, 0, 400, true}).widths(), plain) << face;
        EXPECT_EQ(ScopedFont({face, -16, 0, 400, false, true, true}).widths(), plain) << face;
    }
}

TEST(WidthRulesTest, PositiveHeightIsTheCellHeight)
{
    // The cell is a little taller than the em, so a cell of 16 gives a
    // smaller font than a character height of 16.
    const auto cell = ScopedFont({"DejaVu Sans", 16}).widths();
    const auto em = ScopedFont({"DejaVu Sans", -16}).widths();
    EXPECT_LT(std::accumulate(cell.begin(), cell.end(), 0), std::accumulate(em.begin(), em.end(), 0));
    EXPECT_EQ(ScopedFont({"DejaVu Sans", 0}).widths(), cell);
}

TEST(WidthRulesTest, AnyCodePointHasAWidthAndMissingOnesTakeTheMissingGlyph)
{
    const ScopedFont font({"DejaVu Sans", -16});
    const auto accented = font.widths(0xE9, 0xE9);  // é
    EXPECT_GT(accented[0], 0);
    const auto missing = font.widths(0xE000, 0xE001);  // private use: not in the font
    EXPECT_EQ(missing[0], missing[1]);
    EXPECT_GT(missing[0], 0);
}

// Every installed family answers without a crash at a few settings.
TEST(WidthRulesTest, EveryInstalledFamilyAnswers)
{
    for (const std::string& family : fontview::FontCatalog::instance().familyNames()) {
        for (const Request& r : {Request{family, -8}, Request{family, -1, 100, 800, true}, Request{family, 24, 3},
                                 Request{family, -144, 1, 0, false, true, true}}) {
            const ScopedFont font(r);
            ASSERT_NE(font.handle(), 0u) << family;
            for (const std::int32_t w : font.widths())
                EXPECT_GE(w, 0) << family;
        }
    }
}

// ------------------------------------------------------- handles

TEST(HandleTest, ReleasingTwiceOrUnknownHandlesIsRefusedHarmlessly)
{
    const std::size_t before = fontview::liveFontCount();
    const LOGFONTA lf = describe({"DejaVu Sans"});
    const HFONT font = CreateFontIndirectA(&lf);
    ASSERT_NE(font, 0u);
    EXPECT_EQ(fontview::liveFontCount(), before + 1);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_FALSE(DeleteObject(0));
    EXPECT_FALSE(DeleteObject(987654321));
    EXPECT_EQ(fontview::liveFontCount(), before);

    // A released handle cannot be selected, and a new font never reuses it.
    BitmapDC dc(1, 1);
    EXPECT_EQ(SelectObject(&dc, font), 0u);
    const HFONT next = CreateFontIndirectA(&lf);
    EXPECT_NE(next, font);
    DeleteObject(next);
}

TEST(HandleTest, SelectObjectReturnsThePreviousFont)
{
    const ScopedFont a({"DejaVu Sans"}), b({"Liberation Sans"});
    BitmapDC dc(1, 1);
    EXPECT_EQ(SelectObject(&dc, a.handle()), 0u);
    EXPECT_EQ(SelectObject(&dc, b.handle()), a.handle());
    EXPECT_EQ(SelectObject(&dc, 0), b.handle());
}

TEST(HandleTest, TheScreenAnswersItsResolution)
{
    EXPECT_EQ(GetDeviceCaps(GetScreenDC(), LOGPIXELSY), 96);
    SetScreenLogPixelsY(120);
    EXPECT_EQ(GetDeviceCaps(GetScreenDC(), LOGPIXELSY), 120);
    SetScreenLogPixelsY(96);
}

TEST(HandleTest, FaceNameOfThirtyOneBytesIsUsedWhole)
{
    // A name that fills lfFaceName to its last byte is read to its zero.
    LOGFONTA lf{};
    lf.lfHeight = -16;
    std::memset(lf.lfFaceName, 'x', LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    const HFONT font = CreateFontIndirectA(&lf);
    EXPECT_NE(font, 0u);
    // Without any zero byte the name still ends at the field's end.
    std::memset(lf.lfFaceName, 'y', LF_FACESIZE);
    const HFONT other = CreateFontIndirectA(&lf);
    EXPECT_NE(other, 0u);
    DeleteObject(font);
    DeleteObject(other);
}

// ------------------------------------------------------- drawing

TEST(TextOutTest, PaintsInsideTheBoxFromItsOriginAndAdvancesByTheWidths)
{
    const ScopedFont font({"DejaVu Sans", -16, 0, 400, false, true});  // underlined
    BitmapDC dc(200, 60);
    const std::string text = "Hamburg";
    const HGDIOBJ previous = SelectObject(&dc, font.handle());
    ASSERT_TRUE(TextOutA(&dc, 5, 5, text.c_str(), static_cast<int>(text.size())));
    SelectObject(&dc, previous);

    const auto widths = font.widthsOf(text);
    const int penEnd = 5 + std::accumulate(widths.begin(), widths.end(), 0);
    const Bitmap& image = dc.image();
    int inked = 0, underlineLeft = INT_MAX, underlineRight = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == BitmapDC::background)
                continue;
            ++inked;
            EXPECT_GE(x, 5) << "ink left of the origin at " << x << "," << y;
            EXPECT_GE(y, 5) << "ink above the origin at " << x << "," << y;
            EXPECT_LT(x, penEnd + 2) << "ink beyond the pen at " << x << "," << y;
        }
    }
    EXPECT_GT(inked, 50);
    // The underline runs from the origin to exactly where the pen ends.
    for (int y = 5; y < image.height(); ++y) {
        int left = INT_MAX, right = -1, run = 0;
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == BitmapDC::textColour) {
                left = std::min(left, x), right = std::max(right, x);
                ++run;
            }
        }
        if (run > penEnd - 5 - 2) {
            underlineLeft = left, underlineRight = right;
            break;
        }
    }
    EXPECT_EQ(underlineLeft, 5);
    EXPECT_EQ(underlineRight, penEnd - 1);
}

TEST(TextOutTest, ClearingMakesTheBoxBlankAndOnlyBitmapsCanBeDrawnOn)
{
    const ScopedFont font({"DejaVu Sans", -40});
    BitmapDC dc(30, 30);  // much smaller than the text: drawing is clipped
    SelectObject(&dc, font.handle());
    EXPECT_TRUE(TextOutA(&dc, 5, 5, "WWWW", 4));
    const Bitmap& image = dc.image();
    EXPECT_NE(std::count_if(image.pixels(), image.pixels() + 900, [](auto p) { return p != BitmapDC::background; }),
              0);
    dc.clear();
    EXPECT_EQ(std::count(image.pixels(), image.pixels() + 900, BitmapDC::background), 900);
    SelectObject(&dc, 0);
    EXPECT_FALSE(TextOutA(GetScreenDC(), 0, 0, "x", 1));
}
