#include "LaneTables.h"

#include <algorithm>
#include <array>

namespace engine {

namespace {

// A font's width of each byte for the lanes: printable ASCII and, apart,
// the bytes >= 0x80 read as Windows-1252; nothing when one is too large.
bool laneWidths(const FontWidths& font, std::array<std::uint64_t, 256>& ascii, std::array<std::uint64_t, 256>& high)
{
    const ByteTables& tables = font.tables();
    ascii.fill(0);
    high.fill(0);
    for (unsigned byte = 0; byte < 256; ++byte) {
        const bool printable = byte >= firstTableCode && byte <= lastTableCode;
        if (!printable && byte < 0x80)
            continue;
        const std::int64_t width = tables.single1252[byte];
        if (width < 0 || width > LaneGroup::widest)
            return false;
        (printable ? ascii : high)[byte] = static_cast<std::uint64_t>(width);
    }
    return true;
}

}  // namespace

LaneCharacters::LaneCharacters() : unknownPage_(std::make_unique<Page>())
{
    unknownPage_->fill(unknown);
    pages_.assign(0x1100, unknownPage_->data());
}

std::uint64_t LaneCharacters::resolve(char32_t code, FontKernel* fonts, std::size_t count)
{
    std::uint64_t packed = 0;
    for (std::size_t i = 0; i < count && packed != unpackable; ++i) {
        const std::int64_t width = fonts[i].character(code);
        packed = width < 0 || width > LaneGroup::widest ? unpackable : packed | static_cast<std::uint64_t>(width) << (16 * i);
    }
    std::uint64_t*& page = pages_[code >> 8];
    if (page == unknownPage_->data()) {
        owned_.push_back(std::make_unique<Page>(*unknownPage_));
        page = owned_.back()->data();
    }
    page[code & 0xFF] = packed;
    return packed;
}

std::vector<LaneGroup> makeLaneGroups(const std::vector<const FontWidths*>& fonts)
{
    std::vector<LaneGroup> groups;
    if (fonts.size() < 2)
        return groups;
    std::vector<std::array<std::uint64_t, 256>> ascii(fonts.size()), high(fonts.size());
    for (std::size_t f = 0; f < fonts.size(); ++f)
        if (!laneWidths(*fonts[f], ascii[f], high[f]))
            return groups;
    for (std::size_t first = 0; first < fonts.size(); first += LaneGroup::lanes) {
        LaneGroup group;
        group.first = first;
        group.count = std::min(LaneGroup::lanes, fonts.size() - first);
        group.ascii = std::make_unique<std::uint64_t[]>(65536);
        group.high = std::make_unique<std::uint64_t[]>(65536);
        for (unsigned a = 0; a < 256; ++a) {
            for (unsigned b = 0; b < 256; ++b) {
                std::uint64_t asciiPair = 0, highPair = 0;
                for (std::size_t i = 0; i < group.count; ++i) {
                    asciiPair |= (ascii[first + i][a] + ascii[first + i][b]) << (16 * i);
                    highPair |= (high[first + i][a] + high[first + i][b]) << (16 * i);
                }
                group.ascii[a | b << 8] = asciiPair;
                group.high[a | b << 8] = highPair;
            }
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

}  // namespace engine
