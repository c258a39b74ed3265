// UTF-16 surrogates, in either byte order, read alike as lines of text and
// as the values of a CSV column: the same widths, and the same text, with
// a surrogate that has no partner shown as U+FFFD.

#include "ToolRun.h"

#include <algorithm>
#include <string>

namespace {

struct SurrogateCase {
    const char* name;
    bool bigEndian;
    std::u16string value;
    std::string text;  // as check mode shows it
};

void PrintTo(const SurrogateCase& c, std::ostream* out) { *out << c.name; }

class Utf16Surrogates : public ToolRun, public testing::WithParamInterface<SurrogateCase> {
protected:
    // The byte-order mark and the units, in the case's byte order.
    std::string utf16(const std::u16string& units) const
    {
        std::string bytes = GetParam().bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t unit : units) {
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += GetParam().bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    }

    // What check mode says of the one value: WIDTH:TEXT.
    std::string widthAndText(const std::string& file, const std::string& bytes)
    {
        write(file, bytes);
        const ToolOutcome r = run("--face 'DejaVu Sans' --max-width 0 " + quoted(file));
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        const std::string line = r.out.substr(0, r.out.find('\n'));
        const std::size_t textColon = line.rfind(':');  // no TEXT here holds a colon
        return textColon == std::string::npos ? line : line.substr(line.rfind(':', textColon - 1) + 1);
    }
};

TEST_P(Utf16Surrogates, ReadAlikeAsLinesAndAsValues)
{
    const std::string expected = GetParam().text;
    const std::string asLine = widthAndText("lines.txt", utf16(GetParam().value + u"\n"));
    const std::string asValue = widthAndText("values.csv", utf16(u"name\n" + GetParam().value + u"\n"));
    EXPECT_EQ(asLine.substr(asLine.find(':') + 1), expected);
    EXPECT_EQ(asValue, asLine);
}

const std::string replacement = "\xEF\xBF\xBD";
const std::string grinning = "\xF0\x9F\x98\x80";  // U+1F600, D83D DE00

INSTANTIATE_TEST_SUITE_P(
    Values, Utf16Surrogates,
    testing::Values(SurrogateCase{"PairLittleEndian", false, u"a\xD83D\xDE00" "b", "a" + grinning + "b"},
                    SurrogateCase{"PairBigEndian", true, u"a\xD83D\xDE00" "b", "a" + grinning + "b"},
                    SurrogateCase{"HighBeforeALetterLittleEndian", false, u"\xD83D" "ab", replacement + "ab"},
                    SurrogateCase{"HighBeforeALetterBigEndian", true, u"\xD83D" "ab", replacement + "ab"},
                    SurrogateCase{"LoneLowBigEndian", true, u"a\xDE00" "b", "a" + replacement + "b"},
                    SurrogateCase{"HighAtTheEndBigEndian", true, u"ab\xD83D", "ab" + replacement},
                    SurrogateCase{"TwoHighsThenALowBigEndian", true, u"\xD83D\xD83D\xDE00",
                                  replacement + grinning},
                    SurrogateCase{"LowThenHighIsNoPairLittleEndian", false, u"\xDE00\xD83D" "a",
                                  replacement + replacement + "a"}),
    [](const testing::TestParamInfo<SurrogateCase>& info) { return std::string(info.param.name); });

}  // namespace
