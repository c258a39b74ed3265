// The 64-byte UTF-8 check, both ways, against the program's one decoder.

#include "Utf8.h"
#include "Utf8Check.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#if defined(__SSE2__)

namespace {

// What the check must answer: every sequence that begins in the 64 bytes
// is valid, or valid as far as the 64 bytes go. The bytes before are whole
// characters, so a continuation byte first is an error. A lead byte last
// of all may go either way: the caller checks that character whole.
std::optional<bool> expected(const unsigned char* p)
{
    for (int i = 0; i < 64;) {
        if (i == 63 && p[i] >= 0xC0)
            return std::nullopt;
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t code;
        const int length = fontview::decodeUtf8Sequence(p + i, p + 64, code);
        if (length < 0)
            return false;
        if (length == 0)
            return true;  // cut short by the end of the 64
        i += length;
    }
    return true;
}

std::string encode(char32_t code)
{
    std::string out;
    fontview::appendUtf8(out, code);
    return out;
}

void expectBothWays(const std::string& text, const std::string& before)
{
    ASSERT_GE(text.size(), 64u);
    ASSERT_EQ(before.size(), 16u);
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* b = reinterpret_cast<const unsigned char*>(before.data());
    const std::optional<bool> want = expected(p);
    if (!want)
        return;
    EXPECT_EQ(engine::utf8check::sse2(p, b), *want) << testing::PrintToString(text.substr(0, 64));
    if (engine::utf8check::hasSsse3()) {
        EXPECT_EQ(engine::utf8check::ssse3(p, b), *want) << testing::PrintToString(text.substr(0, 64));
    }
}

// Characters at every length's edges, and faults of every kind.
const std::vector<std::string> goodPieces = {
    "a", " ", "~", encode(0x80), encode(0x7FF), encode(0x800), encode(0xFFF), encode(0x1000), encode(0xD7FF),
    encode(0xE000), encode(0xFFFD), encode(0xFFFF), encode(0x10000), encode(0x3FFFF), encode(0x40000),
    encode(0x10FFFF), encode(0xE9), encode(0x4E2D), encode(0x1F600)};
const std::vector<std::string> badPieces = {
    "\x80", "\xBF", "\xC0\x80", "\xC1\xBF", "\xC2", "\xE0\x80\x80", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
    "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80", "\xFF",
    "\xE2\x82", "\xF0\x9F\x98", "\xC3\xA9\x80"};

// Each character and each fault among letters, at every place in the 64
// and across their end.
TEST(Utf8Check, EachPieceAtEveryPlace)
{
    const std::string zeros(16, '\0');
    for (const auto* pieces : {&goodPieces, &badPieces}) {
        for (const std::string& piece : *pieces) {
            for (std::size_t at = 0; at < 64; ++at) {
                std::string text = std::string(at, 'a') + piece;
                text += std::string(80 - text.size(), 'b');
                expectBothWays(text, zeros);
            }
        }
    }
}

TEST(Utf8Check, RandomMixturesAgree)
{
    std::mt19937 random(64);
    int invalid = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        while (text.size() < 72) {
            if (random() % 40 == 0)
                text += badPieces[random() % badPieces.size()];
            else
                text += goodPieces[random() % goodPieces.size()];
        }
        // Whole characters before, as the measuring loop gives them.
        std::string before;
        while (before.size() < 16)
            before = goodPieces[random() % goodPieces.size()] + before;
        before = before.substr(before.size() - 16);
        if (before[0] & 0x80 && (before[0] & 0xC0) == 0x80)
            before[0] = 'a';  // only the last 16 bytes count; a cut character reads as a letter
        invalid += expected(reinterpret_cast<const unsigned char*>(text.data())) == false;
        expectBothWays(text, before);
    }
    EXPECT_GT(invalid, 1000);  // the faults were met, not only valid text
}

}  // namespace

#endif
