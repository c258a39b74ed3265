// The character kernel sums any run the same whichever path takes it: a
// word at a time, the last bytes of a run as one word (reading bytes before
// the run, never counting them), or a byte at a time.

#include "FontKernel.h"
#include "MeasureFixture.h"

#include <string>
#include <vector>

namespace {

// Each byte's width alone, as the reading gives it.
std::int64_t plainSum(const engine::FontWidths& font, const unsigned char* p, const unsigned char* end, bool utf8)
{
    std::int64_t sum = 0;
    for (; p < end; ++p)
        sum += font.width(utf8 ? char32_t{*p} : engine::windows1252(*p));
    return sum;
}

bool ascii(const unsigned char* p, const unsigned char* end)
{
    for (; p < end; ++p)
        if (*p >= 0x80)
            return false;
    return true;
}

struct Bytes {
    const char* name;
    std::string text;
};

// Bytes on either side of printable ASCII (0x1F, 0x20, 0x7E, 0x7F, 0x80,
// 0xFF), controls, and runs long and short between them.
const std::vector<Bytes> samples = {
    {"printable", "id,Michael Miller,249 Elm St, Unit 368,Springfield,Madison Ave 12345"},
    {"edges of printable", std::string("a\x1f b~\x7f" "c\x80\xff" "d \x7e\x20\x1f\x7f", 16) + "xyz0123456789ABCDEFGHIJ"},
    {"controls and tabs", std::string("\t\x01\x02" "abc\tdef\x1b[0m", 15) + std::string("ghijklmnop\x00qrs", 14)},
    {"high bytes between", "caf\xe9 na\xefve \xa0\xa0 r\xe9sum\xe9 \x93quoted\x94 and plain text after"},
};

TEST(FontKernel, EveryRunSumsAsEachByteAloneWhateverItsLengthAndPlace)
{
    fixture::Font font;
    engine::FontKernel kernel(font.widths);
    for (const Bytes& sample : samples) {
        const auto* const data = reinterpret_cast<const unsigned char*>(sample.text.data());
        const std::size_t size = sample.text.size();
        for (std::size_t from = 0; from <= size; ++from) {
            for (std::size_t to = from; to <= size && to <= from + 20; ++to) {
                const unsigned char* const p = data + from;
                const unsigned char* const end = data + to;
                SCOPED_TRACE(std::string(sample.name) + " [" + std::to_string(from) + ", " + std::to_string(to) + ")");
                for (const bool readBefore : {false, true}) {
                    engine::LineWidth line;
                    line.common = 5;  // a run adds to what the line has
                    if (readBefore)
                        kernel.span8(p, end, false, line, data);
                    else
                        kernel.span8(p, end, false, line);
                    EXPECT_EQ(line.common, 5 + plainSum(font.widths, p, end, false)) << "Windows-1252";
                    if (!ascii(p, end))
                        continue;
                    engine::LineWidth open;
                    const unsigned char* const stopped =
                        readBefore ? kernel.span8(p, end, true, open, data) : kernel.span8(p, end, true, open);
                    EXPECT_EQ(stopped, end);
                    EXPECT_EQ(open.common, plainSum(font.widths, p, end, true)) << "UTF-8";
                    EXPECT_EQ(open.utf8, 0);
                }
            }
        }
    }
}

}  // namespace
