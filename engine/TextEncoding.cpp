#include "TextEncoding.h"

#include "Utf8.h"

#include <array>

namespace engine {

const char* encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8: return "UTF-8";
    case Encoding::Windows1252: return "Windows-1252";
    case Encoding::Utf16LE: return "UTF-16LE";
    case Encoding::Utf16BE: return "UTF-16BE";
    }
    return "";
}

bool encodingFromName(std::string_view name, Encoding& encoding)
{
    for (const Encoding e : {Encoding::Utf8, Encoding::Windows1252, Encoding::Utf16LE, Encoding::Utf16BE})
        if (name == encodingName(e)) {
            encoding = e;
            return true;
        }
    return false;
}

bool isUtf16(Encoding encoding) { return encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE; }

ByteOrderMark readByteOrderMark(const unsigned char* data, std::size_t size)
{
    ByteOrderMark mark;
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        mark.length = 3;
    } else if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        mark = {2, Encoding::Utf16LE};
    } else if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
        mark = {2, Encoding::Utf16BE};
    }
    return mark;
}

char32_t windows1252(unsigned char byte)
{
    static constexpr std::array<char16_t, 32> c1 = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
    };
    if (byte >= 0x80 && byte <= 0x9F)
        return c1[byte - 0x80];
    return byte;
}

std::string decodeText(std::string_view bytes, Encoding encoding, std::size_t maxCharacters)
{
    constexpr char32_t replacement = 0xFFFD;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    std::string out;
    for (std::size_t n = 0; n < maxCharacters && p < end; ++n) {
        char32_t code = replacement;
        if (encoding == Encoding::Windows1252) {
            code = windows1252(*p++);
        } else if (encoding == Encoding::Utf8) {
            if (*p < 0x80) {
                code = *p++;
            } else {
                const int length = fontview::decodeUtf8Sequence(p, end, code);
                if (length > 0) {
                    p += length;
                } else {
                    code = replacement;
                    ++p;
                }
            }
        } else {
            const bool bigEndian = encoding == Encoding::Utf16BE;
            if (end - p < 2) {
                p = end;  // half a code unit at the very end
            } else {
                const std::uint16_t unit = utf16Unit(p, bigEndian);
                p += 2;
                code = unit;
                if (unit >= 0xD800 && unit <= 0xDBFF && end - p >= 2) {
                    const std::uint16_t low = utf16Unit(p, bigEndian);
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        code = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00);
                        p += 2;
                    }
                }
                if (code >= 0xD800 && code <= 0xDFFF)
                    code = replacement;  // an unpaired surrogate
            }
        }
        fontview::appendUtf8(out, code);
    }
    return out;
}

}  // namespace engine
