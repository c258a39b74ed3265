// Delimited text that once gave a wrong answer or refused good data: the
// header read by other rules than the records, column numbers past the
// header, quoted text in UTF-16, a CR at the end of every read, and long
// quoted records.

#include "CsvModel.h"
#include "MeasureFixture.h"
#include "PieceSource.h"
#include "RecordCutter.h"
#include "Utf8.h"

using namespace fixture;
using engine::Outcome;

namespace {

struct Column {
    Outcome outcome = Outcome::Done;
    engine::RecordLayout layout;
    std::vector<engine::WideLine> lines;  // every value, in order
    std::vector<engine::WideLine> widest;
};

Column measureColumn(const std::string& bytes, engine::DelimitedFormat format,
                     std::size_t blockSize = engine::defaultBlockSize, unsigned threads = 1)
{
    TempDir dir;
    Font font;
    engine::MeasureOptions options;
    options.delimited = std::move(format);
    options.maxWidth = everyLine;
    options.blockSize = blockSize;
    options.threads = threads;
    const engine::MeasureResult result = engine::measure({dir.write(bytes, "data.csv")}, font.widths, options);
    Column c;
    c.outcome = result.outcome;
    c.layout = result.layout;
    if (result.outcome == Outcome::Done) {
        const engine::Measurement m = engine::resolve(result.tally, 0, everyLine);
        c.lines = m.tooWide;
        c.widest = m.widest;
    }
    return c;
}

engine::DelimitedFormat csvFile(const std::string& column)
{
    engine::DelimitedFormat format = engine::formatForName("data.csv");
    format.columns = {engine::ColumnChoice::byText(column)};
    return format;
}

engine::DelimitedFormat delimited(char delimiter, const std::string& column, bool header = true)
{
    engine::DelimitedFormat format;
    format.delimiter = delimiter;
    format.header = header;
    format.columns = {engine::ColumnChoice::byText(column)};
    return format;
}

// ------------------------------------------------ the header, by the records' rules

TEST(HostileCsv, AQuoteAfterASemicolonOpensNothingInACommaFile)
{
    // The header is 'a' and 'b;"c': no quoted field runs on into the data.
    std::string bytes = "a,b;\"c\n";
    for (int i = 0; i < 2000; ++i)
        bytes += "1,WWWWWWWWWW\n";
    const Column c = measureColumn(bytes, csvFile("2"), 4096, 2);
    ASSERT_EQ(c.outcome, Outcome::Done);
    EXPECT_EQ(c.layout.headerNames, (std::vector<std::string>{"a", "b;\"c"}));
    ASSERT_EQ(c.lines.size(), 2000u);
    EXPECT_EQ(c.lines.front().width, 10 * tableWidth('W'));
}

TEST(HostileCsv, AQuoteAfterACustomDelimiterOpensAField)
{
    const Column c = measureColumn("id|\"multi\nline\"|x\n1|22|3\n", delimited('|', "x"));
    ASSERT_EQ(c.outcome, Outcome::Done);
    EXPECT_EQ(c.layout.headerNames, (std::vector<std::string>{"id", "multi\nline", "x"}));
    EXPECT_EQ(c.layout.columns, std::vector<std::size_t>{3});
    ASSERT_EQ(c.lines.size(), 1u);
    EXPECT_EQ(c.lines[0].startLine, 3u);
}

TEST(HostileCsv, AStrayQuoteDoesNotHideTheSemicolons)
{
    const Column c = measureColumn("size 5\";name;code\n1;ab;c\n", csvFile("name"));
    ASSERT_EQ(c.outcome, Outcome::Done);
    EXPECT_EQ(c.layout.delimiter, ';');
    ASSERT_EQ(c.lines.size(), 1u);
    EXPECT_EQ(c.lines[0].text, "ab");
}

TEST(HostileCsv, AHeaderThatNeverEndsIsRefusedNotMeasured)
{
    std::string bytes = "a,\"b\n";
    bytes.append(engine::PieceSource::maxRecordBytes + 1024, 'x');
    EXPECT_EQ(measureColumn(bytes, csvFile("1")).outcome, Outcome::RecordTooLong);
}

// ------------------------------------------------ column numbers and digit names

struct ColumnCase {
    const char* name;
    std::string bytes;
    engine::DelimitedFormat format;
    Outcome outcome;
    std::size_t column;
};

const ColumnCase columnCases[] = {
    {"ADigitNameIsAName", "2024,2\nx,yy\n", delimited(',', "2"), Outcome::Done, 2},
    {"ADigitNameBeforeItsNumber", "x,2024\nx,yy\n", delimited(',', "2024"), Outcome::Done, 2},
    {"ANumberWhereNoNameMatches", "id,name\n1,2\n", delimited(',', "2"), Outcome::Done, 2},
    {"ANumberPastTheHeaderIsRefused", "id,name\n1,2,3\n", delimited(',', "3"), Outcome::UnknownColumn, 0},
    {"AnUnknownNameIsRefused", "id,name\n1,2\n", delimited(',', "city"), Outcome::UnknownColumn, 0},
    {"WithoutAHeaderAnyRecordMayReach", "1,2\n1,2,3\n", delimited(',', "3", false), Outcome::Done, 3},
    {"WithoutAHeaderPastEveryRecordIsRefused", "1,2\n1,2,3\n", delimited(',', "4", false), Outcome::UnknownColumn, 0},
    {"ZeroIsNoColumn", "id,name\n1,2\n", delimited(',', "0"), Outcome::UnknownColumn, 0},
};

class Columns : public testing::TestWithParam<ColumnCase> {};

TEST_P(Columns, AreNamesFirstThenNumbersWithinTheRecords)
{
    const ColumnCase& param = GetParam();
    const Column c = measureColumn(param.bytes, param.format);
    EXPECT_EQ(c.outcome, param.outcome);
    if (param.outcome == Outcome::Done) {
        EXPECT_EQ(c.layout.columns, std::vector<std::size_t>{param.column});
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Columns, testing::ValuesIn(columnCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------ the texts shown

TEST(HostileCsv, QuotedTextInUtf16KeepsItsCharacters)
{
    // U+2222 is 22 22, U+6222 22 62: quote bytes inside characters.
    const std::string text = "h,v\n1,\"a\xE2\x88\xA2\xE6\x88\xA2\"\"x\"\n";
    for (const bool big : {false, true}) {
        std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
        for (const char32_t code : fontview::decodeUtf8(text)) {
            const char hi = static_cast<char>(code >> 8), lo = static_cast<char>(code & 0xFF);
            bytes += big ? std::string{hi, lo} : std::string{lo, hi};
        }
        const Column c = measureColumn(bytes, delimited(',', "2"));
        ASSERT_EQ(c.outcome, Outcome::Done);
        ASSERT_EQ(c.lines.size(), 1u);
        EXPECT_EQ(c.lines[0].text, "a\xE2\x88\xA2\xE6\x88\xA2\"x");
        EXPECT_EQ(c.widest[0].text, "a\xE2\x88\xA2\xE6\x88\xA2\"x");
    }
}

TEST(HostileCsv, TextAfterAClosingQuoteIsShownAsItIsMeasured)
{
    const Column c = measureColumn("h\n\"ab\"cdefgh\n", delimited(',', "1"));
    ASSERT_EQ(c.outcome, Outcome::Done);
    ASSERT_EQ(c.lines.size(), 1u);
    EXPECT_EQ(c.lines[0].text, "abcdefgh");
    std::int64_t width = 0;
    for (const char ch : std::string("abcdefgh"))
        width += tableWidth(static_cast<unsigned char>(ch));
    EXPECT_EQ(c.lines[0].width, width);
}

// ------------------------------------------------ a CR at the end of a read

TEST(HostileCsv, ACrAtTheEndOfAReadStillCutsAtTheRecordBefore)
{
    const std::string data = "abc\rdef\rghi\r";
    engine::RecordCutter cutter(',', engine::Encoding::Utf8);
    cutter.scan(reinterpret_cast<const unsigned char*>(data.data()), data.size(), false);
    EXPECT_EQ(cutter.lastEnd(), std::optional<std::size_t>(8));  // the last CR may be half a CR LF
}

TEST(HostileCsv, CrAndCrLfRecordsAtEveryBlockSize)
{
    for (const std::string end : {"\r", "\r\n"}) {
        std::string bytes = "h1,h2" + end;
        for (int r = 0; r < 60; ++r)
            bytes += std::to_string(r) + ",\"v" + std::string(static_cast<std::size_t>(r % 7), 'x') + end + "w\"" + end;
        const CsvModel model = csvModel(bytes, ',');
        const std::vector<CsvField> expected = csvColumn(model, 2, true);
        for (std::size_t block = 16; block <= 96; block += 4) {
            SCOPED_TRACE(testing::Message() << "block " << block << (end == "\r" ? ", CR" : ", CR LF"));
            const Column c = measureColumn(bytes, delimited(',', "2"), block, 1 + block % 3);
            ASSERT_EQ(c.outcome, Outcome::Done);
            ASSERT_EQ(c.lines.size(), expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(c.lines[i].width, expected[i].width);
                EXPECT_EQ(c.lines[i].startLine, model.records[i + 1].startLine);
            }
        }
    }
}

TEST(HostileCsv, ALongQuotedRecordIsMeasuredWhole)
{
    // Longer than many reads, quoted throughout: read once, not again
    // from its start with each read.
    std::string bytes = "h\n\"";
    for (int i = 0; i < 20000; ++i)
        bytes += "word, \"\"quoted\"\" \r\n";
    bytes += "\"\nnext\n";
    const Column c = measureColumn(bytes, delimited(',', "1"), 64, 2);
    ASSERT_EQ(c.outcome, Outcome::Done);
    ASSERT_EQ(c.lines.size(), 2u);
    EXPECT_EQ(c.lines[1].startLine, 20003u);
}

}  // namespace
