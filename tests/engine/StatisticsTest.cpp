// The statistics of the line widths, and the calculation as a whole.

#include "CalculateWidth.h"
#include "CurrentFont.h"
#include "DeviceContext.h"
#include "FontDescription.h"
#include "WidthStatistics.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

using engine::computeStatistics;

namespace {

engine::Statistics of(const std::vector<std::int64_t>& widths)
{
    std::int64_t total = 0;
    for (const auto w : widths)
        total += w;
    return computeStatistics(widths, total);
}

}  // namespace

TEST(StatisticsTest, OneLineHasNoSpread)
{
    const auto s = of({12});
    EXPECT_EQ(s.AverageWidth, 12);
    EXPECT_EQ(s.Variance, 0);
    EXPECT_EQ(s.StdDeviation, 0);
    for (const double fit : s.fits)
        EXPECT_EQ(fit, 12);
}

TEST(StatisticsTest, TwoLinesOfTenAndTwenty)
{
    const auto s = of({10, 20});
    EXPECT_EQ(s.AverageWidth, 15);
    EXPECT_EQ(s.SumOfSquares, 50);
    EXPECT_EQ(s.Variance, 50);  // divided by N - 1
    EXPECT_NEAR(s.StdDeviation, 7.0711, 1e-4);
    EXPECT_EQ(s.fits[0], 15);
    EXPECT_NEAR(s.fits[1], 16.838, 1e-3);
    EXPECT_NEAR(s.fits[6], 31.476, 1e-3);
    // A fit width may lie beyond the longest line.
    EXPECT_GT(s.fits[6], 20);
}

TEST(StatisticsTest, FitWidthsUseThePublishedMultipliers)
{
    const auto s = of({0, 0, 30, 30, 10, 20});
    const double expected[] = {0, 0.26, 0.54, 0.85, 1.29, 1.645, 2.33};
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_DOUBLE_EQ(s.fits[i], s.AverageWidth + expected[i] * s.StdDeviation) << engine::fitShares[i];
    const auto same = of({7, 7, 7, 7});
    for (const double fit : same.fits)
        EXPECT_EQ(fit, 7);
}

TEST(StatisticsTest, PublishingKeepsTheReportPath)
{
    engine::WidthStatisticsRecord record;
    record.ReportPath = "/tmp/report.txt";
    engine::publishStatistics(record, of({10, 20}), 10, 20);
    EXPECT_EQ(record.MinWidth, 10);
    EXPECT_EQ(record.MaxWidth, 20);
    EXPECT_EQ(record.AverageWidth, 15);
    EXPECT_NEAR(record.Fit99, 31.476, 1e-3);
    EXPECT_EQ(record.ReportPath, "/tmp/report.txt");
}

// The whole calculation over real fonts and files.
class CalculationTest : public testing::Test {
protected:
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("spanwick-calc-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                    "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    BitmapDC dc{1, 1};

    void SetUp() override
    {
        std::filesystem::create_directories(folder);
        LOGFONTA lf{};
        engine::FontSelections s;
        s.faceText = "DejaVu Sans Mono";
        s.sizeText = "10";
        s.weightIndex = 3;
        s.widthIndex = 0;
        engine::describeFont(lf, s, 96);
        engine::storeCurrentFont(CreateFontIndirectA(&lf));
        engine::WidthStatistics = {};
    }

    void TearDown() override
    {
        engine::releaseCurrentFont();
        std::filesystem::remove_all(folder);
    }

    std::string write(const std::string& name, const std::string& bytes)
    {
        const auto path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    engine::CalculationResult run(const std::string& path, const std::string& title = "data.txt")
    {
        engine::CalculationRequest request;
        request.dataFileTitle = title;
        request.dataFilePath = path;
        request.widthContext = &dc;
        return engine::CalculateWidth(request);
    }

    int cell() { return engine::takeWidthTable(&dc)[0]; }  // one monospaced cell
};

TEST_F(CalculationTest, MeasuresEveryLineAndPublishes)
{
    const int w = cell();
    const auto result = run(write("data.txt", "abc\n\n x\nabcdef"));
    ASSERT_EQ(result.outcome, engine::Outcome::Done);
    EXPECT_EQ(result.lineCount, 4u);
    EXPECT_EQ(engine::WidthStatistics.MinWidth, 0);
    EXPECT_EQ(engine::WidthStatistics.MaxWidth, 6 * w);
    EXPECT_DOUBLE_EQ(engine::WidthStatistics.AverageWidth, (3 + 0 + 2 + 6) * w / 4.0);
}

TEST_F(CalculationTest, RefusesInTheOrderTheChecksAreMade)
{
    engine::WidthStatistics.MinWidth = 42;
    EXPECT_EQ(run(write("data.txt", "x"), "").outcome, engine::Outcome::NoDataFile);
    engine::releaseCurrentFont();
    const auto noFile = run(write("data.txt", "x"), "");
    EXPECT_EQ(noFile.outcome, engine::Outcome::NoDataFile);  // before the font check
    EXPECT_EQ(noFile.icon, engine::MessageIcon::Critical);
    const auto noFont = run(write("data.txt", "x"));
    EXPECT_EQ(noFont.outcome, engine::Outcome::NoFont);
    EXPECT_EQ(noFont.message, "Font not yet selected");
    EXPECT_EQ(noFont.icon, engine::MessageIcon::None);
    EXPECT_EQ(engine::WidthStatistics.MinWidth, 42);  // refusals leave the record alone
}

TEST_F(CalculationTest, FileProblemsLeaveTheEarlierResults)
{
    ASSERT_EQ(run(write("good.txt", "abc\nde\n")).outcome, engine::Outcome::Done);
    const engine::WidthStatisticsRecord earlier = engine::WidthStatistics;

    const auto missing = run((folder / "missing.txt").string(), "missing.txt");
    EXPECT_EQ(missing.outcome, engine::Outcome::Unreadable);
    EXPECT_NE(missing.message.find("missing.txt"), std::string::npos);
    EXPECT_NE(missing.message.find("No such file or directory"), std::string::npos);
    const auto folderAsFile = run(folder.string(), "folder");
    EXPECT_EQ(folderAsFile.outcome, engine::Outcome::Unreadable);
    EXPECT_EQ(engine::WidthStatistics.AverageWidth, earlier.AverageWidth);
    EXPECT_EQ(engine::WidthStatistics.MaxWidth, earlier.MaxWidth);

    const auto empty = run(write("empty.txt", ""), "empty.txt");
    EXPECT_EQ(empty.outcome, engine::Outcome::EmptyFile);
    EXPECT_EQ(empty.message, "The data file 'empty.txt' does not contain any data.");
    EXPECT_EQ(empty.icon, engine::MessageIcon::Critical);
    EXPECT_EQ(engine::WidthStatistics.MinWidth, -1);
    EXPECT_EQ(engine::WidthStatistics.MaxWidth, -1);
    EXPECT_EQ(engine::WidthStatistics.AverageWidth, earlier.AverageWidth);
}

TEST_F(CalculationTest, CharactersOutsideTheTableUseTheFontsOwnWidths)
{
    // é and 日 are not in the printable ASCII table; in a monospaced face é
    // is one cell, and a character the face lacks takes the missing glyph.
    const int w = cell();
    ASSERT_EQ(run(write("accents.txt", "\xC3\xA9\xC3\xA9\n")).outcome, engine::Outcome::Done);
    EXPECT_EQ(engine::WidthStatistics.MaxWidth, 2 * w);
    // The same bytes that are not valid UTF-8 are read as Windows-1252: Ã and ©.
    ASSERT_EQ(run(write("latin.txt", "\xC3\xA9\xC3\n")).outcome, engine::Outcome::Done);
    EXPECT_EQ(engine::WidthStatistics.MaxWidth, 3 * w);
}
