#include "PrintablePath.h"

namespace report {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool isValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length;
        char32_t code, min;
        if (lead < 0x80)
            length = 1, code = lead, min = 0;
        else if ((lead & 0xE0) == 0xC0)
            length = 2, code = lead & 0x1F, min = 0x80;
        else if ((lead & 0xF0) == 0xE0)
            length = 3, code = lead & 0x0F, min = 0x800;
        else if ((lead & 0xF8) == 0xF0)
            length = 4, code = lead & 0x07, min = 0x10000;
        else
            return false;
        if (length > text.size() - i)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + k]);
            if (!isContinuation(byte))
                return false;
            code = (code << 6) | (byte & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are not UTF-8.
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

}  // namespace

std::string printablePath(std::string_view path)
{
    const bool utf8 = isValidUtf8(path);
    std::string printable;
    printable.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (byte < 0x20 || byte == 0x7F) {
            printable += '?';
        } else if (utf8 && byte == 0xC2 && i + 1 < path.size() &&
                   static_cast<unsigned char>(path[i + 1]) <= 0x9F) {
            // U+0080..U+009F: C2 followed by 80..9F (a continuation byte, as
            // the path is valid).
            printable += '?';
            ++i;
        } else {
            printable += path[i];
        }
    }
    return printable;
}

}  // namespace report
