#pragma once
// Several fonts' widths of every byte pair in one table, in four 16-bit
// lanes, one for each font: a single read sums a pair in all four, so a
// pass in many fonts reads its tables no more often than a pass in a few.
// Sums of 64 bytes stay inside their lane while every width is under 1024
// pixels; fonts whose widths are larger are summed each on its own.

#include "CharWidths.h"
#include "FontKernel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace engine {

struct LaneGroup {
    static constexpr std::size_t lanes = 4;
    static constexpr std::int64_t widest = 1023;  // 64 of them fit a lane

    std::size_t first = 0;  // the group's first font
    std::size_t count = 0;  // 1 to 4
    std::unique_ptr<std::uint64_t[]> ascii;  // lane i: font first + i's width of the pair's printable ASCII
    std::unique_ptr<std::uint64_t[]> high;   // lane i: its Windows-1252 width of the pair's bytes >= 0x80
};

// Groups of four fonts in order; none when some font has a width too large
// for a lane, or there is only one font.
std::vector<LaneGroup> makeLaneGroups(const std::vector<const FontWidths*>& fonts);

// A group's widths of the characters outside ASCII, packed in lanes as the
// pair tables are, so one read serves the group's fonts; filled as
// characters are first met. A character some font draws wider than a lane
// holds (or narrower than nothing) is unpackable: its fonts are summed each
// on its own.
class LaneCharacters {
public:
    static constexpr std::uint64_t unpackable = ~std::uint64_t{0} - 1;

    LaneCharacters();

    // The packed widths of code (at most U+10FFFF) in fonts[0..count), or
    // unpackable.
    std::uint64_t widths(char32_t code, FontKernel* fonts, std::size_t count)
    {
        const std::uint64_t packed = pages_[code >> 8][code & 0xFF];
        return packed != unknown ? packed : resolve(code, fonts, count);
    }

private:
    static constexpr std::uint64_t unknown = ~std::uint64_t{0};  // no lane of a packed width is 0xFFFF
    using Page = std::array<std::uint64_t, 256>;

    std::uint64_t resolve(char32_t code, FontKernel* fonts, std::size_t count);

    std::unique_ptr<Page> unknownPage_;  // every page with no character met yet; never written
    std::vector<std::uint64_t*> pages_;
    std::vector<std::unique_ptr<Page>> owned_;
};

// Lane i of a packed sum.
inline std::int64_t lane(std::uint64_t packed, std::size_t i) { return static_cast<std::int64_t>((packed >> (16 * i)) & 0xFFFF); }

}  // namespace engine
