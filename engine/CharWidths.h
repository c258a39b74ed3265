#pragma once
// The widths of characters in one font for one measurement. The 95
// printable ASCII codes come from one table taken when the measurement
// starts; every other character is asked of the font the first time any
// measuring thread meets it, then remembered.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace engine {

constexpr int firstTableCode = 32;
constexpr int lastTableCode = 126;
constexpr int tableSize = lastTableCode - firstTableCode + 1;  // 95

using WidthTable = std::array<std::int32_t, tableSize>;

// The widths of every pair of bytes, for summing eight bytes in four
// reads: of ASCII alone (other bytes 0), and both that and, in the upper
// half, the bytes >= 0x80 read as Windows-1252 (ASCII 0 there), so text
// outside ASCII takes one read for the two. Null when the widths could
// overflow a sum: each half stays below 2^31 for any 64 bytes.
struct PairTables {
    std::unique_ptr<std::int32_t[]> ascii;
    std::unique_ptr<std::uint64_t[]> both;
};

// A byte's width, one load each, for the loops: -1 sends the byte off the
// fast path (line ends, bytes that are not a character on their own, and
// widths that are negative or too large to sum eight of in 64 bits).
struct ByteTables {
    std::array<std::int32_t, 256> utf8;         // while the reading is UTF-8: ASCII but CR and LF
    std::array<std::int32_t, 256> windows1252;  // once it is Windows-1252: every byte but CR and LF
    std::array<std::int64_t, 256> single1252;   // every byte's Windows-1252 width, whatever it is
    PairTables pairs;
};

// Shared by the measuring threads: the table is read-only and the font is
// asked under a lock, one character at a time.
class FontWidths {
public:
    // Measures one character outside the table with the font's own advance.
    using Query = std::function<std::int32_t(char32_t)>;

    FontWidths(const WidthTable& table, Query query) : table_(table), query_(std::move(query)) {}

    const WidthTable& table() const { return table_; }

    // The width of any character.
    std::int32_t width(char32_t code) const;

    // Made the first time they are asked for, then kept with the font.
    const ByteTables& tables() const;
    const PairTables& pairTables() const { return tables().pairs; }

private:
    WidthTable table_;
    Query query_;
    mutable std::mutex mutex_;
    mutable std::unordered_map<char32_t, std::int32_t> asked_;
    mutable std::once_flag tablesMade_;
    mutable ByteTables tables_;
};

// One thread's memory of the characters outside the table: after the first
// time, a character costs two array reads and takes no lock.
class ThreadWidths {
public:
    explicit ThreadWidths(const FontWidths& font);

    const WidthTable& table() const { return font_.table(); }

    std::int64_t operator()(char32_t code)
    {
        if (code > 0x10FFFF)
            return font_.width(code);  // no character, but still an answer
        return character(code);
    }

    // The width of a code point known to be at most U+10FFFF.
    std::int64_t character(char32_t code)
    {
        const std::int32_t width = pages_[code >> 8][code & 0xFF];
        return width != unknown ? width : resolve(code);
    }

private:
    // One page of 256 characters for every block of code points.
    static constexpr std::size_t pageCount = 0x1100;
    // A font's widths are 32-bit; the smallest of them marks one not yet
    // asked for (a width that is really that is asked for every time).
    static constexpr std::int32_t unknown = INT32_MIN;
    using Page = std::array<std::int32_t, 256>;

    std::int64_t resolve(char32_t code);

    const FontWidths& font_;
    std::unique_ptr<Page> unknownPage_;  // every page with no character seen yet; never written
    std::vector<std::int32_t*> pages_;
    std::vector<std::unique_ptr<Page>> owned_;
};

}  // namespace engine
