#include "Placeholders.h"

#include <QRegularExpression>

#include <algorithm>

namespace catalogue {

namespace {

// printf without the space flag, so that "50% off" holds none; Qt's
// numbered ones; braces around a name or number, with an optional format.
const QRegularExpression& pattern()
{
    static const QRegularExpression expression(QStringLiteral(
        "%%"
        "|%(?:[0-9]+\\$)?[-+#0']*(?:[0-9]+|\\*)?(?:\\.(?:[0-9]+|\\*))?(?:hh|h|ll|l|L|q|j|z|Z|t)?[diouxXeEfFgGaAcspn@]"
        "|%L?[0-9]{1,2}"
        "|\\{[A-Za-z0-9_][A-Za-z0-9_.]*(?:[,:][^{}]*)?\\}"));
    return expression;
}

// Whether a found placeholder lies in a marked one. An empty marked one
// lies between characters: only a placeholder around its place meets it.
bool meets(const Span& marked, const Span& found)
{
    if (marked.length == 0)
        return found.start < marked.start && marked.start < found.start + found.length;
    return found.start < marked.start + marked.length && marked.start < found.start + found.length;
}

}  // namespace

std::vector<Span> findPlaceholders(QStringView text)
{
    std::vector<Span> spans;
    QRegularExpressionMatchIterator matches = pattern().globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (match.capturedView() != u"%%")
            spans.push_back({match.capturedStart(), match.capturedLength()});
    }
    return spans;
}

std::vector<Span> allPlaceholders(const Text& text)
{
    std::vector<Span> spans = text.placeholders;
    for (const Span& found : findPlaceholders(text.text)) {
        const bool marked = std::any_of(text.placeholders.begin(), text.placeholders.end(),
                                        [&](const Span& span) { return meets(span, found); });
        if (!marked)
            spans.push_back(found);
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.start != b.start ? a.start < b.start : a.length < b.length; });
    return spans;
}

}  // namespace catalogue
