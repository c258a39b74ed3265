// The command line of spanwick-measure.

#include "MeasureOptions.h"
#include "UsageText.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

using tool::Output;

namespace {

std::optional<tool::MeasureOptions> parse(std::vector<std::string> args, std::string* error = nullptr)
{
    std::string message;
    auto options = tool::parseOptions(args, message);
    if (error)
        *error = message;
    return options;
}

// Where the help lists an option: the offset of its line, or npos.
std::size_t optionLineIn(const std::string& help, const std::string& option)
{
    std::smatch found;
    const std::regex line("\n  (-[a-z], )?" + option + "[ \n]");
    return std::regex_search(help, found, line) ? static_cast<std::size_t>(found.position(0)) + 1 : std::string::npos;
}

// The help of one option: its line and those that continue it.
std::string helpOf(const std::string& option)
{
    const std::string help = tool::usageText();
    const std::size_t at = optionLineIn(help, option);
    if (at == std::string::npos)
        return {};
    const std::size_t end = help.find("\n  -", at);
    return help.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

}  // namespace

TEST(MeasureOptionsTest, DefaultsAreThoseOfTheMainWindow)
{
    const auto o = parse({"data.txt"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->output, Output::Report);
    EXPECT_TRUE(o->faces.empty());
    // As a user sees the window at start-up: 8 point, Normal, Normal.
    EXPECT_EQ(o->selections.sizeText, "8");
    EXPECT_EQ(o->selections.weightText(), "Normal");
    EXPECT_EQ(o->selections.weightIndex * 100, 300);
    EXPECT_EQ(o->selections.widthText, "Normal");
    EXPECT_EQ(o->dpi, 96);
    EXPECT_EQ(o->threads, 0u);
    EXPECT_EQ(o->files, std::vector<std::string>{"data.txt"});
}

TEST(MeasureOptionsTest, ReadsEverySelection)
{
    const auto o = parse({"--face", "DejaVu Sans", "--size", "12", "--italic", "--underline", "--strikeout",
                          "--weight", "Semi Bold", "--width", "40", "--dpi", "120", "--json", "--threads", "3", "x.txt"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->output, Output::Json);
    EXPECT_EQ(o->faces, std::vector<std::string>{"DejaVu Sans"});
    EXPECT_EQ(o->selections.sizeText, "12");
    EXPECT_EQ(o->selections.italic + o->selections.underline + o->selections.strikeOut, 3);
    EXPECT_EQ(o->selections.weightIndex, 5);
    EXPECT_EQ(o->selections.widthIndex, 40);
    EXPECT_EQ(o->selections.widthText, "40");
    EXPECT_EQ(o->dpi, 120);
    EXPECT_EQ(o->threads, 3u);
}

struct OutputCase {
    const char* name;
    std::vector<std::string> args;
    Output output;
    std::vector<std::string> files;
};

class OutputChoice : public testing::TestWithParam<OutputCase> {};

TEST_P(OutputChoice, IsRead)
{
    const auto o = parse(GetParam().args);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->output, GetParam().output);
    EXPECT_EQ(o->files, GetParam().files);
}

INSTANTIATE_TEST_SUITE_P(
    Args, OutputChoice,
    testing::Values(OutputCase{"CharWidthsNeedNoFile", {"--char-widths"}, Output::CharWidths, {}},
                    OutputCase{"ListFonts", {"--list-fonts"}, Output::ListFonts, {}},
                    OutputCase{"Help", {"--help"}, Output::Help, {}},
                    OutputCase{"Version", {"--version"}, Output::Version, {}},
                    OutputCase{"StandardInput", {"--json", "-"}, Output::Json, {"-"}},
                    OutputCase{"DashesEndOptions", {"--", "--json"}, Output::Report, {"--json"}},
                    OutputCase{"Histogram", {"--histogram", "x"}, Output::Histogram, {"x"}},
                    OutputCase{"CheckMode", {"--max-width", "120", "labels.txt"}, Output::Check, {"labels.txt"}},
                    OutputCase{"MergeParts", {"--merge", "--json", "a.json", "b.json"}, Output::Json, {"a.json", "b.json"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::vector<std::string> args;
};

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, SaysWhy)
{
    std::string error;
    EXPECT_FALSE(parse(GetParam().args, &error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Args, Refusal,
    testing::Values(RefusalCase{"NoFile", {}}, RefusalCase{"JsonWithoutFile", {"--json"}},
                    RefusalCase{"SizeZero", {"--size", "0", "x"}}, RefusalCase{"SizeWithUnit", {"--size", "12pt", "x"}},
                    RefusalCase{"WidthTooLarge", {"--width", "101", "x"}},
                    RefusalCase{"WidthLowerCase", {"--width", "normal", "x"}},
                    RefusalCase{"UnknownWeight", {"--weight", "Bolder", "x"}},
                    RefusalCase{"NegativeDpi", {"--dpi", "-3", "x"}}, RefusalCase{"FaceWithoutName", {"--face"}},
                    RefusalCase{"UnknownOption", {"--frobnicate", "x"}}, RefusalCase{"TwoFiles", {"a.txt", "b.txt"}},
                    RefusalCase{"NegativeMaxWidth", {"--max-width", "-1", "x"}},
                    RefusalCase{"ZeroThreads", {"--threads", "0", "x"}},
                    RefusalCase{"TwoOutputs", {"--json", "--max-width", "5", "x"}},
                    RefusalCase{"MergeWithFontOptions", {"--merge", "--size", "9", "a.json"}},
                    RefusalCase{"MergeInCheckMode", {"--merge", "--max-width", "9", "a.json"}},
                    RefusalCase{"MergeWithoutParts", {"--merge"}},
                    RefusalCase{"FileWithFontList", {"--list-fonts", "x"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Each range is stated once: the parser takes its ends, refuses one step
// past them, and the refusal and the help name the same range.
struct RangeCase {
    const char* name;
    std::string option;
    std::string lowest, highest, belowLowest, aboveHighest;
    std::string rangeText;  // as the refusal says it
    bool helpStatesIt;      // and the help too
};

class OptionRange : public testing::TestWithParam<RangeCase> {};

TEST_P(OptionRange, IsTheOneTheHelpStates)
{
    const RangeCase& c = GetParam();
    for (const std::string& good : {c.lowest, c.highest})
        EXPECT_TRUE(parse({c.option, good, "x"})) << good;
    for (const std::string& bad : {c.belowLowest, c.aboveHighest}) {
        std::string error;
        EXPECT_FALSE(parse({c.option, bad, "x"}, &error)) << bad;
        EXPECT_NE(error.find(c.option + " must be"), std::string::npos) << error;
        EXPECT_NE(error.find(c.rangeText), std::string::npos) << error;
        EXPECT_NE(error.find("'" + bad + "'"), std::string::npos) << error;
    }
    if (c.helpStatesIt) {
        EXPECT_NE(helpOf(c.option).find(c.rangeText), std::string::npos) << helpOf(c.option);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, OptionRange,
    testing::Values(RangeCase{"Size", "--size", "1", "4096", "0", "4097", "1 to 4096", true},
                    RangeCase{"Dpi", "--dpi", "1", "10000", "0", "10001", "1 to 10000", true},
                    RangeCase{"Threads", "--threads", "1", "256", "0", "257", "1 to 256", true},
                    RangeCase{"AverageWidth", "--width", "1", "100", "0", "101", "1 to 100", true},
                    RangeCase{"MaxWidth", "--max-width", "0", "9223372036854775807", "-1", "9223372036854775808",
                              "0 or more", false}),
    [](const auto& info) { return std::string(info.param.name); });

// The help groups the options under the heading they belong to.
struct HeadingCase {
    const char* name;
    std::string option;
    std::string heading;
};

class HelpHeading : public testing::TestWithParam<HeadingCase> {};

TEST_P(HelpHeading, ListsTheOptionUnderIt)
{
    const std::string help = tool::usageText();
    const std::size_t at = optionLineIn(help, GetParam().option);
    ASSERT_NE(at, std::string::npos) << GetParam().option;
    // The last heading before the option: a line that starts in column 0 and ends with a colon.
    const std::size_t headingEnd = help.rfind(":\n", at);
    const std::size_t headingStart = help.rfind('\n', headingEnd) + 1;
    EXPECT_EQ(help.substr(headingStart, GetParam().heading.size()), GetParam().heading);
}

INSTANTIATE_TEST_SUITE_P(
    Help, HelpHeading,
    testing::Values(HeadingCase{"Face", "--face", "Font options"}, HeadingCase{"Dpi", "--dpi", "Font options"},
                    HeadingCase{"Json", "--json", "Output"}, HeadingCase{"Merge", "--merge", "Output"},
                    HeadingCase{"ListFonts", "--list-fonts", "Output"},
                    HeadingCase{"Column", "--column", "Delimited text"},
                    HeadingCase{"NoHeader", "--no-header", "Delimited text"},
                    HeadingCase{"Threads", "--threads", "Other options"},
                    HeadingCase{"Help", "--help", "Other options"},
                    HeadingCase{"Version", "--version", "Other options"},
                    HeadingCase{"EndOfOptions", "--", "Other options"}),
    [](const auto& info) { return std::string(info.param.name); });

// help2man and an 80-column terminal take the help as it is.
TEST(MeasureOptionsTest, HelpLinesFitSeventyNineColumns)
{
    std::istringstream help(tool::usageText());
    for (std::string line; std::getline(help, line);) {
        std::size_t columns = 0;
        for (const char c : line)
            columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // one per character
        EXPECT_LE(columns, 79u) << line;
    }
}

TEST(MeasureOptionsTest, ShortHelpIsHelp)
{
    const auto o = parse({"-h"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->output, Output::Help);
}

// A number is kept as the main window's lists spell it, so "010" measures,
// reports and merges as 10.
struct SpellingCase {
    const char* name;
    std::vector<std::string> args;
    std::string sizeText, widthText;
};

class NumberSpelling : public testing::TestWithParam<SpellingCase> {};

TEST_P(NumberSpelling, IsTheListsOwn)
{
    const auto o = parse(GetParam().args);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->selections.sizeText, GetParam().sizeText);
    EXPECT_EQ(o->selections.widthText, GetParam().widthText);
}

INSTANTIATE_TEST_SUITE_P(
    Options, NumberSpelling,
    testing::Values(SpellingCase{"SizeWithLeadingZero", {"--size", "010", "x"}, "10", "Normal"},
                    SpellingCase{"SizeOfZerosAndOne", {"--size", "0001", "x"}, "1", "Normal"},
                    SpellingCase{"WidthWithLeadingZero", {"--width", "040", "x"}, "8", "40"},
                    SpellingCase{"NormalWidth", {"--width", "Normal", "x"}, "8", "Normal"}),
    [](const auto& info) { return std::string(info.param.name); });

// An option the run makes no use of is refused, not silently ignored.
struct NotApplyingCase {
    const char* name;
    std::vector<std::string> args;
    std::string error;
};

class NotApplying : public testing::TestWithParam<NotApplyingCase> {};

TEST_P(NotApplying, IsRefused)
{
    std::string error;
    EXPECT_FALSE(parse(GetParam().args, &error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Args, NotApplying,
    testing::Values(
        NotApplyingCase{"MergeWithColumn", {"--merge", "--column", "2", "a.json"}, "--column does not apply to --merge"},
        NotApplyingCase{"MergeWithDelimiter", {"--merge", "--delimiter", ";", "a.json"},
                        "--delimiter does not apply to --merge"},
        NotApplyingCase{"MergeWithNoHeader", {"--no-header", "--merge", "a.json"}, "--no-header does not apply to --merge"},
        NotApplyingCase{"MergeWithThreads", {"--merge", "--threads", "2", "-"}, "--threads does not apply to --merge"},
        NotApplyingCase{"MergeWithFontOptions", {"--merge", "--italic", "-"},
                        "--merge takes the font options from the parts; give none"},
        NotApplyingCase{"CharWidthsWithColumn", {"--char-widths", "--column", "2"},
                        "--column does not apply to --char-widths"},
        NotApplyingCase{"CharWidthsWithThreads", {"--threads", "2", "--char-widths"},
                        "--threads does not apply to --char-widths"},
        NotApplyingCase{"ListFontsWithSize", {"--list-fonts", "--size", "9"}, "--size does not apply to --list-fonts"}),
    [](const auto& info) { return std::string(info.param.name); });

// --column takes one column, a list, or every column; given again, it adds.
struct ColumnsCase {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> columns;
    bool all;
    bool several;
};

class ColumnLists : public testing::TestWithParam<ColumnsCase> {};

TEST_P(ColumnLists, AreReadInOrder)
{
    const auto o = parse(GetParam().args);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->columns, GetParam().columns);
    EXPECT_EQ(o->allColumns, GetParam().all);
    EXPECT_EQ(o->severalColumns(), GetParam().several);
}

INSTANTIATE_TEST_SUITE_P(
    Args, ColumnLists,
    testing::Values(ColumnsCase{"One", {"--column", "name", "x.csv"}, {"name"}, false, false},
                    ColumnsCase{"OneNamedWithAComma", {"--column", "Last\\, First", "x.csv"}, {"Last, First"}, false,
                                false},
                    ColumnsCase{"List", {"--column", "1,3,name", "x.csv"}, {"1", "3", "name"}, false, true},
                    ColumnsCase{"Repeated", {"--column", "2", "--column", "city", "x.csv"}, {"2", "city"}, false, true},
                    ColumnsCase{"SameTwice", {"--column", "2", "--column", "2", "x.csv"}, {"2", "2"}, false, true},
                    ColumnsCase{"All", {"--column", "all", "x.csv"}, {}, true, true},
                    ColumnsCase{"AllInAList", {"--column", "2,all", "x.csv"}, {"2"}, true, true},
                    ColumnsCase{"NoneGiven", {"x.csv"}, {}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MeasureOptionsTest, FitAndHeaderWeightAreKept)
{
    const auto o = parse({"--column", "all", "--fit", "95", "--header-weight", "Bold", "x.csv"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->fit, 95);
    EXPECT_EQ(o->headerWeight, 6);
    const auto defaults = parse({"--column", "all", "x.csv"});
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->fit, 100);
    EXPECT_FALSE(defaults->headerWeight);
}

// What a table of columns needs, and what it cannot be combined with.
INSTANTIATE_TEST_SUITE_P(
    Tables, NotApplying,
    testing::Values(
        NotApplyingCase{"FitNotAShare", {"--column", "all", "--fit", "75", "x.csv"},
                        "--fit must be 50, 60, 70, 80, 90, 95, 99 or 100, not '75'"},
        NotApplyingCase{"HeaderWeightInCheckMode", {"--column", "all", "--header-weight", "Bold", "--max-width", "9",
                                                    "x.csv"},
                        "--header-weight sizes the columns of a table, which check mode does not print"},
        NotApplyingCase{"SeveralFontsAndColumnsInCheckMode", {"--column", "all", "--size", "8,10", "--max-width", "9",
                                                              "x.csv"},
                        "several faces or sizes give a table or --json; that output takes one font"},
        NotApplyingCase{"FitWithinOfColumns", {"--column", "1,2", "--fit-within", "100", "x.csv"},
                        "--fit-within measures the lines or one column; give one --column"},
        NotApplyingCase{"HeaderWeightOfLines", {"--header-weight", "Bold", "x.txt"},
                        "--header-weight sizes the columns of a table: give --column all or a list of columns"},
        NotApplyingCase{"HeaderWeightUnknown", {"--column", "all", "--header-weight", "bold", "x.csv"},
                        "--header-weight must be Thin, Extra Light, Light, Normal, Medium, Semi Bold, Bold, Extra "
                        "Bold or Heavy, not 'bold'"},
        NotApplyingCase{"HistogramOfSeveral", {"--histogram", "--column", "1,2", "x.csv"},
                        "--histogram measures one column for --merge; give one --column"},
        NotApplyingCase{"EmptyInAList", {"--column", "1,,2", "x.csv"},
                        "--column must be all, or header names or numbers from 1 to 1048576, separated by commas, "
                        "not '1,,2'"},
        NotApplyingCase{"NumberZeroInAList", {"--column", "2,0", "x.csv"},
                        "--column must be all, or header names or numbers from 1 to 1048576, separated by commas, "
                        "not '2,0'"},
        NotApplyingCase{"NameWithoutHeader", {"--no-header", "--column", "1,name", "x.csv"},
                        "a column is named by the header; with --no-header give its number"},
        NotApplyingCase{"MergeWithFit", {"--merge", "--fit", "90", "a.json"},
                        "--merge gives the report, --json or --histogram only"}),
    [](const auto& info) { return std::string(info.param.name); });
