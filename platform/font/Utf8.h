#pragma once
// UTF-8: the one decoder of the program, for data files and names alike.

#include <string>
#include <string_view>

namespace fontview {

void appendUtf8(std::string& out, char32_t code);

// Decodes the sequence at p, whose lead byte is >= 0x80. Returns its length
// (2..4), 0 when end cuts a so far valid sequence short, or -1 when it is
// not UTF-8 (stray continuation bytes, overlong forms, surrogates and code
// points past U+10FFFF included).
inline int decodeUtf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& code)
{
    const unsigned lead = p[0];
    int length;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    char32_t value;
    if (lead < 0xC2) {
        return -1;  // a stray continuation byte or an overlong 2-byte form
    } else if (lead < 0xE0) {
        length = 2, value = lead & 0x1F;
    } else if (lead < 0xF0) {
        length = 3, value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead < 0xF5) {
        length = 4, value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return -1;
    }
    const std::ptrdiff_t available = end - p;
    for (int i = 1; i < length; ++i) {
        if (i >= available)
            return 0;
        const unsigned byte = p[i];
        if (byte < low || byte > high)
            return -1;
        low = 0x80, high = 0xBF;
        value = (value << 6) | (byte & 0x3F);
    }
    code = value;
    return length;
}

// The fast path of decodeUtf8Sequence for a sequence already known to be
// valid: the lead byte at p (>= 0xC0) and the bytes after it. Sets length
// to 2..4. In text of one script the branches go the same way each time.
inline char32_t decodeCheckedUtf8Sequence(const unsigned char* p, unsigned& length)
{
    const char32_t lead = p[0];
    if (lead < 0xE0) {
        length = 2;
        return (lead & 0x1F) << 6 | (p[1] & 0x3F);
    }
    if (lead < 0xF0) {
        length = 3;
        return (lead & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F);
    }
    length = 4;
    return (lead & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F);
}

// Whether all of text is UTF-8.
bool isUtf8(std::string_view text);

// Decodes UTF-8; a byte that starts no valid sequence stands for itself
// (as Latin-1), so no input is lost or rejected.
std::u32string decodeUtf8(std::string_view text);

// The longest prefix of text that has at most maxBytes bytes and does not
// end inside a multi-byte character.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

// Simple case folding for face names: ASCII, Latin-1, Greek and Cyrillic.
char32_t foldCase(char32_t code);

}  // namespace fontview
