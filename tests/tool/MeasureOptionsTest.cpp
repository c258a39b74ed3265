// The command line of spanwick-measure.

#include "MeasureOptions.h"

#include <gtest/gtest.h>

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

}  // namespace

TEST(MeasureOptionsTest, DefaultsAreThoseOfTheMainWindow)
{
    const auto o = parse({"data.txt"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->output, Output::Report);
    EXPECT_FALSE(o->face);
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
    EXPECT_EQ(*o->face, "DejaVu Sans");
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
