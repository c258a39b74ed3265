// Measuring lines: where lines end, how bytes become characters, and that
// neither the number of threads nor where the reads fall changes anything.

#include "MeasureFixture.h"

#include <random>

using namespace fixture;
using engine::Encoding;
using engine::Outcome;

namespace {

const std::int64_t a = tableWidth('a'), b = tableWidth('b'), c = tableWidth('c');

struct LinesCase {
    const char* name;
    std::string bytes;
    std::vector<std::int64_t> widths;
    Encoding encoding = Encoding::Utf8;
};

const LinesCase linesCases[] = {
    {"ThreeLetters", "abc", {a + b + c}},
    {"OneEmptyLine", "\n", {0}},
    {"LeadingSpaceCounts", " a", {tableWidth(' ') + a}},
    {"NoFinalTerminator", "ab\nc", {a + b, c}},
    {"FinalTerminatorAddsNoLine", "ab\nc\n", {a + b, c}},
    {"EmptyLinesCount", "\n\na\n\n", {0, 0, a, 0}},
    {"CrLf", "a\r\nb\r\n", {a, b}},
    {"LoneCr", "a\rb\r", {a, b}},
    {"Mixed", "a\r\n\rb\nc\r", {a, 0, b, c}},
    {"CrThenCrLf", "\r\r\n", {0, 0}},
    {"LfThenCr", "\n\r", {0, 0}},
    {"BomSkipped", "\xEF\xBB\xBF" "ab", {a + b}},
    {"BomThenEmptyLine", "\xEF\xBB\xBF\n", {0}},
    {"BomLaterIsACharacter", "a\xEF\xBB\xBF", {a + otherWidth(0xFEFF)}},
    {"TabAndControlsAskTheFont", std::string("a\tb\x7F\0", 5), {a + otherWidth('\t') + b + otherWidth(0x7F) + otherWidth(0)}},
    {"Utf8TwoThreeFourBytes", "\xC3\xA9\n\xE2\x82\xAC\n\xF0\x9F\x98\x80", {otherWidth(0xE9), otherWidth(0x20AC), otherWidth(0x1F600)}},
    {"LoneHighByteIs1252", "\xE9", {otherWidth(0xE9)}, Encoding::Windows1252},
    {"C1BytesMapTo1252", "\x80\x9F\n\x81\x8D\x8F\x90\x9D",
     {otherWidth(0x20AC) + otherWidth(0x178), otherWidth(0x81) + otherWidth(0x8D) + otherWidth(0x8F) + otherWidth(0x90) + otherWidth(0x9D)},
     Encoding::Windows1252},
    {"InvalidFirstMakesAll1252", "\xFF\n\xC3\xA9", {otherWidth(0xFF), otherWidth(0xC3) + otherWidth(0xA9)}, Encoding::Windows1252},
    {"InvalidLastMakesAll1252", "\xC3\xA9\n\xFF", {otherWidth(0xC3) + otherWidth(0xA9), otherWidth(0xFF)}, Encoding::Windows1252},
    {"InvalidMidLineRecountsTheLine", "\xC3\xA9" "a\xFF\xC3\xA9", {2 * (otherWidth(0xC3) + otherWidth(0xA9)) + a + otherWidth(0xFF)}, Encoding::Windows1252},
    {"TruncatedAtEnd", "a\xE2\x82", {a + otherWidth(0xE2) + otherWidth(0x201A)}, Encoding::Windows1252},
    {"HalfABom", "\xEF\xBB", {otherWidth(0xEF) + otherWidth(0xBB)}, Encoding::Windows1252},
    {"Overlong", "\xC0\xAF", {otherWidth(0xC0) + otherWidth(0xAF)}, Encoding::Windows1252},
    {"Surrogate", "\xED\xA0\x80", {otherWidth(0xED) + otherWidth(0xA0) + otherWidth(0x20AC)}, Encoding::Windows1252},
    {"PastU10FFFF", "\xF4\x90\x80\x80", {otherWidth(0xF4) + otherWidth(0x90) + 2 * otherWidth(0x20AC)}, Encoding::Windows1252},
    {"BomThen1252", "\xEF\xBB\xBF\xE9", {otherWidth(0xE9)}, Encoding::Windows1252},
    {"Utf16LittleEndian", std::string("\xFF\xFE" "a\0b\0\n\0\xE9\0\r\0\n\0c\0", 16), {a + b, otherWidth(0xE9), c}, Encoding::Utf16LE},
    {"Utf16BigEndian", std::string("\xFE\xFF\0a\0\r\0b", 8), {a, b}, Encoding::Utf16BE},
    {"Utf16SurrogatePair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), {otherWidth(0x1F600)}, Encoding::Utf16LE},
    {"Utf16UnpairedSurrogate", std::string("\xFF\xFE\x3D\xD8" "a\0\x00\xDE", 8), {otherWidth(0xD83D) + a + otherWidth(0xDE00)}, Encoding::Utf16LE},
    {"Utf16BigEndianSurrogatePair", std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), {otherWidth(0x1F600)}, Encoding::Utf16BE},
    {"Utf16BigEndianUnpaired", std::string("\xFE\xFF\xD8\x3D\0a\xDE\x00", 8), {otherWidth(0xD83D) + a + otherWidth(0xDE00)}, Encoding::Utf16BE},
    {"Utf16HalfUnitAtEnd", std::string("\xFF\xFE" "a\0b", 5), {a + otherWidth(0xDC00)}, Encoding::Utf16LE},
    {"Utf16OnlyTheMarkIsEmpty", "\xFF\xFE", {}, Encoding::Utf16LE},
};

class MeasureLines : public testing::TestWithParam<LinesCase> {};

TEST_P(MeasureLines, WidthsPerLine)
{
    const LinesCase& param = GetParam();
    Font font;
    const Measured m = measureBytes(param.bytes, font);
    if (param.widths.empty()) {
        EXPECT_EQ(m.outcome, Outcome::EmptyFile);
        return;
    }
    ASSERT_EQ(m.outcome, Outcome::Done);
    EXPECT_EQ(m.lineWidths, param.widths);
    EXPECT_EQ(m.measurement.encoding, param.encoding);
    // The hand-worked widths and the model agree, so the model can be trusted below.
    EXPECT_EQ(modelWidths(model(param.bytes)), param.widths);
    expectModel(m, param.bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, MeasureLines, testing::ValuesIn(linesCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MeasureLines, NoLinesIsEmpty)
{
    for (const std::string bytes : {"", "\xEF\xBB\xBF"}) {
        Font font;
        EXPECT_EQ(measureBytes(bytes, font).outcome, Outcome::EmptyFile) << bytes.size() << " bytes";
    }
}

TEST(MeasureLines, EachCharacterIsAskedOfTheFontOnce)
{
    Font font;
    std::string bytes;
    for (int i = 0; i < 50000; ++i)
        bytes += "\xC3\xA9\t\xE2\x82\xAC\xF0\x9F\x98\x80\n";
    engine::MeasureOptions options;
    options.threads = 4;
    options.blockSize = 4096;
    const Measured m = measureBytes(bytes, font, options);
    const std::int64_t line = otherWidth(0xE9) + otherWidth('\t') + otherWidth(0x20AC) + otherWidth(0x1F600);
    EXPECT_EQ(m.lineWidths, std::vector<std::int64_t>(50000, line));
    // Once each, whatever the threads; the bytes >= 0x80 are also asked
    // for as Windows-1252 characters, in case the file turns out not UTF-8.
    for (const char32_t code : {char32_t{'\t'}, char32_t{0xE9}, char32_t{0x20AC}, char32_t{0x1F600}})
        EXPECT_EQ(font.queried.count(code), 1u) << std::hex << static_cast<std::uint32_t>(code);
}

TEST(MeasureLines, NegativeWidthsAreAdded)
{
    // Negative widths must not be confused with the markers of the fast paths.
    engine::WidthTable table = makeTable();
    table['a' - engine::firstTableCode] = -3;
    const engine::FontWidths widths(table, [](char32_t) { return -7; });
    TempDir dir;
    engine::MeasureOptions options;
    options.maxWidth = everyLine;
    const auto result = engine::measure({dir.write("aa\t\x80\t\x80\nb" + std::string(200, 'a') + "\n")}, widths, options);
    ASSERT_EQ(result.outcome, Outcome::Done);
    const engine::Measurement m = engine::resolve(result.tally, 0, options.maxWidth);
    EXPECT_EQ(m.encoding, Encoding::Windows1252);
    ASSERT_EQ(m.tooWide.size(), 2u);
    EXPECT_EQ(m.tooWide[0].width, -3 - 3 - 7 - 7 - 7 - 7);
    EXPECT_EQ(m.tooWide[1].width, b - 600);
}

// ---------------------------------------------------------------------------
// Where the reads fall: a terminator, a character or a UTF-16 unit split
// between two pieces, with any number of threads.

struct EdgeCase {
    const char* name;
    std::string before;  // repeated up to the edge
    std::string across;  // placed so that it straddles the edge
    std::string after;
};

const EdgeCase edgeCases[] = {
    {"CrLf", "a", "\r\n", "b\r\n"},
    {"LoneCrThenText", "a", "\r", "b"},
    {"LoneCrThenCr", "a", "\r", "\rb"},
    {"LfThenCr", "a", "\n", "\rb"},
    {"TwoByteCharacter", "a", "\xC3\xA9", "b\n"},
    {"ThreeByteCharacter", "a", "\xE2\x82\xAC", "\n"},
    {"FourByteCharacter", "\xC3\xA9", "\xF0\x9F\x98\x80", "b"},
    {"InvalidSequenceSplit", "a", "\xE2\x82" "A", "b\n\xC3\xA9"},
    {"Utf16CrLf", std::string("a\0", 2), std::string("\r\0\n\0", 4), std::string("b\0", 2)},
    {"Utf16Pair", std::string("a\0", 2), std::string("\x3D\xD8\x00\xDE", 4), std::string("\n\0", 2)},
};

class PieceEdges : public testing::TestWithParam<EdgeCase> {};

TEST_P(PieceEdges, GiveTheSameLinesAsTheModel)
{
    const EdgeCase& param = GetParam();
    const bool utf16 = param.before.size() == 2 && param.before[1] == '\0';
    for (const std::size_t blockSize : {16u, 24u, 64u, 200u}) {
        for (std::size_t count = blockSize / param.before.size() - 3; count <= blockSize / param.before.size() + 3;
             ++count) {
            std::string bytes = utf16 ? std::string("\xFF\xFE") : std::string();
            for (std::size_t i = 0; i < count; ++i)
                bytes += param.before;
            bytes += param.across + param.after;
            // Many lines, so every thread gets pieces, then a line far
            // longer than a piece.
            const std::string unit = bytes.substr(utf16 ? 2 : 0);
            for (int i = 0; i < 20; ++i)
                bytes += unit;
            for (std::size_t i = 0; i < 3 * blockSize / param.before.size(); ++i)
                bytes += param.before;
            bytes += param.across;
            for (const unsigned threads : {1u, 2u, 3u}) {
                SCOPED_TRACE(testing::Message() << "block " << blockSize << ", count " << count << ", threads " << threads);
                Font font;
                engine::MeasureOptions options;
                options.threads = threads;
                options.blockSize = blockSize;
                expectModel(measureBytes(bytes, font, options), bytes);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, PieceEdges, testing::ValuesIn(edgeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MeasureLines, LinesLongerThanManyPieces)
{
    Font font;
    const std::size_t first = 3 * engine::defaultBlockSize + 17, second = engine::defaultBlockSize + 5;
    const std::string bytes = std::string(first, 'a') + "\r\n" + std::string(second, 'b');
    const Measured m = measureBytes(bytes, font);
    EXPECT_EQ(m.lineWidths, (std::vector<std::int64_t>{static_cast<std::int64_t>(first) * a,
                                                       static_cast<std::int64_t>(second) * b}));
}

TEST(MeasureLines, InvalidByteInALaterPieceMakesTheWholeFile1252)
{
    for (const unsigned threads : {1u, 2u}) {
        Font font;
        engine::MeasureOptions options;
        options.threads = threads;
        options.blockSize = 64;
        std::string bytes;
        for (int i = 0; i < 200; ++i)
            bytes += "\xC3\xA9 caf\xC3\xA9\n";
        bytes += "\x80\n";
        for (int i = 0; i < 200; ++i)
            bytes += "\xE2\x82\xAC\n";
        const Measured m = measureBytes(bytes, font, options);
        EXPECT_EQ(m.measurement.encoding, Encoding::Windows1252);
        expectModel(m, bytes);
    }
}

// ---------------------------------------------------------------------------
// Random text rich in every kind of edge, against the model.

std::string randomText(std::mt19937& random, std::size_t size, bool utf8Only)
{
    static const std::vector<std::string> pieces = {
        "a", "b", "Z", " ", "\n", "\r", "\r\n", "\t", std::string(1, '\0'), "\x7F", "\xC3\xA9", "\xE2\x82\xAC",
        "\xF0\x9F\x98\x80", "\xCE\xB1\xCE\xB2", "\xE4\xB8\xAD\xE6\x96\x87", "\xEF\xBB\xBF", "abcdefghijklmnopqrstuvwxyz0123456789",
        std::string(70, 'x'), std::string(70, 'x') + "\n"};
    static const std::vector<std::string> broken = {"\x80", "\xFF", "\xC3", "\xE2\x82", "\xED\xA0\x80", "\xC0\xAF", "\xF4\x90"};
    std::string out;
    while (out.size() < size) {
        if (!utf8Only && random() % 400 == 0)
            out += broken[random() % broken.size()];
        else
            out += pieces[random() % pieces.size()];
    }
    return out;
}

TEST(MeasureLines, RandomTextMatchesTheModel)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 60; ++round) {
        const bool utf8Only = round % 3 != 0 || round % 10 == 9;  // UTF-16 is made from valid text
        std::string bytes = randomText(random, 1 + random() % 6000, utf8Only);
        if (round % 10 == 9) {
            // The same text as UTF-16.
            std::u32string text = modelDecode(bytes, Encoding::Utf8);
            bytes = "\xFF\xFE";
            for (char32_t code : text) {
                if (code >= 0x10000) {
                    const char32_t v = code - 0x10000;
                    for (const char32_t unit : {0xD800 + (v >> 10), 0xDC00 + (v & 0x3FF)})
                        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
                } else {
                    bytes += {static_cast<char>(code & 0xFF), static_cast<char>(code >> 8)};
                }
            }
        }
        for (const unsigned threads : {1u, 2u, 4u}) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", threads " << threads);
            Font font;
            engine::MeasureOptions options;
            options.threads = threads;
            options.blockSize = 16 + random() % 300;
            expectModel(measureBytes(bytes, font, options), bytes);
        }
    }
}

// The loop takes 64 bytes at a time while they hold no control
// character; a character may run past those 64, valid or not. Each
// sequence is put at every place around the end of the first 64 and the
// second 64 of a stream, among plain letters; a broken one after valid
// text too.
TEST(MeasureLines, CharactersAcrossTheFastPathsEdges)
{
    const std::vector<std::string> valid = {"\xC3\xA9", "\xDF\xBF", "\xE0\xA0\x80", "\xE2\x82\xAC", "\xED\x9F\xBF",
                                            "\xEE\x80\x80", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"};
    const std::vector<std::string> broken = {"\xC3", "\xC3" "a", "\xE2\x82" "a", "\xF0\x9F\x98" "a", "\xE0\x80\x80",
                                             "\xED\xA0\x80", "\xF0\x80\x80\x80", "\xF4\x90\x80\x80", "\xC1\x81",
                                             "\xF5\x80\x80\x80", "\xFC\x80\x80\x80", "\xBF", "\xC3\xA9\xA9"};
    engine::MeasureOptions options;
    options.threads = 1;
    for (const bool isValid : {true, false}) {
        for (const std::string& sequence : isValid ? valid : broken) {
            for (std::size_t before = 56; before <= 136; before += before == 72 ? 48 : 1) {
                SCOPED_TRACE(testing::Message() << testing::PrintToString(sequence) << " after " << before);
                const std::string line = std::string(before, 'a') + sequence + std::string(70, 'b') + "\n";
                for (const std::string& bytes : {line, "\xC3\xA9\n" + std::string(62, 'c') + line}) {
                    Font font;
                    const Measured m = measureBytes(bytes, font, options);
                    EXPECT_EQ(m.measurement.encoding, isValid ? Encoding::Utf8 : Encoding::Windows1252);
                    expectModel(m, bytes);
                }
            }
        }
    }
}

TEST(MeasureLines, Utf16EqualsTheSameTextInUtf8)
{
    const std::u16string text = u"na\u00EFve caf\u00E9\r\n\u4E2D\u6587 \U0001F600\n\u03B1\u03B2\u03B3";
    std::string utf8, little = "\xFF\xFE", big = "\xFE\xFF";
    for (const char32_t code : modelDecode(std::string(reinterpret_cast<const char*>(text.data()), 2 * text.size()),
                                           Encoding::Utf16LE)) {
        // back to UTF-8 by the model's own characters
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += {static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))};
        } else if (code < 0x10000) {
            utf8 += {static_cast<char>(0xE0 | code >> 12), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                     static_cast<char>(0x80 | (code & 0x3F))};
        } else {
            utf8 += {static_cast<char>(0xF0 | code >> 18), static_cast<char>(0x80 | ((code >> 12) & 0x3F)),
                     static_cast<char>(0x80 | ((code >> 6) & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
        }
    }
    for (const char16_t unit : text) {
        little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    Font font;
    const Measured fromUtf8 = measureBytes(utf8, font);
    const Measured fromLittle = measureBytes(little, font);
    const Measured fromBig = measureBytes(big, font);
    ASSERT_EQ(fromUtf8.lineWidths.size(), 3u);
    EXPECT_EQ(fromLittle.lineWidths, fromUtf8.lineWidths);
    EXPECT_EQ(fromBig.lineWidths, fromUtf8.lineWidths);
    EXPECT_EQ(fromLittle.measurement.encoding, Encoding::Utf16LE);
    EXPECT_EQ(fromBig.measurement.encoding, Encoding::Utf16BE);
    for (std::size_t i = 0; i < fromUtf8.measurement.widest.size(); ++i) {
        EXPECT_EQ(fromLittle.measurement.widest[i].text, fromUtf8.measurement.widest[i].text);
        EXPECT_EQ(fromBig.measurement.widest[i].text, fromUtf8.measurement.widest[i].text);
    }
}

// As check mode does: the first 4096 characters, then "…" when there are more.
TEST(MeasureLines, WidestLinesKeepTheFirst4096Characters)
{
    Font font;
    std::string longLine, fullLine;
    for (int i = 0; i < 5000; ++i)
        longLine += "\xC3\xA9";  // 5000 characters, 10000 bytes
    for (int i = 0; i < 4096; ++i)
        fullLine += "\xC3\xA9";
    const Measured m = measureBytes("short\n" + longLine + "\n" + fullLine + "\n", font);
    ASSERT_EQ(m.measurement.widest.size(), 3u);
    EXPECT_EQ(m.measurement.widest[0].line, 2u);
    EXPECT_EQ(m.measurement.widest[0].text, longLine.substr(0, 2 * 4096) + "\xE2\x80\xA6");
    EXPECT_EQ(m.measurement.widest[1].text, fullLine);  // exactly 4096: whole, no mark
    EXPECT_EQ(m.measurement.widest[2].text, "short");
}

TEST(MeasureLines, CheckModeKeepsTheLinesOverTheLimitInOrder)
{
    Font font;
    engine::MeasureOptions options;
    options.maxWidth = 3 * a;
    options.threads = 2;
    options.blockSize = 16;
    std::string bytes;
    std::vector<std::uint64_t> wide;
    for (int i = 1; i <= 300; ++i) {
        bytes += std::string(static_cast<std::size_t>(i % 5), 'a') + "\n";
        if (i % 5 == 4)
            wide.push_back(static_cast<std::uint64_t>(i));
    }
    const Measured m = measureBytes(bytes, font, options);
    std::vector<std::uint64_t> lines;
    for (const engine::WideLine& line : m.measurement.tooWide) {
        lines.push_back(line.line);
        EXPECT_EQ(line.width, 4 * a);
        EXPECT_EQ(line.text, "aaaa");
    }
    EXPECT_EQ(lines, wide);

    // A line longer than the 4096 characters shown ends in an ellipsis.
    options.maxWidth = 0;
    const Measured huge = measureBytes(std::string(5000, 'b') + "\nb\n", font, options);
    ASSERT_EQ(huge.measurement.tooWide.size(), 2u);
    EXPECT_EQ(huge.measurement.tooWide[0].text, std::string(4096, 'b') + "\xE2\x80\xA6");
    EXPECT_EQ(huge.measurement.tooWide[1].text, "b");
}

}  // namespace
