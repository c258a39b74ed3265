#include "HistogramBins.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace report {

namespace {

// Widths span the whole int64 range in the worst case, and so may a bin
// edge rounded outwards: work in 128 bits and clamp on the way out.
__extension__ typedef __int128 Wide;

constexpr Wide lowest = std::numeric_limits<std::int64_t>::min();
constexpr Wide highest = std::numeric_limits<std::int64_t>::max();

std::int64_t clamped(Wide value) { return static_cast<std::int64_t>(std::clamp(value, lowest, highest)); }

// Rounds towards minus infinity, unlike '/', so negative widths bin alike.
Wide floorDiv(Wide value, Wide step)
{
    Wide q = value / step;
    if (value % step != 0 && value < 0)
        --q;
    return q;
}

// 1, 2, 5, 10, 20, 25, 50, 100...: the index-th of them.
Wide niceAt(int index)
{
    static constexpr int mantissas[] = {1, 2, 5, 10, 20, 25, 50};
    if (index < 7)
        return mantissas[index];
    Wide scale = 1;
    for (int i = 0; i < (index - 7) / 4 + 1; ++i)
        scale *= 10;
    static constexpr int decade[] = {10, 20, 25, 50};
    return decade[(index - 7) % 4] * scale;
}

Wide binCount(Wide min, Wide max, Wide step) { return floorDiv(max, step) - floorDiv(min, step) + 1; }

// How far a bin count is from the range wanted, then from its middle.
std::pair<Wide, Wide> badness(Wide count)
{
    const Wide outside = count < fewestBins ? fewestBins - count : count > mostBins ? count - mostBins : 0;
    const Wide middle = (fewestBins + mostBins) / 2;
    return {outside, count > middle ? count - middle : middle - count};
}

Wide chooseStep(Wide min, Wide max)
{
    Wide best = 1;
    for (int i = 1;; ++i) {
        const Wide step = niceAt(i);
        const Wide count = binCount(min, max, step);
        if (badness(count) < badness(binCount(min, max, best)))
            best = step;
        // Past every width there is, or already too few bins: larger steps only get worse.
        if (count < fewestBins || step > highest)
            return best;
    }
}

}  // namespace

std::int64_t niceStep(double atLeast)
{
    for (int i = 0;; ++i) {
        const Wide step = niceAt(i);
        if (static_cast<double>(step) >= atLeast || niceAt(i + 1) > highest)
            return clamped(step);
    }
}

Histogram histogramOf(const engine::WidthDistribution& widths, std::span<const std::int64_t> marks)
{
    Histogram h;
    if (widths.empty())
        return h;
    const Wide min = widths.minWidth(), max = widths.maxWidth();
    const Wide step = chooseStep(min, max);
    const Wide first = floorDiv(min, step);
    const Wide count = binCount(min, max, step);
    h.binWidth = clamped(step);
    h.bins.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < h.bins.size(); ++i) {
        const Wide from = (first + static_cast<Wide>(i)) * step;
        h.bins[i].from = clamped(from);
        h.bins[i].to = clamped(from + step - 1);
    }
    widths.forEach([&](std::int64_t width, std::uint64_t lines) {
        h.bins[static_cast<std::size_t>(floorDiv(width, step) - first)].lines += lines;
    });
    for (const HistogramBin& bin : h.bins)
        h.tallest = std::max(h.tallest, bin.lines);

    // The axis in bin numbers first: centred when there are few bins, kept
    // off negative widths when there are none.
    Wide lowBin = first, highBin = first + count - 1;
    if (count < narrowestAxis) {
        const Wide spare = narrowestAxis - count;
        lowBin -= spare / 2;
        highBin += spare - spare / 2;
        if (min >= 0 && lowBin < 0) {
            highBin -= lowBin;
            lowBin = 0;
        }
    }
    for (const std::int64_t mark : marks) {
        lowBin = std::min(lowBin, floorDiv(mark, step));
        highBin = std::max(highBin, floorDiv(mark, step));
    }
    h.axisFrom = clamped(lowBin * step);
    h.axisTo = clamped((highBin + 1) * step - 1);
    return h;
}

std::vector<std::int64_t> widthTicks(const Histogram& histogram, int maxTicks)
{
    std::vector<std::int64_t> ticks;
    if (histogram.axisTo < histogram.axisFrom || maxTicks < 1)
        return ticks;
    const Wide span = static_cast<Wide>(histogram.axisTo) - histogram.axisFrom + 1;
    const Wide binWidth = histogram.binWidth;
    // A step of whole bins, so every label stands on a bar's edge.
    Wide step = 1;
    for (int i = 0;; ++i) {
        step = niceAt(i);
        if (step % binWidth == 0 && step * maxTicks >= span)
            break;
        if (step > highest)
            return ticks;
    }
    for (Wide tick = floorDiv(histogram.axisFrom + step - 1, step) * step; tick <= histogram.axisTo; tick += step)
        ticks.push_back(clamped(tick));
    return ticks;
}

CountAxis countAxis(std::uint64_t tallest, int maxTicks)
{
    CountAxis axis;
    const double rough = static_cast<double>(std::max<std::uint64_t>(tallest, 1)) / std::max(maxTicks, 1);
    axis.step = static_cast<std::uint64_t>(niceStep(rough));
    // Rounded up to a whole step, unless that would not fit in 64 bits.
    const std::uint64_t steps = tallest / axis.step + (tallest % axis.step != 0 ? 1 : 0);
    axis.top = steps > std::numeric_limits<std::uint64_t>::max() / axis.step ? tallest
                                                                              : std::max<std::uint64_t>(steps, 1) * axis.step;
    return axis;
}

}  // namespace report
