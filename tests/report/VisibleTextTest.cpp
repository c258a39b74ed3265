// Text shown on one line: every control visible, nothing that acts on a
// terminal or ends the line, and no two texts shown alike.

#include "VisibleText.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using report::LineBreaks;
using namespace std::string_literals;

namespace {

struct VisibleCase {
    const char* name;
    std::string text;
    LineBreaks breaks;
    std::string shown;
};

// Test lists show the case by its name, not its bytes.
void PrintTo(const VisibleCase& c, std::ostream* out) { *out << c.name; }

class VisibleTextTest : public testing::TestWithParam<VisibleCase> {};

TEST_P(VisibleTextTest, ShowsEveryControl)
{
    EXPECT_EQ(report::visibleText(GetParam().text, GetParam().breaks), GetParam().shown);
}

constexpr auto arrow = LineBreaks::Arrow;
constexpr auto escaped = LineBreaks::Escaped;

INSTANTIATE_TEST_SUITE_P(
    Texts, VisibleTextTest,
    testing::Values(
        VisibleCase{"Plain", "Cancel", arrow, "Cancel"},
        VisibleCase{"Utf8Stays", "J\xC3\xBCrgen \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\xC2\xA0x", arrow,
                    "J\xC3\xBCrgen \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\xC2\xA0x"},
        VisibleCase{"EscapeSequence", "a\x1B[2J\x1B]0;title\x07z", arrow, "a\\x1b[2J\\x1b]0;title\\x07z"},
        VisibleCase{"NulBackspaceDel", "a\0b\bc\x7F"s, arrow, "a\\x00b\\x08c\\x7f"},
        VisibleCase{"Tab", "a\tb", arrow, "a\\x09b"},
        VisibleCase{"LineBreaksAsArrows", "a\nb\r\nc\rd\n", arrow, "a\xE2\x86\xB5" "b\xE2\x86\xB5" "c\xE2\x86\xB5" "d\xE2\x86\xB5"},
        VisibleCase{"CrCrLfIsTwoBreaks", "a\r\r\nb", arrow, "a\xE2\x86\xB5\xE2\x86\xB5" "b"},
        VisibleCase{"LineBreaksEscapedInAName", "a\nb\r\nc\r", escaped, "a\\x0ab\\x0d\\x0ac\\x0d"},
        VisibleCase{"NextLine", "a\xC2\x85" "b", arrow, "a\\u0085b"},
        VisibleCase{"OtherC1", "\xC2\x80\xC2\x9B\xC2\x9F", arrow, "\\u0080\\u009b\\u009f"},
        VisibleCase{"LineAndParagraphSeparators", "a\xE2\x80\xA8" "b\xE2\x80\xA9" "c", arrow, "a\\u2028b\\u2029c"},
        VisibleCase{"ArrowOfTheTextItself", "a\xE2\x86\xB5" "b", arrow, "a\\u21b5b"},
        VisibleCase{"ArrowInANameStays", "a\xE2\x86\xB5" "b", escaped, "a\xE2\x86\xB5" "b"},
        VisibleCase{"BytesThatAreNotUtf8", "M\xE4rz\x85\xFF", escaped, "M\\xe4rz\\x85\\xff"},
        VisibleCase{"SequenceCutShort", "a\xE2\x80", arrow, "a\\xe2\\x80"},
        VisibleCase{"OverlongLineFeed", "\xC0\x8A", arrow, "\\xc0\\x8a"},
        VisibleCase{"EncodedSurrogate", "\xED\xA0\x80", arrow, "\\xed\\xa0\\x80"},
        VisibleCase{"BackslashesOfAPathStay", "C:\\Users\\ann", arrow, "C:\\Users\\ann"},
        VisibleCase{"BackslashNOfATranslationStays", "Line one\\nLine two", arrow, "Line one\\nLine two"},
        VisibleCase{"BackslashBeforeX", "\\x1b", arrow, "\\\\x1b"},
        VisibleCase{"BackslashBeforeU", "\\u2028", arrow, "\\\\u2028"},
        VisibleCase{"TwoBackslashes", "\\\\", arrow, "\\\\\\"},
        VisibleCase{"BackslashBeforeAControl", "\\\x1B", arrow, "\\\\\\x1b"},
        VisibleCase{"BackslashBeforeABadByte", "\\\xFF", arrow, "\\\\\\xff"},
        VisibleCase{"BackslashBeforeAnArrow", "\\\n", arrow, "\\\xE2\x86\xB5"},
        VisibleCase{"TrailingBackslash", "a\\", arrow, "a\\"},
        VisibleCase{"Empty", "", arrow, ""}),
    [](const testing::TestParamInfo<VisibleCase>& info) { return std::string(info.param.name); });

// Reads the shown text back: the inverse the notation promises, for the
// escaped form (where no two line ends look alike).
std::string readBack(const std::string& shown)
{
    std::string text;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] != '\\' || i + 1 == shown.size()) {
            text += shown[i];
        } else if (shown[i + 1] == '\\') {
            text += '\\';
            ++i;
        } else if (shown[i + 1] == 'x' && i + 3 < shown.size()) {
            text += static_cast<char>(std::stoi(shown.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else if (shown[i + 1] == 'u') {
            const auto code = static_cast<unsigned>(std::stoi(shown.substr(i + 2, 4), nullptr, 16));
            if (code < 0x800)
                text += {static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))};
            else
                text += {static_cast<char>(0xE0 | code >> 12), static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                         static_cast<char>(0x80 | (code & 0x3F))};
            i += 5;
        } else {
            text += '\\';
        }
    }
    return text;
}

// Every text of up to four pieces from the awkward ones: shown on one line
// without a control byte, and read back to itself.
TEST(VisibleTextTest, EveryShortTextReadsBackToItself)
{
    const std::vector<std::string> pieces = {"a",  "\\", "x",          "u",         "1b",         "\x1B", "\n",
                                             "\r", "\xC2", "\x85",     "\xE2\x80", "\xA8",       "\x7F", ""};
    std::set<std::string> texts;
    for (const auto& a : pieces)
        for (const auto& b : pieces)
            for (const auto& c : pieces)
                for (const auto& d : pieces)
                    texts.insert(a + b + c + d);
    std::set<std::string> shownTexts;
    for (const std::string& text : texts) {
        const std::string shown = report::visibleText(text, LineBreaks::Escaped);
        for (const char byte : shown)
            ASSERT_FALSE(byte >= 0 && byte < 0x20) << shown;
        ASSERT_EQ(shown.find('\x7F'), std::string::npos) << shown;
        ASSERT_EQ(readBack(shown), text) << shown;
        shownTexts.insert(shown);
    }
    EXPECT_EQ(shownTexts.size(), texts.size());
}

}  // namespace
