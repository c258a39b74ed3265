// Sizing a column: a spreadsheet's units against hand-worked examples, the
// widest digit, the width a share sizes for, and a header's name measured
// as a value of the same text would be.

#include "ColumnSizing.h"
#include "CsvModel.h"
#include "FontKernel.h"
#include "MeasureFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace fixture;

struct SheetCase {
    const char* name;
    std::int64_t pixels;
    std::int64_t maxDigitWidth;
    std::int64_t hundredths;  // characters x 100
    std::int64_t units;       // stored width x 256
};

class SpreadsheetUnits : public testing::TestWithParam<SheetCase> {};

TEST_P(SpreadsheetUnits, AreTheTruncatedQuotients)
{
    const SheetCase& c = GetParam();
    const engine::SpreadsheetWidth sheet = engine::spreadsheetWidth(c.pixels, c.maxDigitWidth);
    EXPECT_EQ(sheet.hundredths, c.hundredths);
    EXPECT_EQ(sheet.units, c.units);
}

INSTANTIATE_TEST_SUITE_P(
    HandWorked, SpreadsheetUnits,
    testing::Values(
        // 59 / 7 = 8.428..., so 8.43; (59 + 5) / 7 * 256 = 2340.57..., so 2340 / 256 = 9.140625.
        SheetCase{"Mdw7Pixels59", 59, 7, 843, 2340},
        SheetCase{"EmptyColumnKeepsItsPadding", 0, 7, 0, 182},   // 5 / 7 * 256 = 182.86
        SheetCase{"WholeCharacters", 70, 7, 1000, 2742},         // 75 / 7 * 256 = 2742.86
        SheetCase{"HalfAHundredthRoundsUp", 1, 8, 13, 192},      // 12.5 + 0.5 = 13
        SheetCase{"BelowAHalfRoundsDown", 1, 9, 11, 170},        // 11.11 + 0.5 = 11.61
        SheetCase{"WideDigits", 100, 12, 833, 2240},             // 833.33; 105 / 12 * 256 = 2240
        SheetCase{"NoDigitWidthCountsAsOne", 10, 0, 1000, 3840}, // 15 * 256
        SheetCase{"Huge", 1'000'000, 7, 14'285'714, 36'571'611}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpreadsheetUnits, TheWorkedExampleReadsAsASpreadsheetShowsIt)
{
    const engine::SpreadsheetWidth sheet = engine::spreadsheetWidth(59, 7);
    EXPECT_DOUBLE_EQ(sheet.characters(), 8.43);
    EXPECT_EQ(sheet.width(), 9.140625);  // a 256th is exact in binary
}

engine::WidthTable tableWith(char digit, std::int32_t width)
{
    engine::WidthTable table = makeTable();  // '9' the widest digit, 26 pixels
    table[static_cast<std::size_t>(digit - engine::firstTableCode)] = width;
    return table;
}

TEST(MaxDigitWidth, IsTheWidestOfTheTenDigits)
{
    const auto widest = [](const engine::WidthTable& table) {
        return engine::maxDigitWidth(engine::FontWidths(table, [](char32_t) { return 0; }));
    };
    EXPECT_EQ(widest(makeTable()), tableWidth('9'));
    EXPECT_EQ(widest(tableWith('0', 40)), 40);
    EXPECT_EQ(widest(tableWith('4', 41)), 41);
    // Letters around the digits do not count.
    EXPECT_EQ(widest(tableWith('/', 90)), tableWidth('9'));
    EXPECT_EQ(widest(tableWith(':', 90)), tableWidth('9'));
}

struct FitCase {
    const char* name;
    int share;
    std::optional<std::int64_t> width;
};

class FitWidth : public testing::TestWithParam<FitCase> {};

TEST_P(FitWidth, IsTheLongestValueOrAMeasuredFit)
{
    engine::Statistics statistics;
    statistics.MaxWidth = 500;
    statistics.exactFits = {50, 60, 70, 80, 90, 95, 99};
    statistics.fits = {1, 2, 3, 4, 5, 6, 7};  // estimated: never used to size
    EXPECT_EQ(engine::fitWidth(statistics, GetParam().share), GetParam().width);
    EXPECT_EQ(engine::isSizingShare(GetParam().share), GetParam().width.has_value());
}

INSTANTIATE_TEST_SUITE_P(Shares, FitWidth,
                         testing::Values(FitCase{"Longest", 100, 500}, FitCase{"Median", 50, 50},
                                         FitCase{"NinetyFive", 95, 95}, FitCase{"NinetyNine", 99, 99},
                                         FitCase{"NotAShare", 75, std::nullopt}, FitCase{"Zero", 0, std::nullopt},
                                         FitCase{"PastAll", 101, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NameCase {
    const char* name;
    std::string text;
    engine::Encoding readAs;  // how the model reads it
};

class HeaderName : public testing::TestWithParam<NameCase> {};

TEST_P(HeaderName, IsAsWideAsItsWidestLine)
{
    Font font;
    engine::FontKernel kernel(font.widths);
    const NameCase& c = GetParam();
    EXPECT_EQ(kernel.widestLine(c.text), widestLine(modelDecode(c.text, c.readAs)));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HeaderName,
    testing::Values(NameCase{"Empty", "", engine::Encoding::Utf8},
                    NameCase{"Ascii", "Customer name", engine::Encoding::Utf8},
                    NameCase{"LongAscii", std::string(70, 'W') + " and more", engine::Encoding::Utf8},
                    NameCase{"Utf8", "caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80", engine::Encoding::Utf8},
                    NameCase{"LineFeed", "ab\ncdefgh\nxy", engine::Encoding::Utf8},
                    NameCase{"CrLfAndCr", "abcdefgh\r\nxy\rz", engine::Encoding::Utf8},
                    NameCase{"EndsWithALineBreak", "abc\n", engine::Encoding::Utf8},
                    NameCase{"TabAndControls", "a\tb\x01", engine::Encoding::Utf8},
                    NameCase{"NotUtf8", "Gr\xF6\xDF" "e", engine::Encoding::Windows1252}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
