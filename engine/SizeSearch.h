#pragma once
// The largest listed size of a face at which a share of the lines fits a
// width, exactly as measuring every listed size would answer, found by
// measuring few of them.
//
// Each character of a line adds its width, so a line's width in one size
// lies between its width in a measured size times the least and the
// largest ratio of the two sizes' widths, over the characters the data
// holds; and so does any share's fit, which is one of the lines' widths.
// No size is assumed to be wider than a smaller one: hinting can make it
// narrower. The sizes the bounds leave undecided are measured in further
// passes over the data, the largest first, until every size above the
// answer is proven too wide and the answer and the next size up have been
// measured. A stream that can be read only once is kept in a temporary
// file for the later passes.

#include "CharWidths.h"
#include "Measure.h"
#include "WidthStatistics.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace engine {

struct SizeChoice {
    int points = 0;
    const FontWidths* font = nullptr;
};

struct SizeFit {
    int points = 0;
    std::int64_t fit = 0;  // the share's measured fit, in pixels
    bool operator==(const SizeFit&) const = default;
};

struct FaceAnswer {
    std::optional<SizeFit> fits;  // the largest listed size within the width; none when no size is
    std::optional<SizeFit> next;  // the next listed size up; the smallest when none fits; none above the largest
    bool operator==(const FaceAnswer&) const = default;
};

struct SizeSearchRequest {
    DataSource source;
    std::vector<std::vector<SizeChoice>> faces;  // each face's listed sizes, smallest first
    int percent = 100;         // the share of the lines, 50 to 100
    std::int64_t within = 0;   // the width, in pixels
    MeasureOptions options;    // threads, progress, one column of delimited text
    std::size_t batch = 16;    // the most sizes one pass measures
};

struct SizeSearchResult {
    MeasureResult failed;  // the pass that did not end Done, with what it says
    std::vector<FaceAnswer> faces;
    std::vector<std::size_t> measured;  // the sizes each pass measured
    // Each face's statistics of every size a pass measured, by points.
    std::vector<std::map<int, Statistics>> statistics;
};

SizeSearchResult searchSizes(const SizeSearchRequest& request);

// The share's fit in one font when the same lines measure `fit` in
// another: at least least and at most most (none: no bound from these
// two), over the characters the lines hold.
struct FitBounds {
    std::int64_t least = 0;
    std::optional<std::int64_t> most;
};
FitBounds fitBounds(const FontWidths& font, const FontWidths& measured, std::int64_t fit,
                    const std::set<char32_t>& characters);

// The share's fit of a distribution: the nearest-rank percentile.
std::int64_t shareFit(const WidthDistribution& widths, int percent);

}  // namespace engine
