// The one UTF-8 decoder, and its fast path for sequences already checked.

#include "Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string encode(char32_t code)
{
    std::string out;
    fontview::appendUtf8(out, code);
    return out;
}

// Every scalar value: the decoder reads back what was encoded, and the
// fast path agrees with it to the last bit.
TEST(Utf8, FastPathAgreesWithTheDecoderOnEveryCharacter)
{
    for (char32_t code = 0x80; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF)
            continue;
        const std::string bytes = encode(code) + std::string(3, '\0');  // the fast path may read past the sequence
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        char32_t decoded = 0;
        const int length = fontview::decodeUtf8Sequence(p, p + bytes.size() - 3, decoded);
        unsigned fastLength = 0;
        const char32_t fast = fontview::decodeCheckedUtf8Sequence(p, fastLength);
        ASSERT_EQ(decoded, code);
        ASSERT_EQ(fast, code);
        ASSERT_EQ(static_cast<unsigned>(length), fastLength);
    }
}

struct Refused {
    const char* name;
    std::string bytes;
    int result;  // 0: cut short by the end, -1: not UTF-8
};

class Utf8Refuses : public testing::TestWithParam<Refused> {};

TEST_P(Utf8Refuses, WhatIsNotUtf8)
{
    const auto& bytes = GetParam().bytes;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    char32_t code;
    EXPECT_EQ(fontview::decodeUtf8Sequence(p, p + bytes.size(), code), GetParam().result);
    EXPECT_FALSE(fontview::isUtf8(bytes));
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8Refuses,
                         testing::Values(Refused{"StrayContinuation", "\x80", -1}, Refused{"OverlongTwo", "\xC0\xAF", -1},
                                         Refused{"OverlongThree", "\xE0\x9F\xBF", -1},
                                         Refused{"OverlongFour", "\xF0\x8F\xBF\xBF", -1},
                                         Refused{"Surrogate", "\xED\xA0\x80", -1},
                                         Refused{"PastU10FFFF", "\xF4\x90\x80\x80", -1},
                                         Refused{"LeadF5", "\xF5\x80\x80\x80", -1},
                                         Refused{"ShortContinuation", "\xE2\x28\xA1", -1},
                                         Refused{"CutShort", "\xE2\x82", 0}, Refused{"CutShortFour", "\xF0\x9F\x98", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
