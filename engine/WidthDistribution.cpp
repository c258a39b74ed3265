#include "WidthDistribution.h"

#include <algorithm>
#include <stdexcept>

namespace engine {

void WidthDistribution::addSlow(std::int64_t width, std::uint64_t count)
{
    if (count == 0)
        return;
    if (width >= 0 && width < denseLimit) {
        // Grow in steps so a run of ever wider lines does not copy each time.
        const std::size_t wanted = std::min<std::size_t>(
            denseLimit, std::max<std::size_t>(static_cast<std::size_t>(width) + 1, dense_.size() * 2 + 64));
        dense_.resize(wanted, 0);
        dense_[static_cast<std::size_t>(width)] += count;
        return;
    }
    sparse_[width] += count;
}

void WidthDistribution::merge(const WidthDistribution& other)
{
    if (other.dense_.size() > dense_.size())
        dense_.resize(other.dense_.size(), 0);
    for (std::size_t w = 0; w < other.dense_.size(); ++w)
        dense_[w] += other.dense_[w];
    for (const auto& [width, count] : other.sparse_)
        sparse_[width] += count;
}

std::uint64_t WidthDistribution::lineCount() const
{
    std::uint64_t n = 0;
    forEach([&n](std::int64_t, std::uint64_t count) { n += count; });
    return n;
}

std::optional<std::int64_t> WidthDistribution::totalWidth() const
{
    std::int64_t total = 0;
    bool overflow = false;
    forEach([&](std::int64_t width, std::uint64_t count) {
        std::int64_t product;
        overflow = overflow || count > static_cast<std::uint64_t>(INT64_MAX)
            || __builtin_mul_overflow(width, static_cast<std::int64_t>(count), &product)
            || __builtin_add_overflow(total, product, &total);
    });
    if (overflow)
        return std::nullopt;
    return total;
}

std::int64_t WidthDistribution::minWidth() const
{
    std::int64_t result = -1;
    bool found = false;
    forEach([&](std::int64_t width, std::uint64_t) {
        if (!found)
            result = width, found = true;
    });
    return result;
}

std::int64_t WidthDistribution::maxWidth() const
{
    std::int64_t result = -1;
    forEach([&result](std::int64_t width, std::uint64_t) { result = width; });
    return result;
}

std::int64_t WidthDistribution::nthSmallest(std::uint64_t rank) const
{
    std::uint64_t seen = 0;
    std::int64_t result = 0;
    bool found = false;
    forEach([&](std::int64_t width, std::uint64_t count) {
        if (found)
            return;
        seen += count;
        if (seen >= rank)
            result = width, found = true;
    });
    if (!found || rank == 0)
        throw std::out_of_range("nthSmallest: rank outside the distribution");
    return result;
}

bool WidthDistribution::operator==(const WidthDistribution& other) const
{
    std::vector<std::pair<std::int64_t, std::uint64_t>> mine, theirs;
    forEach([&mine](std::int64_t w, std::uint64_t c) { mine.emplace_back(w, c); });
    other.forEach([&theirs](std::int64_t w, std::uint64_t c) { theirs.emplace_back(w, c); });
    return mine == theirs;
}

}  // namespace engine
