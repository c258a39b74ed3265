#pragma once
// How many lines have each width: the whole result of a measurement that
// the statistics need. Its size depends on the number of distinct widths,
// not on the number of lines, and two distributions of parts of a file add
// up to the distribution of the whole.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace engine {

class WidthDistribution {
public:
    // Widths below this are counted in a plain array; wider ones, rare in
    // any real data, in a map.
    static constexpr std::int64_t denseLimit = 1 << 12;

    void add(std::int64_t width, std::uint64_t count = 1)
    {
        if (width >= 0 && width < static_cast<std::int64_t>(dense_.size()))
            dense_[static_cast<std::size_t>(width)] += count;
        else
            addSlow(width, count);
    }

    void merge(const WidthDistribution& other);

    std::uint64_t lineCount() const;
    bool empty() const { return lineCount() == 0; }
    // The sum of all widths; exact for any file, a width being at most a few
    // thousand pixels a byte. Nothing when it would not fit 64 bits, which
    // only counts added by hand can reach.
    std::optional<std::int64_t> totalWidth() const;
    std::int64_t minWidth() const;  // -1 when empty
    std::int64_t maxWidth() const;  // -1 when empty

    // The rank-th smallest width, counting from 1; rank must be 1..lineCount().
    std::int64_t nthSmallest(std::uint64_t rank) const;

    // Calls f(width, count) for every width that occurs, in ascending order.
    template <class F>
    void forEach(F&& f) const
    {
        for (auto it = sparse_.begin(); it != sparse_.end() && it->first < 0; ++it)
            f(it->first, it->second);
        for (std::size_t w = 0; w < dense_.size(); ++w)
            if (dense_[w] != 0)
                f(static_cast<std::int64_t>(w), dense_[w]);
        for (auto it = sparse_.lower_bound(0); it != sparse_.end(); ++it)
            f(it->first, it->second);
    }

    bool operator==(const WidthDistribution& other) const;

private:
    void addSlow(std::int64_t width, std::uint64_t count);

    // Grows on demand up to denseLimit, so a file of narrow lines stays small.
    std::vector<std::uint64_t> dense_;
    // Widths at or past denseLimit, and negative ones (a font may report a
    // negative advance).
    std::map<std::int64_t, std::uint64_t> sparse_;
};

}  // namespace engine
