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
    EXPECT_EQ(d.totalWidth(), std::optional<std::int64_t>(5 + 70000 + 5 + 0 + huge - 3 + 65535));
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
    // ranks 4, 5, 6, 7, 8, 8, 8 of 2 4 4 4 5 5 7 9
    {"EightWidths", {2, 4, 4, 4, 5, 5, 7, 9}, {4, 5, 5, 7, 9, 9, 9}},
    {"NegativeWidth", {-3, 5, 5}, {5, 5, 5, 5, 5, 5, 5}},
};

class ExactFits : public testing::TestWithParam<RankCase> {};

TEST_P(ExactFits, AreNearestRanks)
{
    const RankCase& param = GetParam();
    std::vector<std::int64_t> shuffled = param.widths;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    const engine::Statistics s = engine::computeStatistics(distributionOf(shuffled));
    EXPECT_EQ(s.exactFits, param.exactFits);
}

INSTANTIATE_TEST_SUITE_P(Widths, ExactFits, testing::ValuesIn(rankCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExactFits, RanksDoNotOverflowForHugeCounts)
{
    const std::uint64_t lines = 0xFFFF'FFFF'FFFF'FFF0u;
    // N ends in 00, so 99% of it is a whole number.
    EXPECT_EQ(engine::nearestRank(99, lines), 18'262'276'632'972'456'084u);
    EXPECT_EQ(engine::nearestRank(50, 3), 2u);
    EXPECT_EQ(engine::nearestRank(99, 100), 99u);
    EXPECT_EQ(engine::nearestRank(99, 101), 100u);
    engine::WidthDistribution d;
    d.add(4, lines / 2);
    d.add(9, lines / 2);
    const engine::Statistics s = engine::computeStatistics(d);
    EXPECT_EQ(s.exactFits[0], 4);
    EXPECT_EQ(s.exactFits[1], 9);
    // The total passes 64 bits; the average still comes out right.
    EXPECT_FALSE(d.totalWidth());
    EXPECT_DOUBLE_EQ(s.AverageWidth, 6.5);
}

// Worked by hand: the mean, the sum of the squared differences from it,
// the sample variance (over N - 1) and its root.
TEST(Statistics, WorkedExamples)
{
    struct Worked {
        std::vector<std::int64_t> widths;
        double average, squares, variance, deviation;
        std::int64_t min, max;
    };
    const Worked worked[] = {
        // 9 + 1 + 1 + 1 + 0 + 0 + 4 + 16 = 32, over 7
        {{2, 4, 4, 4, 5, 5, 7, 9}, 5, 32, 32.0 / 7, 2.13809, 2, 9},
        // mean 7/3: (16/3)^2 + 2 (8/3)^2 = 384/9, over 2 = 64/3
        {{-3, 5, 5}, 7.0 / 3, 384.0 / 9, 64.0 / 3, 4.61880, -3, 5},
        // lines a billion pixels wide keep their units
        {{1'000'000'001, 1'000'000'002, 1'000'000'003}, 1'000'000'002, 2, 1, 1, 1'000'000'001, 1'000'000'003},
    };
    for (const Worked& w : worked) {
        const engine::Statistics s = engine::computeStatistics(distributionOf(w.widths));
        SCOPED_TRACE(testing::Message() << w.widths.size() << " lines from " << w.min);
        EXPECT_DOUBLE_EQ(s.AverageWidth, w.average);
        EXPECT_NEAR(s.SumOfSquares, w.squares, 1e-9);
        EXPECT_NEAR(s.Variance, w.variance, 1e-9);
        EXPECT_NEAR(s.StdDeviation, w.deviation, 1e-5);
        EXPECT_EQ(s.MinWidth, w.min);
        EXPECT_EQ(s.MaxWidth, w.max);
    }
}

// The statistics do not depend on the order the widths come in, nor on
// how the lines were split into parts measured apart.
TEST(Statistics, OrderAndPartsDoNotMatter)
{
    std::mt19937 random(99);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::int64_t> widths(1 + random() % 3000);
        for (auto& w : widths)
            w = static_cast<std::int64_t>(random() % 400) + (round % 2 ? 70000 : 0);  // dense and sparse
        const engine::Statistics whole = engine::computeStatistics(distributionOf(widths));
        std::shuffle(widths.begin(), widths.end(), random);
        const std::size_t cut = widths.size() / 3;
        engine::WidthDistribution parts = distributionOf({widths.begin(), widths.begin() + cut});
        parts.merge(distributionOf({widths.begin() + cut, widths.end()}));
        const engine::Statistics joined = engine::computeStatistics(parts);
        EXPECT_EQ(joined.AverageWidth, whole.AverageWidth);
        EXPECT_EQ(joined.StdDeviation, whole.StdDeviation);
        EXPECT_EQ(joined.fits, whole.fits);
        EXPECT_EQ(joined.exactFits, whole.exactFits);
        EXPECT_EQ(joined.MinWidth, whole.MinWidth);
        EXPECT_EQ(joined.MaxWidth, whole.MaxWidth);
    }
}

// Parts of a file measured apart and appended give what the whole gives,
// the encoding included: one part that is not UTF-8, wherever it comes,
// makes the whole Windows-1252; without it the whole is UTF-8.
TEST(Tally, PartsAppendedEqualTheWhole)
{
    const std::vector<std::string> valid = {"plain\nascii line\n", "caf\xC3\xA9\n\xE2\x82\xAC 5\n",
                                            std::string(300, 'x') + "\n\n"};
    const std::string notUtf8 = "na\xEF" "ve\n";
    for (std::size_t broken = 0; broken <= valid.size() + 1; ++broken) {
        std::vector<std::string> parts = valid;
        if (broken <= valid.size())  // first, between the others, or last
            parts.insert(parts.begin() + static_cast<std::ptrdiff_t>(broken), notUtf8);
        std::string whole;
        engine::StreamTally appended;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            whole += parts[i];
            Font font;
            engine::MeasureOptions options;
            options.maxWidth = everyLine;
            TempDir dir;
            auto result = engine::measure({dir.write(parts[i])}, font.widths, options);
            ASSERT_EQ(result.outcome, engine::Outcome::Done);
            appended.append(std::move(result.tally));
        }
        Font font;
        const Measured m = measureBytes(whole, font);
        const engine::Measurement joined = engine::resolve(appended, 0, everyLine);
        EXPECT_EQ(m.measurement.encoding, broken <= valid.size() ? engine::Encoding::Windows1252 : engine::Encoding::Utf8) << broken;
        EXPECT_EQ(joined.encoding, m.measurement.encoding) << broken;
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
