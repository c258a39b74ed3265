// The statistics of the line widths, and the calculation as a whole.

#include "CalculateWidth.h"
#include "CurrentFont.h"
#include "FontHandles.h"
#include "FontDescription.h"
#include "WidthStatistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

using engine::computeStatistics;

namespace {

engine::Statistics of(const std::vector<std::int64_t>& widths)
{
    engine::WidthDistribution distribution;
    for (const auto w : widths)
        distribution.add(w);
    return computeStatistics(distribution);
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

TEST(StatisticsTest, FitWidthsLieJustAboveTheNormalQuantiles)
{
    // Mean 15, standard deviation exactly 10: each fit's distance from the
    // mean, over the deviation, lies within 0.02 above the one-sided
    // standard-normal quantile of its share (published tables).
    const auto s = of({5, 25, 15, 15});
    ASSERT_NEAR(s.StdDeviation, std::sqrt(200.0 / 3), 1e-12);
    const double quantiles[] = {0, 0.2533, 0.5244, 0.8416, 1.2816, 1.6449, 2.3263};
    for (std::size_t i = 0; i < 7; ++i) {
        const double k = (s.fits[i] - s.AverageWidth) / s.StdDeviation;
        EXPECT_GE(k, quantiles[i] - 1e-9) << engine::fitShares[i];
        EXPECT_LT(k, quantiles[i] + 0.02) << engine::fitShares[i];
    }
    const auto same = of({7, 7, 7, 7});
    for (const double fit : same.fits)
        EXPECT_EQ(fit, 7);
}

// Widths 0, 10 and 20: average 10, deviation exactly 10, so each fit is
// 10 plus ten times its share's multiplier: 0.26, 0.54, 0.85, 1.29, 1.645
// and 2.33, the program's own rounding of the normal quantiles.
TEST(StatisticsTest, EachFitIsItsOwnMultipleOfTheDeviation)
{
    const auto s = of({0, 10, 20});
    ASSERT_EQ(s.StdDeviation, 10);
    const double expected[] = {10, 12.6, 15.4, 18.5, 22.9, 26.45, 33.3};
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_NEAR(s.fits[i], expected[i], 1e-9) << engine::fitShares[i] << "%";
}

TEST(StatisticsTest, TheRecordKeepsTheReportPath)
{
    const engine::WidthStatisticsRecord record = engine::statisticsRecord(of({10, 20}), "/tmp/report.txt");
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

    void SetUp() override
    {
        std::filesystem::create_directories(folder);
        engine::FontSelections s;
        s.faceText = "DejaVu Sans Mono";
        s.sizeText = "10";
        s.weightIndex = 3;
        s.widthIndex = 0;
        engine::describeFont(lf, s, 96);
        engine::CurrentFont.replace(CreateFontIndirectA(&lf));
        engine::WidthStatistics = {};
    }

    void TearDown() override
    {
        engine::CurrentFont.release();
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
        request.dataFileChosen = !title.empty();
        request.dataFileTitle = title;
        request.data.path = path;
        request.fonts = {lf};
        return engine::CalculateWidth(request);
    }

    int cell() { return engine::takeWidthTable(engine::CurrentFont)[0]; }  // one monospaced cell

    LOGFONTA lf{};
};

TEST_F(CalculationTest, MeasuresEveryLine)
{
    const int w = cell();
    const auto result = run(write("data.txt", "abc\n\n x\nabcdef"));
    ASSERT_EQ(result.outcome, engine::Outcome::Done);
    EXPECT_EQ(result.targets.front().statistics.LineCount, 4u);
    EXPECT_EQ(result.targets.front().statistics.MinWidth, 0);
    EXPECT_EQ(result.targets.front().statistics.MaxWidth, 6 * w);
    EXPECT_DOUBLE_EQ(result.targets.front().statistics.AverageWidth, (3 + 0 + 2 + 6) * w / 4.0);
    EXPECT_EQ(result.targets.front().statistics.exactFits[0], 2 * w);  // the 2nd of 4: 0, 2w, 3w, 6w
    EXPECT_EQ(result.targets.front().measurement.widest.front().text, "abcdef");
}

TEST_F(CalculationTest, RefusesInTheOrderTheChecksAreMade)
{
    EXPECT_EQ(run(write("data.txt", "x"), "").outcome, engine::Outcome::NoDataFile);
    engine::CurrentFont.release();
    EXPECT_EQ(run(write("data.txt", "x"), "").outcome, engine::Outcome::NoDataFile);  // before the font check
    EXPECT_EQ(run(write("data.txt", "x")).outcome, engine::Outcome::NoFont);
}

TEST_F(CalculationTest, FileProblemsAreOutcomes)
{
    const auto missing = run((folder / "missing.txt").string(), "missing.txt");
    EXPECT_EQ(missing.outcome, engine::Outcome::Unreadable);
    EXPECT_EQ(missing.reason, "No such file or directory");
    EXPECT_EQ(run(folder.string(), "folder").outcome, engine::Outcome::Unreadable);
    EXPECT_EQ(run(write("empty.txt", ""), "empty.txt").outcome, engine::Outcome::EmptyFile);
}

TEST_F(CalculationTest, TheMeasurementOwnsItsFont)
{
    // A repaint may replace CurrentFont while a file is measured; the
    // measurement's own font is made and released by the calculation.
    const std::size_t live = fontview::liveFontCount();
    engine::CalculationRequest request;
    request.dataFileChosen = true;
    request.dataFileTitle = "data.txt";
    request.data.path = write("data.txt", "\xC3\xA9\n");
    request.fonts = {lf};
    bool replaced = false;
    request.options.progress = [&](const engine::Progress&) {
        if (!replaced) {
            engine::CurrentFont.replace(CreateFontIndirectA(&lf));
            replaced = true;
        }
        EXPECT_EQ(fontview::liveFontCount(), live + 1);  // CurrentFont and the measurement's
        return true;
    };
    const auto result = engine::CalculateWidth(request);
    EXPECT_TRUE(replaced);
    ASSERT_EQ(result.outcome, engine::Outcome::Done);
    EXPECT_EQ(result.targets.front().statistics.MaxWidth, cell());
    EXPECT_EQ(fontview::liveFontCount(), live);
}

TEST_F(CalculationTest, CharactersOutsideTheTableUseTheFontsOwnWidths)
{
    // é is not in the printable ASCII table; in a monospaced face it is one cell.
    const int w = cell();
    const auto accents = run(write("accents.txt", "\xC3\xA9\xC3\xA9\n"));
    ASSERT_EQ(accents.outcome, engine::Outcome::Done);
    EXPECT_EQ(accents.targets.front().statistics.MaxWidth, 2 * w);
    // The same bytes that are not valid UTF-8 are read as Windows-1252: Ã and ©.
    const auto latin = run(write("latin.txt", "\xC3\xA9\xC3\n"));
    ASSERT_EQ(latin.outcome, engine::Outcome::Done);
    EXPECT_EQ(latin.targets.front().statistics.MaxWidth, 3 * w);
    EXPECT_EQ(latin.targets.front().measurement.encoding, engine::Encoding::Windows1252);
}
