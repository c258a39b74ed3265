// The histogram's bins: the bin width chosen for known spreads, that every
// line lands in exactly one bin, the axis around few bins and marks, and
// the axis labels.

#include "HistogramBins.h"

#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace {

using Counts = std::vector<std::pair<std::int64_t, std::uint64_t>>;  // width, lines

engine::WidthDistribution distributionOf(const Counts& counts)
{
    engine::WidthDistribution d;
    for (const auto& [width, lines] : counts)
        d.add(width, lines);
    return d;
}

constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();

// Widths 40..140 in a bell, then a thin tail out to 600: like names in a
// column, where a few long ones stretch the spread.
Counts skewedTail()
{
    Counts c;
    for (std::int64_t w = 40; w <= 140; ++w)
        c.emplace_back(w, static_cast<std::uint64_t>(1000 - (w - 90) * (w - 90) / 3));
    for (std::int64_t w = 150; w <= 600; w += 15)
        c.emplace_back(w, 2);
    return c;
}

struct BinCase {
    std::string name;
    Counts counts;
    std::int64_t binWidth;
    std::size_t bins;
    std::int64_t firstFrom;
    std::int64_t axisFrom, axisTo;
};

void PrintTo(const BinCase& c, std::ostream* os) { *os << c.name; }

class HistogramBinsTest : public testing::TestWithParam<BinCase> {};

TEST_P(HistogramBinsTest, ChoosesRoundBinsAndCountsEveryLineOnce)
{
    const BinCase& c = GetParam();
    const engine::WidthDistribution widths = distributionOf(c.counts);
    const report::Histogram h = report::histogramOf(widths);

    EXPECT_EQ(h.binWidth, c.binWidth);
    ASSERT_EQ(h.bins.size(), c.bins);
    EXPECT_EQ(h.bins.front().from, c.firstFrom);
    EXPECT_EQ(h.axisFrom, c.axisFrom);
    EXPECT_EQ(h.axisTo, c.axisTo);

    // Adjacent bins of the one width, aligned on its multiples, holding the
    // narrowest and the widest line and every line in between once.
    std::uint64_t total = 0, tallest = 0;
    for (std::size_t i = 0; i < h.bins.size(); ++i) {
        const report::HistogramBin& bin = h.bins[i];
        const bool clampedEdge = bin.from == int64Min || bin.to == int64Max;  // bins past int64 are cut short
        if (!clampedEdge) {
            EXPECT_EQ(bin.to - bin.from + 1, h.binWidth) << i;
            EXPECT_EQ(bin.from % h.binWidth, 0) << i;
        }
        if (i > 0) {
            EXPECT_EQ(bin.from, h.bins[i - 1].to + 1) << i;
        }
        std::uint64_t inside = 0;
        for (const auto& [width, lines] : c.counts)
            if (width >= bin.from && width <= bin.to)
                inside += lines;
        EXPECT_EQ(bin.lines, inside) << "bin " << bin.from << ".." << bin.to;
        total += bin.lines;
        tallest = std::max(tallest, bin.lines);
    }
    EXPECT_EQ(total, widths.lineCount());
    EXPECT_EQ(h.tallest, tallest);
    EXPECT_LE(h.bins.front().from, widths.minWidth());
    EXPECT_GE(h.bins.back().to, widths.maxWidth());
    EXPECT_LE(h.axisFrom, h.bins.front().from);
    EXPECT_GE(h.axisTo, h.bins.back().to);

    // Labels on bar edges, inside the axis, few enough to read.
    const std::vector<std::int64_t> ticks = report::widthTicks(h, 6);
    ASSERT_FALSE(ticks.empty());
    EXPECT_LE(ticks.size(), 7u);
    for (const std::int64_t tick : ticks) {
        EXPECT_EQ(tick % h.binWidth, 0) << tick;
        EXPECT_GE(tick, h.axisFrom);
        EXPECT_LE(tick, h.axisTo);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Spreads, HistogramBinsTest,
    testing::Values(
        BinCase{"OneWidth", {{12, 5}}, 1, 1, 12, 8, 17},
        BinCase{"OneWidthOfZeroStaysOffNegatives", {{0, 3}}, 1, 1, 0, 0, 9},
        BinCase{"FewWidthsCloseTogether", {{10, 1}, {11, 4}, {13, 2}}, 1, 4, 10, 7, 16},
        BinCase{"SixtyWidthsOnePixelEach", {{100, 1}, {159, 1}}, 1, 60, 100, 100, 159},
        BinCase{"SpreadOf140TakesFives", {{0, 1}, {139, 1}}, 5, 28, 0, 0, 139},
        BinCase{"TwoWidthsFarApart", {{10, 7}, {10000, 1}}, 250, 41, 0, 0, 10249},
        BinCase{"SkewedTail", skewedTail(), 10, 57, 40, 40, 609},
        BinCase{"HugeCounts", {{100, 3'000'000'000}, {140, 5'000'000'000}, {180, 1}}, 2, 41, 100, 100, 181},
        BinCase{"HugeWidths", {{3, 1}, {8'600'000'000, 2}}, 200'000'000, 44, 0, 0, 8'799'999'999},
        BinCase{"NegativeWidths", {{-3, 1}, {5, 2}}, 1, 9, -3, -3, 6},
        // Bins five wide: -7 falls in -10..-6, as a bin starts on a multiple below it.
        BinCase{"NegativeWidthsInWideBins", {{-7, 1}, {-1, 2}, {130, 1}}, 5, 29, -10, -10, 134},
        BinCase{"WholeRangeOfWidths", {{int64Min, 1}, {0, 1}, {int64Max, 1}}, 500'000'000'000'000'000, 38,
                int64Min, int64Min, int64Max}),
    [](const testing::TestParamInfo<BinCase>& info) { return info.param.name; });

TEST(HistogramBins, NothingMeasuredHasNoBins)
{
    const report::Histogram h = report::histogramOf(engine::WidthDistribution());
    EXPECT_TRUE(h.bins.empty());
    EXPECT_TRUE(report::widthTicks(h, 6).empty());
}

TEST(HistogramBins, AxisStretchesToTakeInMarksButBinsStay)
{
    const engine::WidthDistribution widths = distributionOf({{10, 1}, {20, 1}});
    const report::Histogram plain = report::histogramOf(widths);
    const std::int64_t marks[] = {15, 31};  // the estimated 50% and 99% of these two lines
    const report::Histogram marked = report::histogramOf(widths, marks);
    EXPECT_EQ(marked.bins, plain.bins);
    EXPECT_EQ(marked.axisFrom, 10);
    EXPECT_EQ(marked.axisTo, 31);
    const std::int64_t below[] = {-4};
    EXPECT_EQ(report::histogramOf(widths, below).axisFrom, -4);
}

TEST(HistogramBins, NiceSteps)
{
    const std::pair<double, std::int64_t> cases[] = {{0, 1},      {1, 1},      {1.2, 2},       {3, 5},
                                                     {11, 20},    {21, 25},    {26, 50},       {51, 100},
                                                     {201, 250},  {251, 500},  {1e9, 1'000'000'000},
                                                     {1.1e9, 2'000'000'000}};
    for (const auto& [atLeast, step] : cases)
        EXPECT_EQ(report::niceStep(atLeast), step) << atLeast;
}

TEST(HistogramBins, CountAxisEndsOnARoundStepAtOrAboveTheTallestBar)
{
    struct Case {
        std::uint64_t tallest, top, step;
    };
    const Case cases[] = {{0, 1, 1},           {1, 1, 1},           {7, 8, 2},
                          {1234, 1500, 500},   {1000, 1000, 250},   {3'000'000'000, 3'000'000'000, 1'000'000'000},
                          {std::numeric_limits<std::uint64_t>::max(), std::numeric_limits<std::uint64_t>::max(),
                           5'000'000'000'000'000'000}};
    for (const Case& c : cases) {
        const report::CountAxis axis = report::countAxis(c.tallest, 4);
        EXPECT_EQ(axis.top, c.top) << c.tallest;
        EXPECT_EQ(axis.step, c.step) << c.tallest;
    }
}

}  // namespace
