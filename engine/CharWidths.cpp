#include "CharWidths.h"

#include "TextEncoding.h"

#include <algorithm>

namespace engine {

std::int32_t FontWidths::width(char32_t code) const
{
    if (code >= firstTableCode && code <= lastTableCode)
        return table_[code - firstTableCode];
    const std::lock_guard lock(mutex_);
    const auto found = asked_.find(code);
    if (found != asked_.end())
        return found->second;
    const std::int32_t w = query_ ? query_(code) : 0;
    asked_.emplace(code, w);
    return w;
}

namespace {

// Only when no sum of 64 bytes' widths can overflow.
bool smallEnough(const std::array<std::int64_t, 256>& widths)
{
    return std::all_of(widths.begin(), widths.end(), [](std::int64_t w) { return w >= 0 && w < (1 << 24); });
}

PairTables makePairTables(const std::array<std::int64_t, 256>& ascii, const std::array<std::int64_t, 256>& high)
{
    PairTables pairs;
    if (!smallEnough(ascii) || !smallEnough(high))
        return pairs;
    pairs.ascii = std::make_unique<std::int32_t[]>(65536);
    pairs.both = std::make_unique<std::uint64_t[]>(65536);
    for (unsigned first = 0; first < 256; ++first) {
        for (unsigned second = 0; second < 256; ++second) {
            const auto asciiPair = static_cast<std::uint64_t>(ascii[first] + ascii[second]);
            const auto highPair = static_cast<std::uint64_t>(high[first] + high[second]);
            pairs.ascii[first | second << 8] = static_cast<std::int32_t>(asciiPair);
            pairs.both[first | second << 8] = asciiPair | highPair << 32;
        }
    }
    return pairs;
}

std::int32_t fast(std::int64_t width) { return width >= 0 && width <= INT32_MAX ? static_cast<std::int32_t>(width) : -1; }

}  // namespace

const ByteTables& FontWidths::tables() const
{
    std::call_once(tablesMade_, [this] {
        std::array<std::int64_t, 256> ascii{}, high{};  // terminators and controls add nothing in the pairs
        for (int code = firstTableCode; code <= lastTableCode; ++code)
            ascii[code] = table_[code - firstTableCode];
        for (unsigned byte = 0; byte < 256; ++byte) {
            const std::int64_t width = this->width(windows1252(static_cast<unsigned char>(byte)));
            tables_.single1252[byte] = width;
            if (byte >= 0x80)
                high[byte] = width;
            const bool lineEnd = byte == '\n' || byte == '\r';
            tables_.windows1252[byte] = lineEnd ? -1 : fast(width);
            tables_.utf8[byte] = lineEnd || byte >= 0x80 ? -1 : fast(width);
        }
        tables_.pairs = makePairTables(ascii, high);
    });
    return tables_;
}

ThreadWidths::ThreadWidths(const FontWidths& font)
    : font_(font), unknownPage_(std::make_unique<Page>()), pages_(pageCount)
{
    unknownPage_->fill(unknown);
    for (auto& page : pages_)
        page = unknownPage_->data();
}

std::int64_t ThreadWidths::resolve(char32_t code)
{
    const std::size_t page = code >> 8;
    if (pages_[page] == unknownPage_->data()) {
        owned_.push_back(std::make_unique<Page>(*unknownPage_));
        pages_[page] = owned_.back()->data();
    }
    return pages_[page][code & 0xFF] = font_.width(code);
}

}  // namespace engine
