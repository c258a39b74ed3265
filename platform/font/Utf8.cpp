#include "Utf8.h"

#include <cstdint>
#include <cstring>

namespace fontview {

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

namespace {

// Length of the valid sequence at text[i] (1 for ASCII), or 0.
std::size_t sequenceLength(std::string_view text, std::size_t i, char32_t& code)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    if (p[i] < 0x80) {
        code = p[i];
        return 1;
    }
    const int length = decodeUtf8Sequence(p + i, p + text.size(), code);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

}  // namespace

bool isUtf8(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    char32_t code;
    for (std::size_t i = 0; i < size;) {
        // ASCII sixteen bytes at a time.
        std::uint64_t words[2];
        if (size - i >= 16 && (std::memcpy(words, p + i, 16), ((words[0] | words[1]) & 0x8080808080808080u) == 0)) {
            i += 16;
            continue;
        }
        const std::size_t length = sequenceLength(text, i, code);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

char32_t nextUtf8Character(std::string_view text, std::size_t& i)
{
    char32_t code = 0;
    const std::size_t length = sequenceLength(text, i, code);
    if (length == 0)
        return static_cast<unsigned char>(text[i++]);
    i += length;
    return code;
}

std::u32string decodeUtf8(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        out += nextUtf8Character(text, i);
    return out;
}

std::string_view cutUtf8(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    // Step back over continuation bytes to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

char32_t foldCase(char32_t c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if (c < 0xC0)
        return c;
    if (c <= 0xDE && c != 0xD7)
        return c + 0x20;  // Latin-1 capitals
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return c + 0x20;  // Greek capitals
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;  // Cyrillic capitals
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

}  // namespace fontview
