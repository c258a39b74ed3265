#include "FontKernel.h"

#include "Utf8.h"

#include <algorithm>
#include <limits>

namespace engine {

const unsigned char* FontKernel::utf8Run(const unsigned char* p, const unsigned char* const end, LineWidth& line,
                                         bool& broke)
{
    line.high = true;
    do {
        const unsigned lead = *p;
        const std::ptrdiff_t left = end - p;
        char32_t code;
        int length;
        // The two commonest forms inline; both are fully checked here.
        if (lead >= 0xC2 && lead < 0xE0 && left >= 2 && (p[1] & 0xC0) == 0x80) {
            code = (lead & 0x1F) << 6 | (p[1] & 0x3F);
            length = 2;
        } else if (lead >= 0xE1 && lead < 0xF0 && lead != 0xED && left >= 3
                   && ((p[1] & 0xC0) | (p[2] & 0xC0) >> 2) == 0xA0) {
            code = (lead & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F);
            length = 3;
        } else {
            length = fontview::decodeUtf8Sequence(p, end, code);
            if (length <= 0) {
                broke = true;
                return p;
            }
        }
        line.utf8 += widths_.character(code);
        for (int i = 0; i < length; ++i)
            line.windows1252 += tables_.single1252[p[i]];
        p += length;
    } while (p < end && *p >= 0x80);
    return p;
}

std::int64_t FontKernel::widestLine(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    std::int64_t widest = std::numeric_limits<std::int64_t>::min();  // there is always a line
    for (;;) {
        const unsigned char* const lineEnd =
            std::find_if(p, end, [](unsigned char c) { return c == '\n' || c == '\r'; });
        LineWidth line;
        while (p < lineEnd) {
            p = span8(p, lineEnd, true, line);
            if (p < lineEnd)
                line.common += tables_.single1252[*p++];
        }
        widest = std::max(widest, line.common + line.utf8);
        if (lineEnd == end)
            return widest;
        p = lineEnd + 1;
    }
}

}  // namespace engine
