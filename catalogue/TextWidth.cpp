#include "TextWidth.h"

#include "Placeholders.h"

#include <algorithm>

namespace catalogue {

std::int64_t widestLine(const Text& text, engine::ThreadWidths& widths, std::optional<std::int64_t> placeholderWidth)
{
    const std::vector<Span> spans = placeholderWidth ? allPlaceholders(text) : std::vector<Span>();
    auto span = spans.begin();
    const QString& s = text.text;
    const qsizetype size = s.size();
    std::int64_t widest = 0, line = 0;
    for (qsizetype i = 0; i <= size;) {
        // Placeholders that start here, empty ones first.
        if (span != spans.end() && span->start == i) {
            line += *placeholderWidth;
            i += span->length;
            ++span;
            continue;
        }
        if (i == size)
            break;
        const char16_t unit = s[i].unicode();
        if (unit == u'\n' || unit == u'\r') {
            widest = std::max(widest, line);
            line = 0;
            i += unit == u'\r' && i + 1 < size && s[i + 1] == u'\n' ? 2 : 1;
            continue;
        }
        char32_t code = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(s[i + 1].unicode())) {
            code = QChar::surrogateToUcs4(unit, s[i + 1].unicode());
            ++i;
        }
        ++i;
        line += widths(code);
    }
    return std::max(widest, line);
}

}  // namespace catalogue
