#include "PrintablePath.h"

#include "Utf8.h"
#include "VisibleText.h"

namespace report {

std::string printablePath(std::string_view path)
{
    // A path in another encoding keeps its bytes of 0x80 and up: read alone
    // they are not characters, let alone controls.
    const bool utf8 = fontview::isUtf8(path);
    const auto* const begin = reinterpret_cast<const unsigned char*>(path.data());
    const auto* const end = begin + path.size();
    std::string printable;
    printable.reserve(path.size());
    for (const unsigned char* p = begin; p < end;) {
        char32_t code = *p;
        std::size_t length = 1;
        if (utf8 && code >= 0x80)
            length = static_cast<std::size_t>(fontview::decodeUtf8Sequence(p, end, code));
        if (isControlCharacter(code) && (utf8 || code < 0x80))
            printable += '?';
        else
            printable.append(reinterpret_cast<const char*>(p), length);
        p += length;
    }
    return printable;
}

}  // namespace report
