// Delimited text: one column of a CSV or TSV file, read by RFC 4180's rules,
// measured as its values would be written one per line.

#include "Delimited.h"
#include "MeasureFixture.h"

#include <random>

using namespace fixture;
using engine::Outcome;

namespace {

engine::DelimitedFormat column(std::size_t number, char delimiter = ',', bool header = true)
{
    engine::DelimitedFormat format;
    format.delimiter = delimiter;
    format.columns = {engine::ColumnChoice::byNumber(number)};
    format.header = header;
    return format;
}

engine::DelimitedFormat named(const std::string& name)
{
    engine::DelimitedFormat format;
    format.columns = {engine::ColumnChoice::byText(name)};
    format.semicolonsIfNoCommas = true;
    return format;
}

struct Values {
    Outcome outcome = Outcome::Done;
    std::vector<std::int64_t> widths;
    std::vector<std::uint64_t> startLines;
    std::vector<std::string> texts;
    engine::RecordLayout layout;
    std::uint64_t unclosedQuoteLine = 0;
    engine::Measurement measurement;
};

Values measureValues(const std::string& bytes, const engine::DelimitedFormat& format, unsigned threads = 1,
                     std::size_t blockSize = engine::defaultBlockSize)
{
    TempDir dir;
    Font font;
    engine::MeasureOptions options;
    options.delimited = format;
    options.maxWidth = everyLine;
    options.threads = threads;
    options.blockSize = blockSize;
    const auto result = engine::measure({dir.write(bytes, "data.csv")}, font.widths, options);
    Values v;
    v.outcome = result.outcome;
    v.layout = result.layout;
    v.unclosedQuoteLine = result.unclosedQuoteLine;
    if (result.outcome == Outcome::Done) {
        v.measurement = engine::resolve(result.tally, 0, everyLine);
        for (const engine::WideLine& line : v.measurement.tooWide) {
            v.widths.push_back(line.width);
            v.startLines.push_back(line.startLine);
            v.texts.push_back(line.text);
        }
    }
    return v;
}

std::int64_t width(std::string_view text)
{
    std::int64_t sum = 0;
    for (const char32_t c : modelDecode(std::string(text), engine::Encoding::Utf8))
        sum += widthOf(c);
    return sum;
}

struct RfcCase {
    const char* name;
    std::string bytes;
    std::size_t column;
    std::vector<std::string> values;  // as the field reads, one line each
};

const RfcCase rfcCases[] = {
    {"QuotedComma", "h1,h2\r\n\"Bolivia, Plurinational State of\",x\r\n", 1, {"Bolivia, Plurinational State of"}},
    {"DoubledQuotes", "a,b\n1,\"say \"\"hi\"\"\"\n", 2, {"say \"hi\""}},
    {"QuotedCrLf", "a,b\n1,\"two\r\nlines long\"\n2,x\n", 2, {"lines long", "x"}},
    {"EmptyLastField", "a,b\n1,\n2,zz\n", 2, {"", "zz"}},
    {"ShortRecord", "a,b,c\n1\n2,3,four\n", 3, {"", "four"}},
    {"QuoteInsideUnquotedField", "a,b\n5\" disk,x\n3\" disk,y\n", 1, {"5\" disk", "3\" disk"}},
    {"ByteOrderMarkBeforeHeader", "\xEF\xBB\xBF" "name\nAda\n", 1, {"Ada"}},
    {"CrOnlyRecords", "a,b\r1,one\r2,\"t\rwo\"\r", 2, {"one", "wo"}},
    {"EmptyLineIsAnEmptyValue", "a,b\n\n1,x\n", 2, {"", "x"}},
    {"NoFinalLineEnd", "a\nlast", 1, {"last"}},
    {"TextAfterClosingQuote", "a\n\"ab\"cd\n", 1, {"abcd"}},
    {"DelimiterInsideQuotesOfAnotherColumn", "a,b,c\n\"x,y\",\"1,2,3\",z\n", 3, {"z"}},
};

class RfcRecords : public testing::TestWithParam<RfcCase> {};

TEST_P(RfcRecords, GiveTheFieldOfTheColumn)
{
    const RfcCase& param = GetParam();
    const Values v = measureValues(param.bytes, column(param.column));
    ASSERT_EQ(v.outcome, Outcome::Done);
    std::vector<std::int64_t> expected;
    for (const std::string& value : param.values)
        expected.push_back(width(value));
    EXPECT_EQ(v.widths, expected);
}

INSTANTIATE_TEST_SUITE_P(Files, RfcRecords, testing::ValuesIn(rfcCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Delimited, AMultiLineValueIsAsWideAsItsWidestLine)
{
    const Values v = measureValues("n\n\"short\nthe longest line\r\nmid\"\nx\n", column(1));
    ASSERT_EQ(v.widths.size(), 2u);
    EXPECT_EQ(v.widths[0], width("the longest line"));
    EXPECT_EQ(v.texts[0], "short\nthe longest line\r\nmid");
    // Records are numbered after the header, and start where they start.
    EXPECT_EQ(v.startLines, (std::vector<std::uint64_t>{2, 5}));
    EXPECT_EQ(v.measurement.widest[0].line, 1u);
    EXPECT_EQ(v.measurement.widest[1].line, 2u);
}

TEST(Delimited, WithoutAHeaderTheFirstRecordIsMeasuredToo)
{
    const Values v = measureValues("abc,1\nde,2\n", column(1, ',', false));
    EXPECT_EQ(v.widths, (std::vector<std::int64_t>{width("abc"), width("de")}));
    EXPECT_EQ(v.measurement.widest[0].line, 1u);
}

struct HeaderCase {
    const char* name;
    std::string bytes;
    engine::DelimitedFormat format;
    Outcome outcome;
    std::size_t column;   // found
    char delimiter;
};

const HeaderCase headerCases[] = {
    {"NameExact", "id,Name,name\n1,a,b\n", named("name"), Outcome::Done, 3, ','},
    {"NameIgnoringCase", "id,Name\n1,a\n", named("NAME"), Outcome::Done, 2, ','},
    {"NameUnknown", "id,Name\n1,a\n", named("city"), Outcome::UnknownColumn, 0, ','},
    {"QuotedName", "\"id\",\"full, name\"\n1,a\n", named("full, name"), Outcome::Done, 2, ','},
    {"SemicolonsWithoutCommas", "id;name\n1;a,b\n", named("name"), Outcome::Done, 2, ';'},
    {"CommasWinOverSemicolons", "id,name;x\n1,a\n", named("name;x"), Outcome::Done, 2, ','},
    {"DelimiterGivenOverrides", "id;name\n1;a\n", column(1, ','), Outcome::Done, 1, ','},
    {"Tab", "id\tname\n1\ta\n", column(2, '\t'), Outcome::Done, 2, '\t'},
};

class Headers : public testing::TestWithParam<HeaderCase> {};

TEST_P(Headers, NameTheColumnAndTheDelimiter)
{
    const HeaderCase& param = GetParam();
    const Values v = measureValues(param.bytes, param.format);
    EXPECT_EQ(v.outcome, param.outcome);
    EXPECT_EQ(v.layout.delimiter, param.delimiter);
    if (param.outcome == Outcome::Done)
        EXPECT_EQ(v.layout.columns, std::vector<std::size_t>{param.column});
    else
        EXPECT_FALSE(v.layout.headerNames.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, Headers, testing::ValuesIn(headerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Delimited, AnUnclosedQuoteIsReportedWithItsLine)
{
    const Values v = measureValues("a,b\n1,x\n2,\"never\nclosed,3\n4,y\n", column(2));
    EXPECT_EQ(v.outcome, Outcome::UnclosedQuote);
    EXPECT_EQ(v.unclosedQuoteLine, 3u);
}

TEST(Delimited, Utf16TextIsReadAsMarked)
{
    std::string bytes = "\xFF\xFE";
    for (const char c : std::string("h,v\r\n1,\"a,b\"\r\n"))
        bytes += {c, '\0'};
    const Values v = measureValues(bytes, column(2));
    ASSERT_EQ(v.outcome, Outcome::Done);
    EXPECT_EQ(v.widths, std::vector<std::int64_t>{width("a,b")});
    EXPECT_EQ(v.measurement.encoding, engine::Encoding::Utf16LE);
}

// A column equals the same values one per line: the same distribution,
// whatever the threads and wherever the reads fall, quoted line ends and
// all.
std::string csvField(std::mt19937& random, std::string& plainValue)
{
    static const std::vector<std::string> words = {"caf\xC3\xA9", "a", "Bolivia", "\xE4\xB8\xAD\xE6\x96\x87", "x y",
                                                   "42", "", "\xF0\x9F\x98\x80", "long long long words here"};
    std::string value;
    const int parts = 1 + static_cast<int>(random() % 3);
    bool special = false;
    for (int i = 0; i < parts; ++i) {
        if (i > 0) {
            const int kind = static_cast<int>(random() % 4);
            value += kind == 0 ? "," : kind == 1 ? "\"" : kind == 2 ? "\n" : " ";
            special = special || kind < 3;
        }
        value += words[random() % words.size()];
    }
    plainValue = value;
    if (!special && random() % 2)
        return value;
    std::string quoted = "\"";
    for (const char c : value)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

TEST(Delimited, AColumnEqualsItsValuesOnePerLineWhateverThePieces)
{
    std::mt19937 random(4180);
    for (int round = 0; round < 12; ++round) {
        std::string csv = "id,name,note,city\r\n";
        std::vector<std::string> values;
        for (int record = 0; record < 300; ++record) {
            std::string cells[4], plain[4];
            for (int k = 0; k < 4; ++k)
                cells[k] = csvField(random, plain[k]);
            csv += cells[0] + "," + cells[1] + "," + cells[2] + "," + cells[3] + (round % 2 ? "\r\n" : "\n");
            values.push_back(plain[1]);
        }
        // The expected widths: each value's widest line, as plain text measures lines.
        std::vector<std::int64_t> expected;
        for (const std::string& value : values) {
            std::int64_t widest = 0;
            for (const ModelLine& line : model(value).lines)
                widest = std::max(widest, line.width);
            expected.push_back(widest);
        }
        for (const unsigned threads : {1u, 2u, 3u}) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", threads " << threads);
            const Values v = measureValues(csv, column(2), threads, 64 + 37 * round);
            ASSERT_EQ(v.outcome, Outcome::Done);
            EXPECT_EQ(v.widths, expected);
        }
    }
}

}  // namespace
