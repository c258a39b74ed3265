// The number patterns and the report, byte for byte.

#include "MeasuredReport.h"
#include "NumberFormat.h"
#include "PrintablePath.h"
#include "ReportWriter.h"
#include "TestNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

using report::formatOneDecimal;
using report::formatWhole;

struct NumberCase {
    double value;
    const char* whole;
    const char* oneDecimal;
};

class NumberPatternTest : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberPatternTest, RoundHalvesAwayFromZero)
{
    EXPECT_EQ(formatWhole(GetParam().value), GetParam().whole) << GetParam().value;
    EXPECT_EQ(formatOneDecimal(GetParam().value, "."), GetParam().oneDecimal) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, NumberPatternTest,
                         testing::Values(NumberCase{0, "0", "0.0"}, NumberCase{12, "12", "12.0"},
                                         NumberCase{12.5, "13", "12.5"}, NumberCase{12.49, "12", "12.5"},
                                         NumberCase{7.25, "7", "7.3"}, NumberCase{7.0711, "7", "7.1"},
                                         NumberCase{16.838, "17", "16.8"}, NumberCase{31.476, "31", "31.5"},
                                         NumberCase{0.04, "0", "0.0"}, NumberCase{0.05, "0", "0.1"},
                                         NumberCase{12345, "12345", "12345.0"},
                                         NumberCase{1234567.85, "1234568", "1234567.9"},
                                         NumberCase{-1, "-1", "-1.0"}, NumberCase{-2.5, "-3", "-2.5"},
                                         NumberCase{-0.26, "0", "-0.3"}, NumberCase{-0.04, "0", "0.0"},
                                         NumberCase{99.96, "100", "100.0"}),
                         [](const testing::TestParamInfo<NumberCase>& info) {
                             return testnames::number(info.param.value);
                         });

TEST(NumberPatternTest, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(formatOneDecimal(7.0711, ","), "7,1");
    EXPECT_EQ(formatOneDecimal(1234.25, ","), "1234,3");
    EXPECT_EQ(formatWhole(1234.5), "1235");
}

namespace {

// Statistics worked by hand, so the report is checked against numbers of
// its own and not against the formulas it is given the results of.
struct Worked {
    std::int64_t min, max;
    double average, deviation;
    std::array<double, 7> fits;  // 50, 60, 70, 80, 90, 95 and 99%
};

// One line 12 pixels wide: no spread, every fit 12.
const Worked oneLineOf12{12, 12, 12, 0, {12, 12, 12, 12, 12, 12, 12}};
// Lines of 10 and 20: average 15, deviation sqrt(50) = 7.0711, and each
// fit 15 plus 0.26, 0.54, 0.85, 1.29, 1.645 or 2.33 deviations.
const Worked tenAndTwenty{10, 20, 15, 7.0711, {15, 16.838, 18.818, 21.010, 24.122, 26.632, 31.476}};

report::ReportInput example(const Worked& worked)
{
    report::ReportInput input;
    input.selections.faceText = "Arial";
    input.selections.sizeText = "10";
    input.selections.weightIndex = 3;
    input.selections.widthIndex = 0;
    input.selections.widthText = "Normal";
    input.dataFileTitle = "names.txt";
    input.dataFilePath = "/home/ann/data/names.txt";
    auto& s = input.statistics;
    s.MinWidth = worked.min;
    s.MaxWidth = worked.max;
    s.AverageWidth = worked.average;
    s.StdDeviation = worked.deviation;
    s.fits = worked.fits;
    return input;
}

}  // namespace

TEST(ReportTest, OneLineOfWidthTwelve)
{
    EXPECT_EQ(report::reportText(example(oneLineOf12), "."),
              "Font Face: Arial\r\n"
              "Font Size: 10\r\n"
              "Italic: No\r\n"
              "Underline: No\r\n"
              "Strikethrough: No\r\n"
              "Weight: Normal\r\n"
              "Width: Normal\r\n"
              "Data File: /home/ann/data/names.txt\r\n"
              "\r\n"
              "Minimum Length: 12 pixels.\r\n"
              "Maximum Length: 12 pixels.\r\n"
              "Average Length: 12 pixels.\r\n"
              "Standard Deviation: 0.0 pixels.\r\n"
              "\r\n"
              "50% of the data will fit within 12 pixels.\r\n"
              "60% of the data will fit within 12 pixels.\r\n"
              "70% of the data will fit within 12 pixels.\r\n"
              "80% of the data will fit within 12 pixels.\r\n"
              "90% of the data will fit within 12 pixels.\r\n"
              "95% of the data will fit within 12 pixels.\r\n"
              "99% of the data will fit within 12 pixels.\r\n");
}

TEST(ReportTest, TwoLinesOfTenAndTwentyWithADecimalComma)
{
    auto input = example(tenAndTwenty);
    input.selections.italic = 1;
    input.selections.widthText = "12";
    input.dataFilePath = "/home/jörg/Daten/straßen.txt";
    const auto lines = report::reportLines(input, ",");
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[2], "Italic: Yes");
    EXPECT_EQ(lines[3], "Underline: No");
    EXPECT_EQ(lines[4], "Strikethrough: No");
    EXPECT_EQ(lines[6], "Width: 12 pixels");
    EXPECT_EQ(lines[7], "Data File: /home/jörg/Daten/straßen.txt");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "Minimum Length: 10 pixels.");
    EXPECT_EQ(lines[10], "Maximum Length: 20 pixels.");
    EXPECT_EQ(lines[11], "Average Length: 15 pixels.");
    EXPECT_EQ(lines[12], "Standard Deviation: 7,1 pixels.");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], "50% of the data will fit within 15 pixels.");
    EXPECT_EQ(lines[15], "60% of the data will fit within 17 pixels.");
    EXPECT_EQ(lines[16], "70% of the data will fit within 19 pixels.");
    EXPECT_EQ(lines[17], "80% of the data will fit within 21 pixels.");
    EXPECT_EQ(lines[18], "90% of the data will fit within 24 pixels.");
    EXPECT_EQ(lines[19], "95% of the data will fit within 27 pixels.");
    EXPECT_EQ(lines[20], "99% of the data will fit within 31 pixels.");
}

TEST(ReportTest, WidthAndCheckRules)
{
    struct Case {
        const char* width;
        const char* shown;
    };
    for (const Case& c : {Case{"Normal", "Normal"}, Case{"1", "1 pixel"}, Case{"2", "2 pixels"},
                          Case{"12", "12 pixels"}, Case{"100", "100 pixels"}})
        EXPECT_EQ(report::widthDescription(c.width), c.shown);
    EXPECT_EQ(report::yesNo(1), "Yes");
    EXPECT_EQ(report::yesNo(0), "No");
    EXPECT_EQ(report::yesNo(2), "No");
}

TEST(ReportTest, WindowValuesEndInPixelsWithoutAFullStop)
{
    auto input = example(tenAndTwenty);
    input.statistics.AverageWidth = 12.5;
    const auto v = report::resultValues(input, ".", report::windowUnit);
    EXPECT_EQ(v.average, "13 pixels");
    EXPECT_EQ(v.stdDeviation, "7.1 pixels");
    EXPECT_EQ(v.fitLines[1], "60% of the data will fit within 17 pixels");
    EXPECT_EQ(v.width, "Normal");
}

TEST(ReportTest, ProposedNameKeepsTheDataFilesExtensionAndNamesTheColumn)
{
    const auto named = [](std::string face, std::string title, std::string column = {}) {
        auto input = example(oneLineOf12);
        input.selections.faceText = std::move(face);
        input.dataFileTitle = std::move(title);
        input.delimited = !column.empty();
        input.column = std::move(column);
        return report::proposedReportName(input);
    };
    EXPECT_EQ(named("Arial", "names.txt"), "Arial 10 point - names.txt.txt");
    EXPECT_EQ(named("A/B", "x"), "A_B 10 point - x.txt");
    // Two columns of one file do not overwrite each other's report.
    EXPECT_EQ(named("Arial", "people.csv", "city"), "Arial 10 point - people.csv, column city.txt");
    EXPECT_EQ(named("Arial", "people.csv", "in/out"), "Arial 10 point - people.csv, column in_out.txt");
}

// The designed report unchanged, then the measured fits and the widest
// lines, each one line whatever its text holds.
TEST(ReportTest, ReportWithMeasuredFitsFollowsTheDesignedOne)
{
    auto input = example(tenAndTwenty);
    input.statistics.exactFits = {10, 20, 20, 20, 20, 20, 20};
    input.measured.dpi = 144;
    input.measured.widest = {{2, 20, "twenty\r\nwide\tand more\xE2\x80\xA6", 3}, {1, 10, "ten", 1}};
    const std::string designed = report::reportText(input, ".");
    const std::string measuredFits = "\r\nMeasured, the widths the lines really fit in (at 144 dots per inch):\r\n"
                                     "50% of the lines fit within 10 pixels.\r\n"
                                     "60% of the lines fit within 20 pixels.\r\n"
                                     "70% of the lines fit within 20 pixels.\r\n"
                                     "80% of the lines fit within 20 pixels.\r\n"
                                     "90% of the lines fit within 20 pixels.\r\n"
                                     "95% of the lines fit within 20 pixels.\r\n"
                                     "99% of the lines fit within 20 pixels.\r\n"
                                     "\r\nWidest lines:\r\n";
    EXPECT_EQ(report::measuredReportText(input, "."),
              designed + measuredFits + "Line 2: 20 pixels: twenty\xE2\x86\xB5wide\\x09and more\xE2\x80\xA6\r\n"
                                        "Line 1: 10 pixels: ten\r\n");
    // A column's values are named by record and the line each starts on.
    input.delimited = true;
    input.column = "note";
    EXPECT_EQ(report::measuredReportText(input, "."),
              report::reportText(input, ".") + measuredFits +
                  "Record 2 (from line 3): 20 pixels: twenty\xE2\x86\xB5wide\\x09and more\xE2\x80\xA6\r\n"
                  "Record 1 (from line 1): 10 pixels: ten\r\n");
}

struct PathCase {
    const char* name;
    std::string path;
    std::string printable;
};

// Test lists show the case by its name, not its bytes.
void PrintTo(const PathCase& c, std::ostream* out) { *out << c.name; }

class PrintablePathTest : public testing::TestWithParam<PathCase> {};

TEST_P(PrintablePathTest, ControlCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(report::printablePath(GetParam().path), GetParam().printable);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Paths, PrintablePathTest,
    testing::Values(PathCase{"Plain", "/home/ann/names.txt", "/home/ann/names.txt"},
                    PathCase{"LineFeed", "/home/ann/a\nb.txt", "/home/ann/a?b.txt"},
                    PathCase{"CarriageReturnLineFeed", "/a\r\n.txt", "/a??.txt"},
                    PathCase{"TabEscapeAndDel", "/a\tb\x1B[0m\x7F", "/a?b?[0m?"},
                    PathCase{"Nul", "/a\0b"s, "/a?b"},
                    PathCase{"C1InUtf8", "/a\xC2\x85" "b\xC2\x9F" "c\xC2\x80", "/a?b?c?"},
                    PathCase{"LineAndParagraphSeparators", "/a\xE2\x80\xA8" "b\xE2\x80\xA9.txt", "/a?b?.txt"},
                    PathCase{"NoBreakSpaceAndUmlautStay", "/\xC2\xA0j\xC3\xBCrgen", "/\xC2\xA0j\xC3\xBCrgen"},
                    PathCase{"NotUtf8KeepsItsBytes", "/M\xE4rz\x85\xC2\x85", "/M\xE4rz\x85\xC2\x85"},
                    PathCase{"NotUtf8StillLosesLineBreaks", "/M\xE4rz\n\x85.txt", "/M\xE4rz?\x85.txt"},
                    PathCase{"OverlongIsNotUtf8", "/\xC0\x8A\xC2\x85", "/\xC0\x8A\xC2\x85"},
                    PathCase{"TruncatedSequenceIsNotUtf8", "/\xC2\x85\xE2\x80", "/\xC2\x85\xE2\x80"},
                    PathCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

TEST(ReportTest, ALineBreakInThePathKeepsTwentyOneLines)
{
    auto input = example(tenAndTwenty);
    input.dataFilePath = "/home/ann/first\nsecond\r\nthird.txt";
    const std::string text = report::reportText(input, ".");
    std::size_t lineEnds = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lineEnds;
    EXPECT_EQ(lineEnds, 21u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 21);
    EXPECT_EQ(report::reportLines(input, ".")[7], "Data File: /home/ann/first?second??third.txt");
}
