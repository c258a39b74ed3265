// One pass, many answers: a pass that measures several fonts, and several
// columns of delimited text, gives each target exactly what measuring it
// alone gives, and each column what a plain reading of RFC 4180 gives.

#include "CsvModel.h"
#include "MeasureFixture.h"
#include "RandomText.h"

using namespace fixture;
using engine::Outcome;

namespace {

// Everything a target's tally says, resolved: the distribution, the widest
// lines and every line, in order, as check mode keeps them.
struct TargetView {
    std::vector<std::pair<std::int64_t, std::uint64_t>> widths;
    std::vector<engine::WideLine> widest;
    std::vector<engine::WideLine> lines;
    bool operator==(const TargetView&) const = default;
};

struct Pass {
    Outcome outcome = Outcome::Done;
    engine::Encoding encoding = engine::Encoding::Utf8;
    std::vector<std::size_t> columns;
    std::vector<TargetView> targets;
};

Pass measurePass(const std::string& path, const std::vector<const engine::FontWidths*>& fonts,
                 std::optional<engine::DelimitedFormat> format, unsigned threads, std::size_t blockSize)
{
    engine::MeasureRequest request;
    request.source.path = path;
    request.fonts = fonts;
    request.options.delimited = std::move(format);
    request.options.threads = threads;
    request.options.blockSize = blockSize;
    request.options.maxWidth = everyLine;
    const engine::MeasureResult result = engine::measure(request);
    Pass pass;
    pass.outcome = result.outcome;
    if (result.outcome != Outcome::Done)
        return pass;
    pass.encoding = result.tally.encoding;
    pass.columns = result.layout.columns;
    const std::size_t sources = request.options.delimited ? result.layout.columns.size() : 1;
    for (std::size_t t = 0; t < sources * fonts.size(); ++t) {
        engine::Measurement m = engine::resolve(result.tally, t, everyLine);
        TargetView view;
        m.widths.forEach([&](std::int64_t w, std::uint64_t n) { view.widths.emplace_back(w, n); });
        for (engine::WideLine& line : m.widest)
            line.target = 0;
        for (engine::WideLine& line : m.tooWide)
            line.target = 0;
        view.widest = std::move(m.widest);
        view.lines = std::move(m.tooWide);
        pass.targets.push_back(std::move(view));
    }
    return pass;
}

TEST(ManyTargets, EachFontOfTheLinesEqualsThatFontAlone)
{
    Font narrow;
    WideFont wide;
    RandomText random(1616);
    TempDir dir;
    for (int round = 0; round < 16; ++round) {
        const std::string path = dir.write(random.encoded(random.lines(40 + 20 * round)));
        const unsigned threads = 1 + round % 4;
        const std::size_t block = 16 + 29 * static_cast<std::size_t>(round);
        SCOPED_TRACE(testing::Message() << "round " << round << ", threads " << threads << ", block " << block);
        const Pass both = measurePass(path, {&narrow.widths, &wide.widths}, std::nullopt, threads, block);
        const Pass first = measurePass(path, {&narrow.widths}, std::nullopt, threads, block);
        const Pass second = measurePass(path, {&wide.widths}, std::nullopt, 1, engine::defaultBlockSize);
        ASSERT_EQ(both.outcome, Outcome::Done);
        ASSERT_EQ(both.targets.size(), 2u);
        EXPECT_EQ(both.encoding, first.encoding);
        EXPECT_TRUE(both.targets[0] == first.targets[0]);
        EXPECT_TRUE(both.targets[1] == second.targets[0]);
        EXPECT_FALSE(both.targets[0] == both.targets[1]);
    }
}

// Several fonts are summed four at a time in shared lanes, characters
// outside ASCII too; a character some font draws too wide for a lane, or
// with a negative advance, is summed font by font instead.
TEST(ManyTargets, FontsSummedInLanesEqualEachAloneWhateverTheirWidths)
{
    const auto font = [](std::function<std::int32_t(char32_t)> other) {
        return std::make_unique<engine::FontWidths>(makeTable(), std::move(other));
    };
    // Windows-1252's characters stay narrow, or the fonts share no lanes at all.
    const auto past1252 = [](char32_t code) { return code >= 0x370 && (code < 0x2000 || code >= 0x2200); };
    const auto narrowOr = [past1252](char32_t code, std::int32_t past, std::int32_t modulus) {
        return past1252(code) ? past : static_cast<std::int32_t>(code % static_cast<char32_t>(modulus));
    };
    std::vector<std::unique_ptr<engine::FontWidths>> fonts;
    fonts.push_back(font([=](char32_t code) { return narrowOr(code, static_cast<std::int32_t>(code % 29 + 1), 7); }));
    fonts.push_back(font([=](char32_t code) { return narrowOr(code, static_cast<std::int32_t>(900 + code % 100), 11); }));
    fonts.push_back(font([=](char32_t code) { return narrowOr(code, code % 3 == 0 ? 5000 : 12, 13); }));
    fonts.push_back(font([=](char32_t code) { return narrowOr(code, code % 4 == 0 ? -7 : 3, 17); }));
    fonts.push_back(font([=](char32_t code) { return narrowOr(code, static_cast<std::int32_t>(code % 1000), 24); }));
    std::vector<const engine::FontWidths*> all;
    for (const auto& f : fonts)
        all.push_back(f.get());
    RandomText random(1919);
    TempDir dir;
    for (int round = 0; round < 6; ++round) {
        const std::string path = dir.write(random.encoded(random.lines(60 + 30 * round)));
        SCOPED_TRACE(testing::Message() << "round " << round);
        const Pass together = measurePass(path, all, std::nullopt, 1 + round % 3, engine::defaultBlockSize);
        ASSERT_EQ(together.outcome, Outcome::Done);
        ASSERT_EQ(together.targets.size(), all.size());
        for (std::size_t f = 0; f < all.size(); ++f) {
            const Pass alone = measurePass(path, {all[f]}, std::nullopt, 1, engine::defaultBlockSize);
            EXPECT_TRUE(together.targets[f] == alone.targets[0]) << "font " << f;
        }
    }
}

TEST(ManyTargets, EachColumnInEachFontEqualsItAlone)
{
    Font narrow;
    WideFont wide;
    RandomText random(4180);
    TempDir dir;
    const char delimiters[] = {',', ';', '\t', '|'};
    for (int round = 0; round < 16; ++round) {
        const char delimiter = delimiters[round % 4];
        const bool header = round % 3 != 2;
        const std::string path = dir.write(random.encoded(random.records(30 + 7 * round, delimiter, header)));
        const unsigned threads = 1 + round % 4;
        const std::size_t block = 16 + 41 * static_cast<std::size_t>(round);
        std::vector<std::size_t> chosen = {1 + random.below(4)};
        while (chosen.size() < static_cast<std::size_t>(1 + round % 4))
            chosen.push_back(1 + random.below(4));
        SCOPED_TRACE(testing::Message() << "round " << round << ", threads " << threads << ", block " << block);
        const Pass all = measurePass(path, {&narrow.widths, &wide.widths}, columnsByNumber(delimiter, header, chosen), threads,
                                     block);
        ASSERT_EQ(all.outcome, Outcome::Done);
        ASSERT_EQ(all.targets.size(), 2 * all.columns.size());
        for (std::size_t c = 0; c < all.columns.size(); ++c) {
            for (std::size_t f = 0; f < 2; ++f) {
                const engine::FontWidths* font = f == 0 ? &narrow.widths : &wide.widths;
                const Pass alone =
                    measurePass(path, {font}, columnsByNumber(delimiter, header, {all.columns[c]}), 1 + (round + 1) % 4, 64);
                ASSERT_EQ(alone.outcome, Outcome::Done);
                EXPECT_TRUE(all.targets[2 * c + f] == alone.targets[0]) << "column " << all.columns[c] << ", font " << f;
            }
        }
    }
}

TEST(ManyTargets, ColumnsAreWhatRfc4180Reads)
{
    Font font;
    RandomText random(2026);
    TempDir dir;
    const char delimiters[] = {',', '\t', ';', ' '};
    for (int round = 0; round < 40; ++round) {
        const char delimiter = delimiters[round % 4];
        const std::string bytes = random.encoded(random.records(20 + round, delimiter, true));
        const std::string path = dir.write(bytes);
        const CsvModel expected = csvModel(bytes, delimiter);
        SCOPED_TRACE(testing::Message() << "round " << round);
        const Pass pass = measurePass(path, {&font.widths}, columnsByNumber(delimiter, true, {1, 2, 3, 4}), 1 + round % 3,
                                      32 + 13 * static_cast<std::size_t>(round));
        if (expected.unclosedQuoteLine != 0) {
            EXPECT_EQ(pass.outcome, Outcome::UnclosedQuote);
            continue;
        }
        ASSERT_EQ(pass.outcome, Outcome::Done);
        EXPECT_EQ(pass.encoding, expected.encoding);
        for (std::size_t c = 0; c < pass.columns.size(); ++c) {
            const std::vector<CsvField> values = csvColumn(expected, pass.columns[c], true);
            const std::vector<engine::WideLine>& lines = pass.targets[c].lines;
            ASSERT_EQ(lines.size(), values.size()) << "column " << pass.columns[c];
            for (std::size_t r = 0; r < values.size(); ++r) {
                EXPECT_EQ(lines[r].line, r + 1);
                EXPECT_EQ(lines[r].startLine, expected.records[r + 1].startLine);
                EXPECT_EQ(lines[r].width, values[r].width) << "record " << r + 1 << ", column " << pass.columns[c];
            }
        }
    }
}

TEST(ManyTargets, EveryColumnWithoutAHeaderReachesAsFarAsTheWidestRecord)
{
    Font font;
    TempDir dir;
    // The third column only appears in record 4, the fourth only in
    // record 6: the records before have empty values there.
    const std::string bytes = "a,b\nc\nd,e\nf,g,hh\ni\nj,k,l,mmm\n";
    const std::string path = dir.write(bytes);
    engine::DelimitedFormat format;
    format.header = false;
    format.allColumns = true;
    for (const unsigned threads : {1u, 2u, 3u}) {
        for (const std::size_t block : {16u, 20u, 1024u}) {
            const Pass all = measurePass(path, {&font.widths}, format, threads, block);
            ASSERT_EQ(all.outcome, Outcome::Done);
            ASSERT_EQ(all.columns, (std::vector<std::size_t>{1, 2, 3, 4}));
            for (std::size_t c = 0; c < 4; ++c) {
                const Pass alone = measurePass(path, {&font.widths}, columnsByNumber(',', false, {c + 1}), 1, 1024);
                EXPECT_EQ(all.targets[c].widths, alone.targets[0].widths) << "column " << c + 1;
                EXPECT_EQ(all.targets[c].widest, alone.targets[0].widest) << "column " << c + 1;
            }
        }
    }
}

}  // namespace
