#include "LineMeasurer.h"
#include "LineScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <random>
#include <set>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using engine::Encoding;
using engine::MeasureStatus;
using engine::scan::blockSize;

// Table code k is k - 31 wide (1..95); any other character is 1000 + its
// code, so a wrong decoding shows up as a wrong sum.
std::int64_t tableWidth(char c) { return static_cast<unsigned char>(c) - 31; }
std::int64_t otherWidth(char32_t code) { return 1000 + static_cast<std::int64_t>(code); }

struct Widths {
    std::multiset<char32_t> queried;
    engine::CharWidths widths{makeTable(), [this](char32_t code) {
                                  queried.insert(code);
                                  return static_cast<std::int32_t>(otherWidth(code));
                              }};

    static engine::WidthTable makeTable()
    {
        engine::WidthTable table;
        for (int k = engine::firstTableCode; k <= engine::lastTableCode; ++k)
            table[k - engine::firstTableCode] = k - 31;
        return table;
    }
};

class TempDir {
public:
    TempDir()
    {
        static int serial = 0;
        path_ = fs::temp_directory_path() / ("spanwick-lines-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }

    std::string write(const std::string& bytes, const std::string& name = "data.txt") const
    {
        const fs::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }
    std::string path() const { return path_.string(); }

private:
    fs::path path_;
};

engine::MeasureResult measure(const std::string& bytes, Widths& widths, const engine::ProgressHook& hook = {})
{
    TempDir dir;
    return engine::measureFile(dir.write(bytes), widths.widths, hook);
}

void expectLines(const engine::MeasureResult& result, const std::vector<std::int64_t>& expected)
{
    ASSERT_EQ(result.status, MeasureStatus::Ok);
    const auto& data = result.data;
    EXPECT_EQ(data.LineCount, expected.size());
    EXPECT_EQ(data.LineWidths, expected);
    EXPECT_EQ(data.TotalWidth, std::accumulate(expected.begin(), expected.end(), std::int64_t{0}));
    EXPECT_EQ(data.MinWidth, *std::min_element(expected.begin(), expected.end()));
    EXPECT_EQ(data.MaxWidth, *std::max_element(expected.begin(), expected.end()));
}

// ---------------------------------------------------------------------------
// Small files: line splitting, the byte-order mark, decoding.

struct LinesCase {
    const char* name;
    std::string bytes;
    std::vector<std::int64_t> widths;
    Encoding encoding = Encoding::Utf8;
};

std::int64_t asciiSum(std::string_view text)
{
    std::int64_t sum = 0;
    for (const char ch : text)
        sum += tableWidth(ch);
    return sum;
}

const std::int64_t a = tableWidth('a'), b = tableWidth('b'), c = tableWidth('c');

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
    {"InvalidAnywhereMakesAll1252", "\xC3\xA9\n\xFF", {otherWidth(0xC3) + otherWidth(0xA9), otherWidth(0xFF)}, Encoding::Windows1252},
    {"TruncatedAtEnd", "a\xE2\x82", {a + otherWidth(0xE2) + otherWidth(0x201A)}, Encoding::Windows1252},
    {"HalfABom", "\xEF\xBB", {otherWidth(0xEF) + otherWidth(0xBB)}, Encoding::Windows1252},
    {"Overlong", "\xC0\xAF", {otherWidth(0xC0) + otherWidth(0xAF)}, Encoding::Windows1252},
    {"Surrogate", "\xED\xA0\x80", {otherWidth(0xED) + otherWidth(0xA0) + otherWidth(0x20AC)}, Encoding::Windows1252},
    {"PastU10FFFF", "\xF4\x90\x80\x80", {otherWidth(0xF4) + otherWidth(0x90) + 2 * otherWidth(0x20AC)}, Encoding::Windows1252},
    {"BomThen1252", "\xEF\xBB\xBF\xE9", {otherWidth(0xE9)}, Encoding::Windows1252},
};

class MeasureLines : public testing::TestWithParam<LinesCase> {};

TEST_P(MeasureLines, WidthsPerLine)
{
    Widths widths;
    const auto result = measure(GetParam().bytes, widths);
    expectLines(result, GetParam().widths);
    EXPECT_EQ(result.data.encoding, GetParam().encoding);
}

INSTANTIATE_TEST_SUITE_P(Files, MeasureLines, testing::ValuesIn(linesCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MeasureFile, NoLinesIsEmpty)
{
    for (const std::string bytes : {"", "\xEF\xBB\xBF"}) {
        Widths widths;
        const auto result = measure(bytes, widths);
        EXPECT_EQ(result.status, MeasureStatus::Empty) << bytes.size() << " bytes";
        EXPECT_EQ(result.data.LineCount, 0u);
    }
}

TEST(MeasureFile, EachCharacterQueriedOnce)
{
    Widths widths;
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += "\xC3\xA9\t\xE2\x82\xAC\xF0\x9F\x98\x80\n";
    const auto result = measure(bytes, widths);
    const std::int64_t line = otherWidth(0xE9) + otherWidth('\t') + otherWidth(0x20AC) + otherWidth(0x1F600);
    expectLines(result, std::vector<std::int64_t>(5000, line));
    EXPECT_EQ(widths.queried, (std::multiset<char32_t>{'\t', 0xE9, 0x20AC, 0x1F600}));
}

TEST(MeasureFile, NegativeWidthsAreAdded)
{
    // Negative widths must not be confused with the markers of the fast path.
    engine::WidthTable table = Widths::makeTable();
    table['a' - engine::firstTableCode] = -3;
    int queries = 0;
    engine::CharWidths widths(table, [&](char32_t) { return ++queries, -7; });
    TempDir dir;
    const auto result = engine::measureFile(dir.write("aa\t\x80\t\x80\nb"), widths);
    EXPECT_EQ(result.data.encoding, Encoding::Windows1252);
    expectLines(result, {-3 - 3 - 7 - 7 - 7 - 7, b});
    EXPECT_EQ(queries, 2);
}

// ---------------------------------------------------------------------------
// Block boundaries: a terminator or a character split between two reads.

struct BoundaryCase {
    const char* name;
    std::string separator;   // placed so its first byte falls around the block end
    std::string after;
    std::int64_t separatorWidth;           // added to the first line
    std::vector<std::int64_t> tailWidths;  // the lines after the first
};

const BoundaryCase boundaryCases[] = {
    {"CrLf", "\r\n", "b\r\n", 0, {b}},
    {"LoneCrThenText", "\r", "b", 0, {b}},
    {"LoneCrThenCr", "\r", "\rb", 0, {0, b}},
    {"LfThenCr", "\n", "\rb", 0, {0, b}},
    {"Utf8Character", "\xF0\x9F\x98\x80\n", "b", otherWidth(0x1F600), {b}},
};

class BlockBoundary : public testing::TestWithParam<BoundaryCase> {};

TEST_P(BlockBoundary, SplitAnywhere)
{
    const auto& param = GetParam();
    for (std::size_t before = blockSize - 5; before <= blockSize + 1; ++before) {
        Widths widths;
        const std::string bytes = std::string(before, 'a') + param.separator + param.after;
        std::vector<std::int64_t> expected{static_cast<std::int64_t>(before) * a + param.separatorWidth};
        expected.insert(expected.end(), param.tailWidths.begin(), param.tailWidths.end());
        SCOPED_TRACE(before);
        const auto result = measure(bytes, widths);
        expectLines(result, expected);
        EXPECT_EQ(result.data.encoding, Encoding::Utf8);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BlockBoundary, testing::ValuesIn(boundaryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MeasureFile, LinesLongerThanABlock)
{
    Widths widths;
    const std::size_t first = 3 * blockSize + 17, second = blockSize + blockSize / 2;
    const auto result = measure(std::string(first, 'a') + "\r\n" + std::string(second, 'b'), widths);
    expectLines(result, {static_cast<std::int64_t>(first) * a, static_cast<std::int64_t>(second) * b});
}

TEST(MeasureFile, InvalidByteInALaterBlockMakesWholeFile1252)
{
    Widths widths;
    const auto result = measure("\xC3\xA9\n" + std::string(blockSize, 'a') + "\n\x80", widths);
    expectLines(result, {otherWidth(0xC3) + otherWidth(0xA9), static_cast<std::int64_t>(blockSize) * a, otherWidth(0x20AC)});
    EXPECT_EQ(result.data.encoding, Encoding::Windows1252);
}

TEST(MeasureFile, SequenceCutByEndAfterBlockBoundary)
{
    Widths widths;
    const auto result = measure(std::string(blockSize - 1, 'a') + "\xE2\x82", widths);
    expectLines(result, {static_cast<std::int64_t>(blockSize - 1) * a + otherWidth(0xE2) + otherWidth(0x201A)});
    EXPECT_EQ(result.data.encoding, Encoding::Windows1252);
}

// The vectorised counter against the portable one, on random bytes rich in
// terminators, split in two calls at every kind of offset.
TEST(CountTerminators, MatchesPortable)
{
    std::mt19937 random(42);
    const unsigned char alphabet[] = {'\r', '\n', 'a', 0x80};
    for (int round = 0; round < 400; ++round) {
        const std::size_t size = round < 300 ? random() % 300 : random() % 20000;
        std::vector<unsigned char> bytes(size);
        for (auto& byte : bytes)
            byte = round % 7 == 0 ? (random() % 2 ? '\r' : '\n') : alphabet[random() % (round % 2 ? 3 : 4)];
        const std::size_t split = size == 0 ? 0 : random() % size;
        engine::scan::TerminatorCounts fast, portable;
        bool fastHigh = engine::scan::countTerminators(bytes.data(), split, fast);
        fastHigh |= engine::scan::countTerminators(bytes.data() + split, size - split, fast);
        bool portableHigh = engine::scan::countTerminatorsPortable(bytes.data(), split, portable);
        portableHigh |= engine::scan::countTerminatorsPortable(bytes.data() + split, size - split, portable);
        SCOPED_TRACE(round);
        EXPECT_EQ(fast.lf, portable.lf);
        EXPECT_EQ(fast.cr, portable.cr);
        EXPECT_EQ(fast.crlf, portable.crlf);
        EXPECT_EQ(fast.lastWasCR, portable.lastWasCR);
        EXPECT_EQ(fastHigh, portableHigh);
    }
}

TEST(CountTerminators, CrLfAtEveryOffset)
{
    // One pair in plain text: it may straddle two vectors, two words or two calls.
    for (std::size_t at = 0; at < 200; ++at) {
        std::string bytes(260, 'a');
        bytes[at] = '\r', bytes[at + 1] = '\n';
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
        for (const std::size_t split : {std::size_t{0}, at + 1, std::size_t{128}}) {
            for (const auto count : {engine::scan::countTerminators, engine::scan::countTerminatorsPortable}) {
                engine::scan::TerminatorCounts counts;
                count(data, split, counts);
                count(data + split, bytes.size() - split, counts);
                EXPECT_EQ(counts.crlf, 1u) << "at " << at << ", split " << split;
                EXPECT_EQ(counts.terminators(), 1u) << "at " << at << ", split " << split;
            }
        }
    }
}

TEST(CountTerminators, ManyTerminatorsInARow)
{
    // More than the 255 a byte counter holds between flushes.
    for (const std::string unit : {"\n", "\r", "\r\n"}) {
        std::string bytes;
        for (int i = 0; i < 10000; ++i)
            bytes += unit;
        for (const auto count : {engine::scan::countTerminators, engine::scan::countTerminatorsPortable}) {
            engine::scan::TerminatorCounts counts;
            count(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), counts);
            EXPECT_EQ(counts.terminators(), 10000u) << unit.size();
        }
    }
}

// Random text built from pieces of known width, with every kind of line
// end, so chunks, single bytes and block ends meet in all combinations.
TEST(MeasureFile, RandomMixedText)
{
    struct Piece {
        std::string bytes;
        std::int64_t width;
    };
    const Piece pieces[] = {
        {"a", a},
        {"bc", b + c},
        {"The quick brown fox ", asciiSum("The quick brown fox ")},
        {"\xC3\xA9", otherWidth(0xE9)},
        {"\xD0\x96", otherWidth(0x416)},
        {"\xE6\x9D\xB1", otherWidth(0x6771)},
        {"\xED\x95\x9C", otherWidth(0xD55C)},
        {"\xE0\xA4\x85", otherWidth(0x905)},
        {"\xF0\x9F\x99\x82", otherWidth(0x1F642)},
        {"\xF4\x8F\xBF\xBF", otherWidth(0x10FFFF)},
        {"\t", otherWidth('\t')},
    };
    const char* const ends[] = {"\n", "\r\n", "\r"};
    std::mt19937 random(7);
    std::string bytes;
    std::vector<std::int64_t> expected;
    while (bytes.size() < 2 * blockSize + 5000) {
        const std::size_t lineStart = bytes.size();
        std::int64_t width = 0;
        const std::size_t count = random() % 3 == 0 ? random() % 400 : random() % 30;
        for (std::size_t i = 0; i < count; ++i) {
            const Piece& piece = random() % 4 != 0 ? pieces[random() % 3]  // mostly ASCII, as most text is
                : random() % 8 != 0                ? pieces[3 + random() % 7]
                                                   : pieces[10];  // the odd tab
            bytes += piece.bytes;
            width += piece.width;
        }
        // A lone CR, then an empty line ending in LF, would be one CR LF.
        const bool afterLoneCr = lineStart > 0 && bytes[lineStart - 1] == '\r';
        bytes += ends[afterLoneCr && bytes.size() == lineStart ? 1 + random() % 2 : random() % 3];
        expected.push_back(width);
    }
    Widths widths;
    const auto result = measure(bytes, widths);
    expectLines(result, expected);
    EXPECT_EQ(result.data.encoding, Encoding::Utf8);
}

// The vector check and the state machine against the plain decoder, on
// random byte strings near valid UTF-8, fed in up to three pieces.
TEST(Utf8Checker, AgreesWithDecoder)
{
    const std::string pieces[] = {
        "abcdefghijklmnopqrstuvwxyz0123456789", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xEF\xBF\xBF",
        "\xED\x9F\xBF", "\xEE\x80\x80", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF",
        // Wrong: overlong, surrogate, past U+10FFFF, stray or missing continuations, never-valid bytes.
        "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\x80", "\xBF",
        "\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xF5\x80\x80\x80", "\xFF",
    };
    const auto reference = [](const std::string& text) {
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        const auto* end = p + text.size();
        while (p < end) {
            char32_t code;
            const int length = *p < 0x80 ? 1 : engine::scan::decodeUtf8(p, end, code);
            if (length <= 0)
                return false;
            p += length;
        }
        return true;
    };
    std::mt19937 random(11);
    int valid = 0;
    for (int round = 0; round < 3000; ++round) {
        // Valid pieces, and in half the rounds one wrong piece among them.
        std::string text;
        const std::size_t count = 1 + random() % 40;
        const std::size_t wrongAt = round % 2 == 0 ? random() % count : count;
        for (std::size_t i = 0; i < count; ++i)
            text += pieces[i == wrongAt ? 9 + random() % 12 : random() % 9];
        const auto* data = reinterpret_cast<const unsigned char*>(text.data());
        std::size_t cut1 = random() % (text.size() + 1), cut2 = random() % (text.size() + 1);
        if (cut1 > cut2)
            std::swap(cut1, cut2);
        engine::scan::Utf8Checker checker;
        checker.feed(data, cut1);
        checker.feed(data + cut1, cut2 - cut1);
        checker.feed(data + cut2, text.size() - cut2);
        const bool expected = reference(text);
        valid += expected;
        EXPECT_EQ(checker.complete(), expected) << testing::PrintToString(text) << " cut at " << cut1 << ", " << cut2;
    }
    EXPECT_EQ(valid, 1500);  // every wrong piece is wrong wherever it lands
}

// ---------------------------------------------------------------------------
// Errors, cancelling and a file that changes between the passes.

TEST(MeasureFile, CannotRead)
{
    TempDir dir;
    Widths widths;
    const auto missing = engine::measureFile(dir.path() + "/missing.txt", widths.widths);
    EXPECT_EQ(missing.status, MeasureStatus::CannotRead);
    EXPECT_NE(missing.reason.find("No such file"), std::string::npos) << missing.reason;

    const auto directory = engine::measureFile(dir.path(), widths.widths);
    EXPECT_EQ(directory.status, MeasureStatus::CannotRead);
    EXPECT_EQ(directory.reason, "Is a directory");

    if (::geteuid() != 0) {  // root reads anything
        const std::string locked = dir.write("abc\n", "locked.txt");
        fs::permissions(locked, fs::perms::none);
        const auto denied = engine::measureFile(locked, widths.widths);
        EXPECT_EQ(denied.status, MeasureStatus::CannotRead);
        EXPECT_EQ(denied.reason, "Permission denied");
    }
}

TEST(MeasureFile, ProgressStartsEachPass)
{
    Widths widths;
    std::vector<engine::Progress> calls;
    const std::string bytes = "ab\ncd\n";
    const auto result = measure(bytes, widths, [&](const engine::Progress& p) { return calls.push_back(p), true; });
    EXPECT_EQ(result.status, MeasureStatus::Ok);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front().pass, 1);
    EXPECT_EQ(calls.back().pass, 2);
    for (const auto& call : calls) {
        EXPECT_EQ(call.bytesTotal, bytes.size());
        EXPECT_LE(call.bytesDone, call.bytesTotal);
    }
}

TEST(MeasureFile, CancelledByHook)
{
    for (const int stopAt : {1, 2}) {
        Widths widths;
        const auto result = measure("ab\ncd\n", widths, [&](const engine::Progress& p) { return p.pass != stopAt; });
        EXPECT_EQ(result.status, MeasureStatus::Cancelled) << "pass " << stopAt;
        EXPECT_TRUE(result.data.LineWidths.empty());
    }
}

struct ChangeCase {
    const char* name;
    std::function<void(const std::string& path)> change;
};

const ChangeCase changeCases[] = {
    {"LinesAppended", [](const std::string& path) { std::ofstream(path, std::ios::app) << "more\nand more\n"; }},
    {"Truncated", [](const std::string& path) { fs::resize_file(path, 3); }},
    // These two keep the line count: only the decoding notices.
    {"NoLongerUtf8", [](const std::string& path) { std::fstream(path, std::ios::in | std::ios::out).seekp(10) << "\xFF"; }},
    {"EndsInsideASequence", [](const std::string& path) { fs::resize_file(path, fs::file_size(path) - 2); }},
};

class ChangedBetweenPasses : public testing::TestWithParam<ChangeCase> {};

TEST_P(ChangedBetweenPasses, Detected)
{
    // The hook runs at the start of pass 2: the moment to change the file.
    TempDir dir;
    const std::string path = dir.write("ab\ncd\nef\n\xC3\xA9\n");
    Widths widths;
    const auto result = engine::measureFile(path, widths.widths, [&](const engine::Progress& p) {
        if (p.pass == 2 && p.bytesDone == 0)
            GetParam().change(path);
        return true;
    });
    EXPECT_EQ(result.status, MeasureStatus::Changed);
}

INSTANTIATE_TEST_SUITE_P(Files, ChangedBetweenPasses, testing::ValuesIn(changeCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
