#pragma once
// A plain model of what measuring a data file must give, written without any
// of the engine's shortcuts: split the bytes into lines, decode each in the
// file's encoding, add up the widths. The tests and the fuzzer check the
// engine against it.

#include "CharWidths.h"
#include "TextEncoding.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fixture {

// Table code k is k - 31 wide (1..95); any other character is 1000 + its
// code, so a wrong decoding shows up as a wrong sum.
inline std::int64_t tableWidth(char32_t c) { return static_cast<std::int64_t>(c) - 31; }
inline std::int64_t otherWidth(char32_t code) { return 1000 + static_cast<std::int64_t>(code); }
inline std::int64_t widthOf(char32_t code) { return code >= 32 && code <= 126 ? tableWidth(code) : otherWidth(code); }

inline engine::WidthTable makeTable()
{
    engine::WidthTable table;
    for (int k = engine::firstTableCode; k <= engine::lastTableCode; ++k)
        table[k - engine::firstTableCode] = static_cast<std::int32_t>(tableWidth(static_cast<char32_t>(k)));
    return table;
}

// ----------------------------------------------------------------- model

struct ModelLine {
    std::int64_t width = 0;
    std::string bytes;  // the line's own bytes, terminator excluded
};

struct Model {
    engine::Encoding encoding = engine::Encoding::Utf8;
    std::vector<ModelLine> lines;
};

// UTF-8 as RFC 3629 defines it, one sequence at a time: its length, or 0.
inline std::size_t modelSequence(const std::string& s, std::size_t i, char32_t& code)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned lead = byte(i);
    std::size_t length;
    char32_t min;
    if (lead < 0x80)
        return code = lead, 1;
    if (lead >= 0xC0 && lead < 0xE0)
        length = 2, code = lead & 0x1F, min = 0x80;
    else if (lead >= 0xE0 && lead < 0xF0)
        length = 3, code = lead & 0x0F, min = 0x800;
    else if (lead >= 0xF0 && lead < 0xF8)
        length = 4, code = lead & 0x07, min = 0x10000;
    else
        return 0;
    if (i + length > s.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// The characters of a byte string in the given encoding.
inline std::u32string modelDecode(const std::string& s, engine::Encoding encoding)
{
    std::u32string out;
    if (encoding == engine::Encoding::Windows1252) {
        for (const char c : s)
            out += engine::windows1252(static_cast<unsigned char>(c));
    } else if (encoding == engine::Encoding::Utf8) {
        for (std::size_t i = 0; i < s.size();) {
            char32_t code = 0;
            const std::size_t length = modelSequence(s, i, code);
            out += length > 0 ? code : char32_t{0xFFFD};
            i += length > 0 ? length : 1;
        }
    } else {
        const bool big = encoding == engine::Encoding::Utf16BE;
        std::vector<char32_t> units;
        for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
            const auto hi = static_cast<unsigned char>(s[i]), lo = static_cast<unsigned char>(s[i + 1]);
            units.push_back(big ? (hi << 8 | lo) : (lo << 8 | hi));
        }
        for (std::size_t i = 0; i < units.size(); ++i) {
            if (units[i] >= 0xD800 && units[i] <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                units[i + 1] <= 0xDFFF) {
                out += 0x10000 + ((units[i] - 0xD800) << 10) + (units[i + 1] - 0xDC00);
                ++i;
            } else {
                out += units[i];
            }
        }
        if (s.size() % 2 == 1)
            out += 0xDC00;  // half a unit at the end: the missing glyph
    }
    return out;
}

inline Model model(std::string bytes)
{
    Model m;
    std::size_t unit = 1;
    bool big = false;
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
        bytes.erase(0, 3);
    } else if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0) {
        big = bytes[0] == '\xFE';
        m.encoding = big ? engine::Encoding::Utf16BE : engine::Encoding::Utf16LE;
        bytes.erase(0, 2);
        unit = 2;
    }
    if (unit == 1) {
        bool valid = true;
        char32_t code;
        for (std::size_t i = 0; i < bytes.size() && valid;) {
            const std::size_t length = modelSequence(bytes, i, code);
            valid = length > 0;
            i += length;
        }
        m.encoding = valid ? engine::Encoding::Utf8 : engine::Encoding::Windows1252;
    }
    // Split into lines at CR LF, LF and CR, in units of the encoding.
    const auto at = [&](std::size_t i) -> char32_t {
        if (unit == 1)
            return static_cast<unsigned char>(bytes[i]);
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return big ? (a << 8 | b) : (b << 8 | a);
    };
    std::size_t start = 0, i = 0;
    const std::size_t whole = bytes.size() - bytes.size() % unit;
    while (i < whole) {
        const char32_t c = at(i);
        if (c == '\n' || c == '\r') {
            m.lines.push_back({0, bytes.substr(start, i - start)});
            i += unit;
            if (c == '\r' && i < whole && at(i) == '\n')
                i += unit;
            start = i;
        } else {
            i += unit;
        }
    }
    if (start < bytes.size())
        m.lines.push_back({0, bytes.substr(start)});
    for (ModelLine& line : m.lines)
        for (const char32_t code : modelDecode(line.bytes, m.encoding))
            line.width += widthOf(code);
    return m;
}

inline std::vector<std::int64_t> modelWidths(const Model& m)
{
    std::vector<std::int64_t> widths;
    for (const ModelLine& line : m.lines)
        widths.push_back(line.width);
    return widths;
}

}  // namespace fixture
