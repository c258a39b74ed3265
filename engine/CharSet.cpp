#include "CharSet.h"

#include "Utf8.h"

namespace engine {

void CharSet::Codes::merge(const Codes& other)
{
    if (other.bits_.empty())
        return;
    if (bits_.empty())
        bits_.assign(other.bits_.size(), 0);
    for (std::size_t i = 0; i < bits_.size(); ++i)
        bits_[i] |= other.bits_[i];
}

void CharSet::Codes::addTo(std::set<char32_t>& out) const
{
    for (std::size_t i = 0; i < bits_.size(); ++i)
        for (std::uint64_t word = bits_[i]; word != 0; word &= word - 1)
            out.insert(static_cast<char32_t>(64 * i + static_cast<std::size_t>(__builtin_ctzll(word))));
}

void CharSet::add(const unsigned char* data, std::size_t size, Encoding encoding)
{
    const unsigned char* const end = data + size;
    if (isUtf16(encoding)) {
        const bool big = encoding == Encoding::Utf16BE;
        for (const unsigned char* p = data; end - p >= 2; p += 2) {
            char32_t code = utf16Unit(p, big);
            if (code >= 0xD800 && code <= 0xDBFF && end - p >= 4) {
                const char32_t low = utf16Unit(p + 2, big);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    p += 2;
                }
            }
            utf16_.set(code);
        }
        if (size % 2 == 1)
            utf16_.set(0xDC00);  // half a unit at the end: the missing glyph
        return;
    }
    for (const unsigned char* p = data; p < end; ++p)
        bytes_[*p] = 1;  // one store a byte: the commonest case costs least
    for (const unsigned char* p = data; p < end;) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        char32_t code;
        const int length = fontview::decodeUtf8Sequence(p, end, code);
        if (length > 0)
            utf8_.set(code);
        p += length > 0 ? length : 1;
    }
}

void CharSet::merge(const CharSet& other)
{
    for (std::size_t b = 0; b < bytes_.size(); ++b)
        bytes_[b] |= other.bytes_[b];
    utf8_.merge(other.utf8_);
    utf16_.merge(other.utf16_);
}

std::set<char32_t> CharSet::characters(Encoding encoding) const
{
    std::set<char32_t> out;
    if (isUtf16(encoding)) {
        utf16_.addTo(out);
    } else {
        for (unsigned byte = 0; byte < 256; ++byte)
            if (bytes_[byte] && (byte < 0x80 || encoding == Encoding::Windows1252))
                out.insert(windows1252(static_cast<unsigned char>(byte)));
        if (encoding == Encoding::Utf8)
            utf8_.addTo(out);
    }
    out.erase('\n');  // line ends end lines; they are not measured
    out.erase('\r');
    return out;
}

}  // namespace engine
