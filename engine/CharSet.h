#pragma once
// The characters a stream holds, for bounds that hold for every line of it:
// a line's width in one font is at most the largest ratio, over the
// characters it can hold, of that font's widths to another's times its
// width in the other. Kept for both readings of an 8-bit stream until its
// encoding is known.

#include "TextEncoding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

namespace engine {

class CharSet {
public:
    // Adds the characters of [data, data + size), read as encoding says;
    // an 8-bit stream is read both ways.
    void add(const unsigned char* data, std::size_t size, Encoding encoding);
    void merge(const CharSet& other);

    // The characters of the stream read in the encoding it turned out to be
    // in, line ends left out: they are not measured.
    std::set<char32_t> characters(Encoding encoding) const;

private:
    // One bit for each code point up to U+10FFFF, made when first needed.
    class Codes {
    public:
        void set(char32_t code)
        {
            if (bits_.empty())
                bits_.assign(0x110000 / 64, 0);
            bits_[code >> 6] |= std::uint64_t{1} << (code & 63);
        }
        void merge(const Codes& other);
        void addTo(std::set<char32_t>& out) const;

    private:
        std::vector<std::uint64_t> bits_;
    };

    std::array<unsigned char, 256> bytes_{};  // 8-bit: every byte, read as Windows-1252 or as ASCII
    Codes utf8_;              // 8-bit: the characters outside ASCII read as UTF-8
    Codes utf16_;             // UTF-16: every character
};

}  // namespace engine
