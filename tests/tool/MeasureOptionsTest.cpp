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
    EXPECT_EQ(o->selections.sizeText, "8");
    EXPECT_EQ(o->selections.weightIndex, 3);
    EXPECT_EQ(o->selections.weightText, "Normal");
    EXPECT_EQ(o->selections.widthIndex, 0);
    EXPECT_EQ(o->selections.widthText, "Normal");
    EXPECT_EQ(o->dpi, 96);
    EXPECT_EQ(o->dataFile, "data.txt");
}

TEST(MeasureOptionsTest, ReadsEverySelection)
{
    const auto o = parse({"--face", "DejaVu Sans", "--size", "12", "--italic", "--underline", "--strikeout",
                          "--weight", "Semi Bold", "--width", "40", "--dpi", "120", "--json", "x.txt"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->output, Output::Json);
    EXPECT_EQ(*o->face, "DejaVu Sans");
    EXPECT_EQ(o->selections.sizeText, "12");
    EXPECT_EQ(o->selections.italic + o->selections.underline + o->selections.strikeOut, 3);
    EXPECT_EQ(o->selections.weightIndex, 5);
    EXPECT_EQ(o->selections.widthIndex, 40);
    EXPECT_EQ(o->selections.widthText, "40");
    EXPECT_EQ(o->dpi, 120);
    // The width table and the font list need no data file.
    EXPECT_EQ(parse({"--char-widths"})->output, Output::CharWidths);
    EXPECT_EQ(parse({"--list-fonts"})->output, Output::ListFonts);
    EXPECT_EQ(parse({"--help"})->output, Output::Help);
}

TEST(MeasureOptionsTest, RefusesWhatItCannotUse)
{
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--json"},
                                               {"--size", "0", "x"},
                                               {"--size", "12pt", "x"},
                                               {"--width", "101", "x"},
                                               {"--width", "normal", "x"},
                                               {"--weight", "Bolder", "x"},
                                               {"--dpi", "-3", "x"},
                                               {"--face"},
                                               {"--frobnicate", "x"},
                                               {"a.txt", "b.txt"}}) {
        std::string error;
        EXPECT_FALSE(parse(args, &error)) << testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}
