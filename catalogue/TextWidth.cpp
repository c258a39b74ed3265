#include "TextWidth.h"

#include "Placeholders.h"

#include <algorithm>
#include <bit>

namespace catalogue {

std::int64_t widestLine(const Text& text, engine::FontKernel& font, std::optional<std::int64_t> placeholderWidth)
{
    const std::vector<Span> spans = placeholderWidth ? allPlaceholders(text) : std::vector<Span>();
    auto span = spans.begin();
    const QString& s = text.text;
    // The text's UTF-16 as bytes in the machine's order, for the kernel.
    const auto* const units = reinterpret_cast<const unsigned char*>(s.utf16());
    constexpr bool bigEndian = std::endian::native == std::endian::big;
    const qsizetype size = s.size();
    std::int64_t widest = 0;
    engine::LineWidth line;
    qsizetype runStart = 0;
    const auto measureRun = [&](qsizetype end) {
        font.span16(units + 2 * runStart, units + 2 * end, bigEndian, line);
    };
    for (qsizetype i = 0; i <= size;) {
        // Placeholders that start here, empty ones first.
        if (span != spans.end() && span->start == i) {
            measureRun(i);
            line.common += *placeholderWidth;
            i += span->length;
            runStart = i;
            ++span;
            continue;
        }
        if (i == size)
            break;
        const char16_t unit = s[i].unicode();
        if (unit == u'\n' || unit == u'\r') {
            measureRun(i);
            widest = std::max(widest, line.common);
            line.clear();
            i += unit == u'\r' && i + 1 < size && s[i + 1] == u'\n' ? 2 : 1;
            runStart = i;
            continue;
        }
        ++i;
    }
    measureRun(size);
    return std::max(widest, line.common);
}

}  // namespace catalogue
