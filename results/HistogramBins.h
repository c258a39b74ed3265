#pragma once
// The bars of the results window's histogram: the measured widths gathered
// into about 30 to 60 bins of a whole, round number of pixels, however wide
// or sparse the widths are, and the round values the axes are labelled at.
// No Qt, so the rule can be checked on its own.

#include "WidthDistribution.h"

#include <cstdint>
#include <span>
#include <vector>

namespace report {

struct HistogramBin {
    std::int64_t from = 0;  // the narrowest width the bin holds
    std::int64_t to = 0;    // the widest, inclusive: a bin may end at the largest width there is
    std::uint64_t lines = 0;

    bool operator==(const HistogramBin&) const = default;
};

struct Histogram {
    std::int64_t binWidth = 1;
    // Adjacent and ascending, from the bin of the narrowest line to that of
    // the widest; empty bins between them included.
    std::vector<HistogramBin> bins;
    std::uint64_t tallest = 0;  // the most lines in one bin
    // The widths the axis spans, both inclusive and on bin edges: the bins,
    // widened when there are only a few so one bar does not fill the chart,
    // and widened to show the marks asked for.
    std::int64_t axisFrom = 0;
    std::int64_t axisTo = -1;
};

// Bins are whole multiples of the width chosen: 1, 2, 5, 10, 20, 25, 50,
// 100, 200, 250, 500... pixels, the one that gives closest to 30..60 bins.
inline constexpr int fewestBins = 30, mostBins = 60;
// Fewer bins than this are centred in an axis this many bins wide.
inline constexpr int narrowestAxis = 10;

// The smallest of 1, 2, 5, 10, 20, 25, 50, 100... that is at least atLeast.
std::int64_t niceStep(double atLeast);

// The histogram of widths, its axis stretched to take in every mark (an
// estimated fit may lie beyond the widest line). Empty widths: no bins.
Histogram histogramOf(const engine::WidthDistribution& widths, std::span<const std::int64_t> marks = {});

// Round widths on the axis to label, at most about maxTicks of them, on
// multiples of the bin width.
std::vector<std::int64_t> widthTicks(const Histogram& histogram, int maxTicks);

// The line-count axis: from 0 to top, labelled every step, top at or just
// above the tallest bar.
struct CountAxis {
    std::uint64_t top = 1;
    std::uint64_t step = 1;
};
CountAxis countAxis(std::uint64_t tallest, int maxTicks);

}  // namespace report
