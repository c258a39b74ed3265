// A table of columns: each row's header width and sized width, and the
// table as CSV and as pasted cells, byte for byte.

#include "ColumnRows.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Every character 10 pixels wide, digits 7: easy sums.
engine::FontWidths tenPixelFont()
{
    engine::WidthTable table;
    table.fill(10);
    for (char digit = '0'; digit <= '9'; ++digit)
        table[static_cast<std::size_t>(digit - engine::firstTableCode)] = 7;
    return engine::FontWidths(table, [](char32_t) { return 10; });
}

engine::TargetResult target(std::size_t column, std::string caption)
{
    engine::TargetResult t;
    t.column = column;
    t.caption = std::move(caption);
    t.statistics.LineCount = 10;
    t.statistics.MinWidth = 3;
    t.statistics.MaxWidth = 59;
    t.statistics.AverageWidth = 28.25;
    t.statistics.fits = {28, 30, 33, 37, 42, 47, 55.5};
    t.statistics.exactFits = {25, 29, 33, 38, 44, 50, 57};
    return t;
}

struct RowCase {
    const char* name;
    std::vector<std::string> headerNames;
    bool header;
    std::size_t column;
    int share;
    std::int64_t headerWidth;
    std::int64_t sizedWidth;
};

class ColumnRowSizing : public testing::TestWithParam<RowCase> {};

TEST_P(ColumnRowSizing, TakesTheFitOrTheHeaderWhicheverIsWider)
{
    const RowCase& c = GetParam();
    const engine::FontWidths font = tenPixelFont();
    engine::FontKernel kernel(font);
    report::TableSizing sizing{kernel, 7, c.share};
    engine::RecordLayout layout;
    layout.header = c.header;
    layout.headerNames = c.headerNames;
    const report::ColumnRow row = report::columnRow(target(c.column, "caption"), layout, sizing);
    EXPECT_EQ(row.number, c.column);
    EXPECT_EQ(row.headerWidth, c.headerWidth);
    EXPECT_EQ(row.sizedWidth, c.sizedWidth);
    EXPECT_EQ(row.sheet, engine::spreadsheetWidth(c.sizedWidth, 7));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ColumnRowSizing,
    testing::Values(RowCase{"LongestValue", {"id", "name"}, true, 2, 100, 40, 59},
                    RowCase{"HeaderWider", {"id", "a much longer name"}, true, 2, 100, 180, 180},
                    RowCase{"MeasuredFit", {"id", "name"}, true, 2, 90, 40, 44},
                    RowCase{"HeaderWiderThanTheFit", {"id", "names"}, true, 2, 50, 50, 50},
                    RowCase{"HeaderOfDigits", {"2024"}, true, 1, 50, 28, 28},
                    RowCase{"NoHeader", {"a much longer name"}, false, 1, 100, 0, 59},
                    RowCase{"NameOverTwoLines", {"first\nname and more"}, true, 1, 50, 130, 130},
                    RowCase{"EmptyName", {"id", ""}, true, 2, 100, 0, 59},
                    RowCase{"PastTheNames", {"id"}, true, 3, 100, 0, 59}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<report::ColumnRow> twoRows()
{
    const engine::FontWidths font = tenPixelFont();
    engine::FontKernel kernel(font);
    report::TableSizing sizing{kernel, 7, engine::longestShare};
    engine::RecordLayout layout;
    layout.headerNames = {"id", "Last, \"First\"", "=SUM(A1:A9)"};
    return {report::columnRow(target(2, "Last, \"First\""), layout, sizing),
            report::columnRow(target(3, "=SUM(A1:A9)"), layout, sizing)};
}

TEST(ColumnTableText, CsvQuotesWhereNeededAndKeepsFormulasText)
{
    EXPECT_EQ(report::tableCsv(twoRows()),
              "#,Column,Values,Shortest,Longest,Average,99% estimated,99% measured,Header,Sized,Characters,"
              "Col width\r\n"
              "2,\"Last, \"\"First\"\"\",10,3,59,28.3,56,57,130,130,18.57,19.28515625\r\n"
              "3,'=SUM(A1:A9),10,3,59,28.3,56,57,104,104,14.86,15.5703125\r\n");
}

TEST(ColumnTableText, PastedCellsUseTheUsersDecimalSeparator)
{
    EXPECT_EQ(report::tableTabbed(twoRows(), ","),
              "#\tColumn\tValues\tShortest\tLongest\tAverage\t99% estimated\t99% measured\tHeader\tSized\tCharacters\t"
              "Col width\n"
              "2\tLast, \"First\"\t10\t3\t59\t28,3\t56\t57\t130\t130\t18,57\t19,28515625\n"
              "3\t'=SUM(A1:A9)\t10\t3\t59\t28,3\t56\t57\t104\t104\t14,86\t15,5703125\n");
}

TEST(ColumnTableText, EveryCellButTheCaptionSortsAsANumber)
{
    const std::vector<report::Cell> cells = report::rowCells(twoRows().front(), ".");
    ASSERT_EQ(cells.size(), report::tableColumns().size());
    for (std::size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(std::isnan(cells[i].number), report::tableColumns()[i].heading == "Column") << i;
    EXPECT_EQ(cells[5].number, 28.25);  // the average unrounded
}

struct DecimalCase {
    const char* name;
    double value;
    int decimals;
    const char* text;
};

class TrimmedDecimal : public testing::TestWithParam<DecimalCase> {};

TEST_P(TrimmedDecimal, HasNoTrailingZeros)
{
    EXPECT_EQ(report::trimmedDecimal(GetParam().value, GetParam().decimals, "."), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, TrimmedDecimal,
                         testing::Values(DecimalCase{"Hundredths", 8.43, 2, "8.43"},
                                         DecimalCase{"Tenths", 8.4, 2, "8.4"},
                                         DecimalCase{"Whole", 8, 2, "8"},
                                         DecimalCase{"TwoFiftySixths", 9.140625, 8, "9.140625"},
                                         DecimalCase{"OneTwoFiftySixth", 1.0 / 256, 8, "0.00390625"},
                                         DecimalCase{"Zero", 0, 8, "0"},
                                         DecimalCase{"NegativeZero", -0.0, 2, "0"},
                                         DecimalCase{"Negative", -0.42, 2, "-0.42"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
