// Records longer than a read: a piece of delimited text that no record
// ends in is cut inside its record, and later pieces go on with it.
// Cut at every size and on several threads, every answer is the one the
// records give read whole: each value's width, record, line and text, the
// widest values, the reading, and the line of a quote that never closes.

#include "MeasureFixture.h"
#include "PieceSource.h"
#include "RandomText.h"
#include "RecordCutter.h"

#include <gtest/gtest.h>

using namespace fixture;
using engine::Outcome;

namespace {

struct Answer {
    Outcome outcome = Outcome::Done;
    std::uint64_t unclosedQuoteLine = 0;
    engine::Encoding encoding = engine::Encoding::Utf8;
    std::vector<engine::Measurement> targets;
};

// Two fonts and the columns asked for: target t is column t / 2 in font t % 2.
Answer measureRecords(const std::string& bytes, const engine::DelimitedFormat& format, std::size_t blockSize,
                      unsigned threads)
{
    TempDir dir;
    static Font narrow;
    static WideFont wide;
    engine::MeasureRequest request;
    request.source.path = dir.write(bytes, "data.csv");
    request.fonts = {&narrow.widths, &wide.widths};
    request.options.delimited = format;
    // Every value but the empty ones, which a column that a later record
    // adds counts without listing them.
    request.options.maxWidth = 0;
    request.options.blockSize = blockSize;
    request.options.threads = threads;
    const engine::MeasureResult result = engine::measure(request);
    Answer a;
    a.outcome = result.outcome;
    a.unclosedQuoteLine = result.unclosedQuoteLine;
    if (result.outcome == Outcome::Done) {
        a.encoding = result.tally.encoding;
        for (std::size_t t = 0; t < result.tally.targets.size(); ++t)
            a.targets.push_back(engine::resolve(result.tally, t, request.options.maxWidth));
    }
    return a;
}

void expectSame(const Answer& cut, const Answer& whole, const std::string& how)
{
    SCOPED_TRACE(how);
    ASSERT_EQ(cut.outcome, whole.outcome);
    EXPECT_EQ(cut.unclosedQuoteLine, whole.unclosedQuoteLine);
    EXPECT_EQ(cut.encoding, whole.encoding);
    ASSERT_EQ(cut.targets.size(), whole.targets.size());
    for (std::size_t t = 0; t < cut.targets.size(); ++t) {
        SCOPED_TRACE("target " + std::to_string(t));
        EXPECT_TRUE(cut.targets[t].widths == whole.targets[t].widths);
        EXPECT_EQ(cut.targets[t].tooWide, whole.targets[t].tooWide);
        EXPECT_EQ(cut.targets[t].widest, whole.targets[t].widest);
    }
}

engine::DelimitedFormat allColumns(char delimiter, bool header)
{
    engine::DelimitedFormat format;
    format.delimiter = delimiter;
    format.header = header;
    format.allColumns = true;
    return format;
}

std::string repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

struct LongRecordCase {
    const char* name;
    std::string bytes;
    engine::DelimitedFormat format;
};

std::string caseName(const testing::TestParamInfo<LongRecordCase>& info) { return info.param.name; }

class LongRecords : public testing::TestWithParam<LongRecordCase> {};

TEST_P(LongRecords, GiveTheAnswersOfTheRecordsReadWhole)
{
    const LongRecordCase& c = GetParam();
    const Answer whole = measureRecords(c.bytes, c.format, std::size_t{1} << 20, 1);
    for (const std::size_t block : {16, 17, 30, 64, 100, 257})
        for (const unsigned threads : {1u, 3u})
            expectSame(measureRecords(c.bytes, c.format, block, threads), whole,
                       "block " + std::to_string(block) + ", threads " + std::to_string(threads));
}

INSTANTIATE_TEST_SUITE_P(
    Cut, LongRecords,
    testing::Values(
        LongRecordCase{"DoubledQuotesAtEveryEdge",
                       "id,note\n1,\"" + repeat("ab \"\"q\"\" ,", 60) + "\"\n2,short\n",
                       columnsByNumber(',', true, {1, 2})},
        LongRecordCase{"LineBreaksOfEveryKindInsideQuotes",
                       "a,b\n\"" + repeat("one\r\ntwo\rthree\nfour ", 30) + "\",\"x\ny\"\nz,w\n",
                       columnsByNumber(',', true, {1, 2})},
        LongRecordCase{"ManyFieldsInOneRecordCountedAcrossCuts",
                       repeat("f,", 300) + "last\n" + repeat("\"q,q\",", 200) + "end\nshort\n",
                       columnsByNumber(',', false, {1, 7, 250, 301})},
        LongRecordCase{"TextAfterAClosingQuoteGoesOnAcrossCuts",
                       "x;y\n\"" + repeat("in", 40) + "\"" + repeat("after", 40) + ";" + repeat("z", 90) + "\n",
                       columnsByNumber(';', true, {1, 2})},
        LongRecordCase{"Utf8CharactersAcrossCuts",
                       "h\n\"" + repeat("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x99\x82, ", 50) + "\"\n",
                       columnsByNumber(',', true, {1})},
        LongRecordCase{"ALaterByteBreaksUtf8",
                       "h\n\"" + repeat("\xC3\xA9 word ", 40) + "\xE9 ok\"\n",
                       columnsByNumber(',', true, {1})},
        LongRecordCase{"TheFileEndsInsideTheRecordWithoutALineEnd",
                       "h,i\n1,\"" + repeat("long text ", 30) + "\"" + repeat("tail", 20),
                       columnsByNumber(',', true, {1, 2})},
        LongRecordCase{"AQuoteOpenedPiecesBeforeTheEndNeverCloses",
                       "h\nfine\n\"never closed\n" + repeat("more text \"\" ", 40),
                       columnsByNumber(',', true, {1})},
        LongRecordCase{"CrOnlyRecordsAroundALongOne",
                       "h\rone\r\"" + repeat("x\r", 80) + "\"\rtwo\r", columnsByNumber(',', true, {1})},
        LongRecordCase{"Utf16LittleEndianWithSurrogatesAndLineBreaks",
                       toUtf16("id,note\n1,\"a\r\n" + repeat("\xF0\x9F\x99\x82 \"\"q\"\", x", 40) + "\"tail\n2,x\n", false),
                       columnsByNumber(',', true, {1, 2})},
        LongRecordCase{"Utf16BigEndianManyFields",
                       toUtf16(repeat("f;\"a;b\";", 60) + "end\nshort\n", true),
                       columnsByNumber(';', false, {1, 3, 121})},
        LongRecordCase{"Utf16QuoteOfDoubledQuotesNeverCloses",
                       toUtf16("h\nfine\n\"" + repeat("\"\"", 200) + " never closed\n" + repeat("more", 20), false),
                       columnsByNumber(',', true, {1})},
        LongRecordCase{"EveryColumnWithoutAHeaderAsTheLongRecordAddsThem",
                       "a,b\n" + repeat("\"x\ny\",", 150) + "end\n1,2,3\n" + repeat("f,", 100) + "\"" +
                           repeat("q", 90) + "\"\nlast\n",
                       allColumns(',', false)},
        LongRecordCase{"EveryColumnWithAHeader", "a;b;c\n1;\"" + repeat("z\"\"", 90) + "\";3;4;5\n6;7\n",
                       allColumns(';', true)},
        LongRecordCase{"AColumnPastTheLongRecordsFieldsIsEmpty",
                       "a|b|c\n" + repeat("w", 200) + "\n1|2|3\n", columnsByNumber('|', true, {1, 3})}),
    caseName);

// ------------------------------------------------ where the pieces begin

// The state and field that each piece of a long record begins in are
// the grammar's, whether the quotes' parity or the grammar found them.
TEST(LongRecordPieces, BeginInTheStateAndFieldTheGrammarGives)
{
    std::string bytes = "h\n";
    for (int i = 0; i < 400; ++i)
        bytes += i % 3 == 0 ? "\"a,\"\"b\"\" c\"," : i % 3 == 1 ? "plain," : "\"x\ny\"tail,";
    bytes += "end\n";
    for (const std::size_t block : {16, 64, 100, 256}) {
        SCOPED_TRACE("block " + std::to_string(block));
        TempDir dir;
        engine::InputStream in;
        ASSERT_EQ(in.open({dir.write(bytes, "data.csv")}), 0);
        const engine::DelimitedFormat format = columnsByNumber(',', true, {1});
        engine::PieceSource pieces(in, block, [](std::uint64_t) { return true; }, &format);
        engine::PieceBuffer buffer;
        engine::Piece piece;
        std::size_t offset = 0, cutsInside = 0;
        while (pieces.next(buffer, piece)) {
            if (piece.entry.inside) {
                // The grammar's walk from the start to here.
                const engine::csv::Classes classes(',');
                engine::csv::State state = engine::csv::State::FieldStart;
                std::size_t field = 1;
                const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
                engine::csv::walk(engine::csv::ByteUnits{}, classes, state, data, data + offset,
                                  [](const unsigned char*, const unsigned char*) {},
                                  [&](engine::csv::Action action, const unsigned char*) {
                                      if (action == engine::csv::Action::EndField)
                                          ++field;
                                      if (action == engine::csv::Action::EndRecord)
                                          field = 1;
                                      return true;
                                  });
                EXPECT_EQ(piece.entry.state, state) << "at " << offset;
                EXPECT_EQ(piece.entry.field, field) << "at " << offset;
                ++cutsInside;
            }
            offset += piece.size;
        }
        EXPECT_EQ(offset, bytes.size());
        EXPECT_GT(cutsInside, 3u);
    }
}

}  // namespace
