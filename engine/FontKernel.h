#pragma once
// The character work of measuring, one font on one thread, shared by the
// loop over lines and the loop over records: a run of characters that
// holds no line end is summed into a line's width in its readings. Bytes
// are looked up in the font's tables, printable ASCII a pair at a time;
// UTF-8 is decoded with the Windows-1252 reading of the same bytes beside
// it; UTF-16 surrogates are paired.

#include "CharWidths.h"
#include "Readings.h"
#include "TextEncoding.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace engine {

class FontKernel {
public:
    explicit FontKernel(const FontWidths& font) : widths_(font), tables_(font.tables()) {}

    const ByteTables& tables() const { return tables_; }

    // The width of any character, and of a code point known to be at most
    // U+10FFFF.
    std::int64_t width(char32_t code) { return widths_(code); }
    std::int64_t character(char32_t code) { return widths_.character(code); }

    // Adds [p, end) of an 8-bit file to line; the run holds no line end.
    // While the reading is UTF-8 (open), characters outside ASCII count in
    // both readings, and a byte that breaks UTF-8 stops the run: returns
    // where it stopped, end when it did not. The bytes from readable up to
    // p may be read, never summed: a short run, or the last bytes of a
    // run, then take one word, as a field of a few bytes does.
    const unsigned char* span8(const unsigned char* p, const unsigned char* end, bool open, LineWidth& line)
    {
        return span8(p, end, open, line, p);
    }
    const unsigned char* span8(const unsigned char* p, const unsigned char* end, bool open, LineWidth& line,
                               const unsigned char* readable)
    {
        const std::int32_t* const fast = open ? tables_.utf8.data() : tables_.windows1252.data();
        std::int64_t width = line.common;
        while (p < end) {
            p = eightAtATime(p, end, fast, width);
            if (end - p < 8 && end - readable >= 8)
                p = lastWord(p, end, width);
            std::int64_t w;
            while (p < end && (w = fast[*p]) >= 0) {
                width += w;
                ++p;
            }
            if (p == end)
                break;
            if (!open || *p < 0x80) {
                width += tables_.single1252[*p];  // a width off the fast path
                ++p;
                continue;
            }
            line.common = width;
            bool broke = false;
            p = utf8Run(p, end, line, broke);
            if (broke)
                return p;
        }
        line.common = width;
        return end;
    }

    // Adds [p, end) of a UTF-16 file to line; the run holds no line end.
    void span16(const unsigned char* p, const unsigned char* const end, bool bigEndian, LineWidth& line)
    {
        std::int64_t width = line.common;
        const WidthTable& table = widths_.table();
        while (end - p >= 2) {
            const std::uint16_t unit = utf16Unit(p, bigEndian);
            p += 2;
            if (unit >= firstTableCode && unit <= lastTableCode) {
                width += table[unit - firstTableCode];
            } else if (unit >= 0xD800 && unit <= 0xDBFF && end - p >= 2) {
                const std::uint16_t low = utf16Unit(p, bigEndian);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    width += widths_(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
                    p += 2;
                } else {
                    width += widths_(unit);  // unpaired: the font has no glyph for it
                }
            } else {
                width += widths_(unit);
            }
        }
        if (p < end)
            width += widths_(0xDC00);  // half a code unit at the end of the file: no character
        line.common = width;
    }

    // The widest line of a UTF-8 text, each line the plain sum of its
    // characters as a line of data is measured; a byte that is not UTF-8
    // counts as Windows-1252. For a text that is not data: a header's name.
    std::int64_t widestLine(std::string_view text);

    // The characters outside ASCII from p on, as in most scripts' words, in
    // both readings. Returns where they end, or with broke set, the byte
    // that breaks UTF-8 (a sequence cut short by end counts: only the end
    // of a file cuts one).
    const unsigned char* utf8Run(const unsigned char* p, const unsigned char* end, LineWidth& line, bool& broke);

private:
    static constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;

    // The high bit of each byte of word that is not printable ASCII (0x20
    // to 0x7E), and maybe of bytes above such a byte: a byte under 0x20
    // borrows, 0x7F carries into its high bit, and the others have it set.
    static std::uint64_t notPrintable(std::uint64_t word)
    {
        return ((word - 0x20 * ones) | (word + ones) | word) & highs;
    }

    // Eight plain bytes at a time: printable ASCII through the pair table,
    // else any bytes the fast table takes.
    const unsigned char* eightAtATime(const unsigned char* p, const unsigned char* end, const std::int32_t* fast,
                                      std::int64_t& width) const
    {
        if (const std::int32_t* const pairs = tables_.pairs.ascii.get()) {
            for (std::uint64_t word; end - p >= 8; p += 8) {
                std::memcpy(&word, p, 8);
                if (notPrintable(word) != 0)
                    break;
                if constexpr (std::endian::native == std::endian::big)
                    word = __builtin_bswap64(word);
                width += (std::int64_t{pairs[word & 0xFFFF]} + pairs[(word >> 16) & 0xFFFF])
                    + (std::int64_t{pairs[(word >> 32) & 0xFFFF]} + pairs[word >> 48]);
            }
            return p;
        }
        while (end - p >= 8) {
            const std::int64_t w0 = fast[p[0]], w1 = fast[p[1]], w2 = fast[p[2]], w3 = fast[p[3]];
            const std::int64_t w4 = fast[p[4]], w5 = fast[p[5]], w6 = fast[p[6]], w7 = fast[p[7]];
            if ((w0 | w1 | w2 | w3 | w4 | w5 | w6 | w7) < 0)
                break;
            width += ((w0 + w1) + (w2 + w3)) + ((w4 + w5) + (w6 + w7));
            p += 8;
        }
        return p;
    }

    // The last one to seven bytes of a run as one word: the eight bytes
    // that end at end, those before p shifted out. The bytes shifted in are
    // 0, which the pair table counts as nothing. Returns p when a byte is
    // not printable ASCII.
    const unsigned char* lastWord(const unsigned char* p, const unsigned char* end, std::int64_t& width) const
    {
        const std::int32_t* const pairs = tables_.pairs.ascii.get();
        if (!pairs || p == end)
            return p;
        std::uint64_t word;
        std::memcpy(&word, end - 8, 8);
        if constexpr (std::endian::native == std::endian::big)
            word = __builtin_bswap64(word);
        const auto before = static_cast<unsigned>(8 - (end - p)) * 8;
        word >>= before;
        // Only the run's bytes are asked: nothing carries down into them.
        if ((notPrintable(word) & (highs >> before)) != 0)
            return p;
        width += (std::int64_t{pairs[word & 0xFFFF]} + pairs[(word >> 16) & 0xFFFF])
            + (std::int64_t{pairs[(word >> 32) & 0xFFFF]} + pairs[word >> 48]);
        return end;
    }

    ThreadWidths widths_;
    const ByteTables& tables_;
};

}  // namespace engine
