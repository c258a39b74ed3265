// One grammar for delimited text: the faster ways of finding where records
// end, of reading the first record and of taking a field's text give what
// walking the transition function one character at a time gives.

#include "CsvGrammar.h"
#include "CsvModel.h"
#include "CsvText.h"
#include "Delimited.h"
#include "RandomText.h"
#include "RecordCutter.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fixture;
using engine::Encoding;
namespace csv = engine::csv;

namespace {

// Where records end by the transition function alone: just after each
// record's line end, the LF of a CR LF included. atEnd false: a CR as the
// last byte may still be half of a CR LF, so its end is not yet known.
std::vector<std::size_t> grammarEnds(std::string_view s, char delimiter, bool atEnd)
{
    const csv::Classes classes(delimiter);
    csv::State state = csv::State::FieldStart;
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const csv::Step step = csv::step(state, classes.of(static_cast<unsigned char>(s[i])));
        if (step.action == csv::Action::EndRecord)
            ends.push_back(i + 1);
        else if (step.action == csv::Action::EndRest)
            ends.back() = i + 1;
        state = step.next;
    }
    if (!atEnd && !ends.empty() && ends.back() == s.size() && state == csv::State::AfterCR)
        ends.pop_back();
    return ends;
}

std::optional<std::size_t> lastOf(const std::vector<std::size_t>& ends)
{
    return ends.empty() ? std::nullopt : std::optional<std::size_t>(ends.back());
}
std::optional<std::size_t> firstOf(const std::vector<std::size_t>& ends)
{
    return ends.empty() ? std::nullopt : std::optional<std::size_t>(ends.front());
}

// Scans data as reads would bring it, split at the given places, and
// checks the cutter against the grammar after each.
void expectCutterAgrees(const std::string& data, char delimiter, const std::vector<std::size_t>& splits)
{
    engine::RecordCutter cutter(delimiter, Encoding::Utf8);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    for (const std::size_t size : splits) {
        cutter.scan(bytes, size, false);
        const std::vector<std::size_t> ends = grammarEnds(std::string_view(data).substr(0, size), delimiter, false);
        ASSERT_EQ(cutter.lastEnd(), lastOf(ends)) << "after " << size << " bytes of " << testing::PrintToString(data);
        ASSERT_EQ(cutter.firstEnd(), firstOf(ends)) << "after " << size << " bytes of " << testing::PrintToString(data);
    }
    cutter.scan(bytes, data.size(), true);
    ASSERT_EQ(cutter.lastEnd(), lastOf(grammarEnds(data, delimiter, true))) << testing::PrintToString(data);
}

TEST(CsvGrammar, TheCutterFindsTheRecordEndsOfEveryShortInput)
{
    // Every string of up to five of these bytes, set where the 64-byte
    // blocks of the fast path begin and end, read in two parts.
    const std::string alphabet = "a,\"\r\n;";
    const std::vector<std::size_t> leads = {0, 1, 61, 63};
    std::string s;
    std::size_t checked = 0;
    for (std::size_t length = 0; length <= 5; ++length) {
        std::size_t total = 1;
        for (std::size_t k = 0; k < length; ++k)
            total *= alphabet.size();
        for (std::size_t n = 0; n < total; ++n) {
            s.clear();
            for (std::size_t k = 0, rest = n; k < length; ++k, rest /= alphabet.size())
                s += alphabet[rest % alphabet.size()];
            for (const std::size_t lead : leads) {
                // A record before, so the string begins one; text after.
                std::string data = lead == 0 ? std::string() : std::string(lead - 1, 'x') + "\n";
                data += s;
                data.append(150 - data.size(), 'y');
                data += "\"\n";  // the file's end finds every quote closed or not
                std::vector<std::size_t> splits = {lead, lead + length / 2, 64, 65, 128};
                std::sort(splits.begin(), splits.end());
                expectCutterAgrees(data, ',', splits);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 35000u);
}

TEST(CsvGrammar, TheCutterAgreesOnLongRandomText)
{
    RandomText random(64);
    for (int round = 0; round < 400; ++round) {
        const char delimiter = ",;\t|"[round % 4];
        const std::string data = random.records(3 + round % 30, delimiter, round % 2 == 0);
        std::vector<std::size_t> splits;
        for (std::size_t at = random.below(70); at < data.size(); at += 1 + random.below(200))
            splits.push_back(at);
        expectCutterAgrees(data, delimiter, splits);
    }
}

TEST(CsvGrammar, TheCutterReadsUtf16ByTheSameRules)
{
    RandomText random(16);
    for (int round = 0; round < 100; ++round) {
        const bool big = round % 2 == 1;
        const std::string text = random.records(5, ',', true);
        const std::string data = toUtf16(text, big).substr(2);
        engine::RecordCutter cutter(',', big ? Encoding::Utf16BE : Encoding::Utf16LE);
        cutter.scan(reinterpret_cast<const unsigned char*>(data.data()), data.size(), true);
        // Records end at the same characters, each two bytes wide.
        const std::vector<std::size_t> ends = grammarEnds(text, ',', true);
        std::size_t units = 0, at = 0;
        std::optional<std::size_t> expected;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto lead = static_cast<unsigned char>(text[i]);
            if (lead < 0x80 || lead >= 0xC0)
                units += lead >= 0xF0 ? 2 : 1;
            if (at < ends.size() && ends[at] == i + 1)
                expected = 2 * units, ++at;
        }
        EXPECT_EQ(cutter.lastEnd(), expected) << round;
    }
}

// The first record, as the header reader splits it, against the model.
TEST(CsvGrammar, TheHeaderIsReadByTheRecordsRules)
{
    RandomText random(1);
    for (int round = 0; round < 300; ++round) {
        const char delimiter = ",;\t|"[round % 4];
        const std::string text = random.records(2, delimiter, round % 3 == 0);
        const std::size_t length =
            *csv::firstRecordLength(reinterpret_cast<const unsigned char*>(text.data()), text.size(), Encoding::Utf8,
                                    delimiter, true);
        const engine::HeaderRecord header = engine::readHeaderRecord(text.substr(0, length), Encoding::Utf8, delimiter);
        const CsvModel expected = csvModel(text, delimiter);
        if (expected.unclosedQuoteLine == 1)
            continue;
        const std::vector<CsvField>& fields = expected.records.front().fields;
        ASSERT_EQ(header.names.size(), fields.size()) << testing::PrintToString(text);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            std::string name;
            for (const char32_t c : fields[i].text)
                fontview::appendUtf8(name, c);
            EXPECT_EQ(header.names[i], name) << testing::PrintToString(text);
        }
    }
}

struct DelimiterCase {
    const char* name;
    std::string record;
    char delimiter;
};

// A .csv file's first record, read as comma-delimited, chooses.
const DelimiterCase delimiterCases[] = {
    {"CommasOnly", "a,b", ','},
    {"SemicolonsOnly", "a;b", ';'},
    {"CommasWinOverSemicolons", "a,b;c", ','},
    {"QuotedCommaIsNoComma", "\"a,b\";c", ';'},
    {"QuotedSemicolonIsNoSemicolon", "\"a;b\"", ','},
    {"StrayQuoteOpensNothing", "size 5\";name;code", ';'},
    {"QuoteAfterSemicolonOpensNothing", "a;\"b,c\"", ','},
    {"SemicolonAfterClosingQuote", "\"a\";b", ';'},
    {"Neither", "abc", ','},
};

class Delimiters : public testing::TestWithParam<DelimiterCase> {};

TEST_P(Delimiters, ChosenByTheFirstRecordAsCommas)
{
    engine::DelimitedFormat format;
    format.semicolonsIfNoCommas = true;
    EXPECT_EQ(engine::delimiterFor(GetParam().record, Encoding::Utf8, format), GetParam().delimiter);
    bool semicolons = false;
    const CsvModel asCommas = csvRead(fontview::decodeUtf8(GetParam().record), ',', &semicolons);
    const bool commas = asCommas.records.front().fields.size() > 1;
    EXPECT_EQ(!commas && semicolons ? ';' : ',', GetParam().delimiter) << "the model disagrees";
}

INSTANTIATE_TEST_SUITE_P(Records, Delimiters, testing::ValuesIn(delimiterCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct FieldCase {
    const char* name;
    std::string bytes;  // the field as written, up to its delimiter
    std::string text;
};

const FieldCase fieldCases[] = {
    {"Plain", "abc", "abc"},
    {"Quoted", "\"a,b\"", "a,b"},
    {"DoubledQuote", "\"say \"\"hi\"\"\"", "say \"hi\""},
    {"LineBreaksKept", "\"a\r\nb\rc\"", "a\r\nb\rc"},
    {"TextAfterTheClosingQuote", "\"ab\"cdefgh", "abcdefgh"},
    {"QuoteInsideUnquoted", "5\" screen", "5\" screen"},
    {"QuotesAfterClosingAreText", "\"a\"b\"c", "ab\"c"},
    {"Empty", "", ""},
    {"EmptyQuoted", "\"\"", ""},
};

class FieldTexts : public testing::TestWithParam<FieldCase> {};

TEST_P(FieldTexts, AsTheGrammarReadsThem)
{
    const FieldCase& c = GetParam();
    const auto* begin = reinterpret_cast<const unsigned char*>(c.bytes.data());
    EXPECT_EQ(csv::fieldText(begin, begin + c.bytes.size(), Encoding::Utf8, ',', 1000), c.text);
    // UTF-16, either way round: quotes and all are code units, not bytes.
    for (const bool big : {false, true}) {
        const std::string units = toUtf16(c.bytes, big).substr(2);
        const auto* p = reinterpret_cast<const unsigned char*>(units.data());
        EXPECT_EQ(csv::fieldText(p, p + units.size(), big ? Encoding::Utf16BE : Encoding::Utf16LE, ',', 1000),
                  toUtf16(c.text, big).substr(2));
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, FieldTexts, testing::ValuesIn(fieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvGrammar, AQuoteByteInsideAUtf16CharacterIsNoQuote)
{
    // U+2222 is 22 22 in either order, U+6222 is 22 62 little-endian.
    const std::string field = "\"a\xE2\x88\xA2\xE6\x88\xA2" "bc\"";
    const std::string units = toUtf16(field, false).substr(2);
    const auto* p = reinterpret_cast<const unsigned char*>(units.data());
    EXPECT_EQ(csv::fieldText(p, p + units.size(), Encoding::Utf16LE, ',', 1000),
              toUtf16("a\xE2\x88\xA2\xE6\x88\xA2" "bc", false).substr(2));
}

}  // namespace
