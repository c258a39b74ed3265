#pragma once
// UTF-8: the one decoder of the program, for data files and names alike.

#include <array>
#include <cstdint>
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

// What a lead byte C0..FF says of its sequence: its length, which bits of
// the sequence's four bytes, first byte highest, carry the value, and how
// far the value of all four must move down to leave the sequence's own.
struct Utf8LeadForm {
    std::uint32_t valueBits;
    std::uint16_t length;
    std::uint16_t shift;
};

inline constexpr std::array<Utf8LeadForm, 64> utf8LeadForms = [] {
    std::array<Utf8LeadForm, 64> forms{};
    for (unsigned lead = 0xC0; lead <= 0xFF; ++lead) {
        const unsigned length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        forms[lead - 0xC0] = {(0x7Fu >> length) << 24 | 0x3F3F3F, static_cast<std::uint16_t>(length),
                              static_cast<std::uint16_t>(6 * (4 - length))};
    }
    return forms;
}();

inline Utf8LeadForm utf8LeadForm(unsigned char lead) { return utf8LeadForms[(lead - 0xC0) & 0x3F]; }

// The fast path of decodeUtf8Sequence for a sequence already known to be
// valid: the lead byte at p (>= 0xC0) and the bytes after it. Sets length
// to 2..4. Always reads the four bytes at p and takes no branch, so text
// that mixes scripts costs no mispredictions.
inline char32_t decodeCheckedUtf8Sequence(const unsigned char* p, unsigned& length)
{
    const Utf8LeadForm form = utf8LeadForm(p[0]);
    length = form.length;
    // The value bits of all four bytes as if the sequence were four long;
    // those of bytes past its end are shifted out at the end.
    const std::uint32_t word =
        (std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3]) & form.valueBits;
    const std::uint32_t halves = (word & 0x003F003F) | (word & 0x3F003F00) >> 2;  // 12 bits in each half
    return ((halves & 0x0FFF0000) >> 4 | (halves & 0xFFF)) >> form.shift;
}

// Whether all of text is UTF-8.
bool isUtf8(std::string_view text);

// Decodes UTF-8; a byte that starts no valid sequence stands for itself
// (as Latin-1), so no input is lost or rejected.
std::u32string decodeUtf8(std::string_view text);
// The character of text at i, as decodeUtf8 reads it; i moves past it.
char32_t nextUtf8Character(std::string_view text, std::size_t& i);

// The longest prefix of text that has at most maxBytes bytes and does not
// end inside a multi-byte character.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

// Simple case folding for face names: ASCII, Latin-1, Greek and Cyrillic.
char32_t foldCase(char32_t code);

}  // namespace fontview
