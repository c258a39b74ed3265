// The distribution of widths: what it counts, the exact fits read from it,
// and that the tallies of parts add up to the tally of the whole.

#include "MeasureFixture.h"
#include "WidthStatistics.h"

#include <numeric>
#include <random>

using namespace fixture;

namespace {

engine::WidthDistribution distributionOf(const std::vector<std::int64_t>& widths)
{
    engine::WidthDistribution d;
    for (const std::int64_t w : widths)
        d.add(w);
    return d;
}

TEST(Distribution, CountsEveryWidthDenseOrSparse)
{
    const std::int64_t huge = 8'600'000'000;  // one 1 GiB line
    const engine::WidthDistribution d = distributionOf({5, 70000, 5, 0, huge, -3, 65535});
    EXPECT_EQ(d.lineCount(), 7u);
    EXPECT_EQ(d.minWidth(), -3);
    EXPECT_EQ(d.maxWidth(), huge);
    EXPECT_EQ(d.totalWidth(), 5 + 70000 + 5 + 0 + huge - 3 + 65535);
    std::vector<std::pair<std::int64_t, std::uint64_t>> seen;
    d.forEach([&](std::int64_t w, std::uint64_t c) { seen.emplace_back(w, c); });
    EXPECT_EQ(seen, (std::vector<std::pair<std::int64_t, std::uint64_t>>{
                        {-3, 1}, {0, 1}, {5, 2}, {65535, 1}, {70000, 1}, {huge, 1}}));
    EXPECT_EQ(engine::WidthDistribution().minWidth(), -1);
    EXPECT_EQ(engine::WidthDistribution().maxWidth(), -1);
}

TEST(Distribution, MergeAddsCounts)
{
    engine::WidthDistribution whole = distributionOf({1, 2, 3, 100000, 2});
    engine::WidthDistribution part = distributionOf({1, 2});
    part.merge(distributionOf({3, 100000, 2}));
    EXPECT_TRUE(part == whole);
    whole.add(7);
    EXPECT_FALSE(part == whole);
}

// ExactFitP: the smallest width at least P% of the lines fit in, the
// ceil(P * N / 100)-th smallest.
struct RankCase {
    const char* name;
    std::vector<std::int64_t> widths;
    std::array<std::int64_t, 7> exactFits;  // 50, 60, 70, 80, 90, 95, 99
};

std::vector<std::int64_t> tensTo100() { return {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}; }

std::vector<std::int64_t> oneToHundred()
{
    std::vector<std::int64_t> widths(100);
    std::iota(widths.begin(), widths.end(), 1);
    return widths;
}

const RankCase rankCases[] = {
    {"TensTo100", tensTo100(), {50, 60, 70, 80, 90, 100, 100}},
    {"OneLine", {12}, {12, 12, 12, 12, 12, 12, 12}},
    {"OneToHundred", oneToHundred(), {50, 60, 70, 80, 90, 95, 99}},
    {"Ties", {5, 5, 5, 9, 9, 9, 9, 9, 9, 40}, {9, 9, 9, 9, 9, 40, 40}},
    {"EveryWidthEqual", std::vector<std::int64_t>(37, 21), {21, 21, 21, 21, 21, 21, 21}},
    {"TwoLines", {10, 20}, {10, 20, 20, 20, 20, 20, 20}},
    {"SkewedTail", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1000}, {1, 1, 1, 1, 1, 1000, 1000}},
};

class ExactFits : public testing::TestWithParam<RankCase> {};

TEST_P(ExactFits, AreNearestRanks)
{
    const RankCase& param = GetParam();
    std::vector<std::int64_t> shuffled = param.widths;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    const engine::Statistics s = engine::computeStatistics(distributionOf(shuffled));
    EXPECT_EQ(s.exactFits, param.exactFits);
    for (std::size_t i = 0; i < engine::fitShares.size(); ++i)
        EXPECT_EQ(distributionOf(shuffled).nthSmallest(engine::nearestRank(engine::fitShares[i], s.LineCount)),
                  param.exactFits[i]);
}

INSTANTIATE_TEST_SUITE_P(Widths, ExactFits, testing::ValuesIn(rankCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExactFits, RanksDoNotOverflowForHugeCounts)
{
    const std::uint64_t lines = 0xFFFF'FFFF'FFFF'FFF0u;
    EXPECT_EQ(engine::nearestRank(99, lines), lines - lines / 100);  // ceil(0.99 N) for N a multiple of... close to
    EXPECT_EQ(engine::nearestRank(50, 3), 2u);
    EXPECT_EQ(engine::nearestRank(99, 100), 99u);
    EXPECT_EQ(engine::nearestRank(99, 101), 100u);
    engine::WidthDistribution d;
    d.add(4, lines / 2);
    d.add(9, lines / 2);
    EXPECT_EQ(engine::computeStatistics(d).exactFits[0], 4);
    EXPECT_EQ(engine::computeStatistics(d).exactFits[1], 9);
}

TEST(Statistics, FromTheDistributionEqualThePlainFormulas)
{
    std::mt19937 random(99);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::int64_t> widths(1 + random() % 3000);
        for (auto& w : widths)
            w = static_cast<std::int64_t>(random() % 400);
        double mean = 0;
        for (const auto w : widths)
            mean += static_cast<double>(w);
        mean /= static_cast<double>(widths.size());
        double squares = 0;
        for (const auto w : widths)
            squares += (mean - static_cast<double>(w)) * (mean - static_cast<double>(w));
        const double deviation = std::sqrt(widths.size() == 1 ? squares : squares / static_cast<double>(widths.size() - 1));
        const engine::Statistics s = engine::computeStatistics(distributionOf(widths));
        EXPECT_NEAR(s.AverageWidth, mean, 1e-9 * mean);
        EXPECT_NEAR(s.StdDeviation, deviation, 1e-9 * (1 + deviation));
        EXPECT_EQ(s.MinWidth, *std::min_element(widths.begin(), widths.end()));
        EXPECT_EQ(s.MaxWidth, *std::max_element(widths.begin(), widths.end()));
        std::sort(widths.begin(), widths.end());
        for (std::size_t i = 0; i < engine::fitShares.size(); ++i) {
            const std::size_t rank = (engine::fitShares[i] * widths.size() + 99) / 100;
            EXPECT_EQ(s.exactFits[i], widths[rank - 1]);
        }
    }
}

// Parts of a file measured apart and appended give what the whole gives,
// the encoding included: an ASCII part and a Windows-1252 part make a
// Windows-1252 whole.
TEST(Tally, PartsAppendedEqualTheWhole)
{
    const std::vector<std::string> parts = {"plain\nascii line\n", "caf\xC3\xA9\n\xE2\x82\xAC 5\n",
                                            "na\xEF" "ve\n", std::string(300, 'x') + "\n\n"};
    for (std::size_t broken = 0; broken <= parts.size(); ++broken) {
        std::string whole;
        engine::StreamTally appended;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (i == 2 && broken == parts.size())
                continue;  // without the invalid part the whole is UTF-8
            whole += parts[i];
            Font font;
            engine::MeasureOptions options;
            options.maxWidth = everyLine;
            TempDir dir;
            auto result = engine::measure({dir.write(parts[i])}, font.widths, options);
            ASSERT_EQ(result.status, engine::MeasureStatus::Ok);
            appended.append(std::move(result.tally));
        }
        Font font;
        const Measured m = measureBytes(whole, font);
        const engine::Measurement joined = engine::resolve(appended, everyLine);
        EXPECT_EQ(joined.encoding, m.measurement.encoding);
        EXPECT_TRUE(joined.widths == m.measurement.widths);
        EXPECT_EQ(joined.widest, m.measurement.widest);
        EXPECT_EQ(joined.tooWide, m.measurement.tooWide);
    }
}

TEST(WidestLines, KeepTheTenWidestEarlierFirst)
{
    engine::WidestLines widest;
    for (std::uint64_t line = 1; line <= 30; ++line)
        widest.offer(line, static_cast<std::int64_t>(line % 7), std::to_string(line));
    std::vector<std::uint64_t> lines;
    for (const engine::WideLine& l : widest.lines())
        lines.push_back(l.line);
    // Width 6: lines 6, 13, 20, 27; width 5: 5, 12, 19, 26; width 4: 4, 11.
    EXPECT_EQ(lines, (std::vector<std::uint64_t>{6, 13, 20, 27, 5, 12, 19, 26, 4, 11}));

    engine::WidestLines later;
    later.offer(1, 6, "x");
    later.shiftLines(100);
    widest.merge(later);
    EXPECT_EQ(widest.lines().size(), engine::WidestLines::kept);
    EXPECT_EQ(widest.lines()[4].line, 101u);  // after the four earlier lines of width 6
}

}  // namespace
