#pragma once
// The widths of characters for one calculation: the 95 printable ASCII
// codes come from one table taken from the font; every other character is
// asked of the font the first time it is seen, then remembered.

#include <array>
#include <cstdint>
#include <functional>
#include <unordered_map>

namespace engine {

constexpr int firstTableCode = 32;
constexpr int lastTableCode = 126;
constexpr int tableSize = lastTableCode - firstTableCode + 1;  // 95

using WidthTable = std::array<std::int32_t, tableSize>;

class CharWidths {
public:
    // Measures one character outside the table with the font's own advance.
    using Query = std::function<std::int32_t(char32_t)>;

    CharWidths(const WidthTable& table, Query query) : table_(table), query_(std::move(query)) {}

    const WidthTable& table() const { return table_; }

    std::int32_t width(char32_t code)
    {
        if (code >= firstTableCode && code <= lastTableCode)
            return table_[code - firstTableCode];
        return other(code);
    }

    // A character outside 32..126: one query per distinct character.
    std::int32_t other(char32_t code)
    {
        const auto found = cache_.find(code);
        if (found != cache_.end())
            return found->second;
        const std::int32_t w = query_ ? query_(code) : 0;
        cache_.emplace(code, w);
        return w;
    }

    std::size_t queriesMade() const { return cache_.size(); }

private:
    WidthTable table_;
    Query query_;
    std::unordered_map<char32_t, std::int32_t> cache_;
};

}  // namespace engine
