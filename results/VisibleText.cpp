#include "VisibleText.h"

#include "Utf8.h"

#include <cstdio>

namespace report {

namespace {

constexpr std::string_view arrow = "\xE2\x86\xB5";  // ↵

std::string escaped(const char* format, unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// How the piece of text at `at` is shown; sets length to the bytes it takes.
std::string shownPiece(std::string_view text, std::size_t at, LineBreaks breaks, std::size_t& length)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + at;
    const auto* end = reinterpret_cast<const unsigned char*>(text.data()) + text.size();
    length = 1;
    if (*p < 0x80) {
        if ((*p == '\n' || *p == '\r') && breaks == LineBreaks::Arrow) {
            length = *p == '\r' && p + 1 < end && p[1] == '\n' ? 2 : 1;
            return std::string(arrow);
        }
        return isControlCharacter(*p) ? escaped("\\x%02x", *p) : std::string(1, static_cast<char>(*p));
    }
    char32_t code = 0;
    const int sequence = fontview::decodeUtf8Sequence(p, end, code);
    if (sequence <= 0)
        return escaped("\\x%02x", *p);
    length = static_cast<std::size_t>(sequence);
    if (isControlCharacter(code) || (code == 0x21B5 && breaks == LineBreaks::Arrow))
        return escaped("\\u%04x", static_cast<unsigned>(code));
    return std::string(text.substr(at, length));
}

}  // namespace

bool isControlCharacter(char32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029;
}

std::string visibleText(std::string_view text, LineBreaks breaks)
{
    std::string out;
    out.reserve(text.size());
    bool backslash = false;  // one waits for what follows it
    for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
        const std::string piece = shownPiece(text, at, breaks, length);
        if (backslash) {
            const char next = piece.front();
            out += next == '\\' || next == 'x' || next == 'u' ? "\\\\" : "\\";
        }
        backslash = piece == "\\";
        if (!backslash)
            out += piece;
    }
    if (backslash)
        out += '\\';
    return out;
}

}  // namespace report
