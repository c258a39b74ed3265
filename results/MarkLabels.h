#pragma once
// Where the chart writes the shares over its marks: one row of labels for
// the measured fits and one for the estimated ones. A label stands centred
// over its mark; marks so close that their labels would touch share one
// label ("90, 95%"), so no share is ever left unlabelled. No Qt, so the
// rule can be checked on its own.

#include <functional>
#include <string>
#include <vector>

namespace report {

struct Mark {
    double x = 0;    // where the mark's line is drawn
    int share = 0;   // 50, 90, 95, 99
};

struct MarkLabel {
    std::string text;         // "99%", "90, 95%"
    double left = 0, width = 0;
    std::vector<int> shares;  // ascending
};

// The labels for one row, left to right: each within 0..rowWidth (as far
// as it fits at all), and at least gap apart.
std::vector<MarkLabel> placeMarkLabels(std::vector<Mark> marks, const std::function<double(const std::string&)>& widthOf,
                                       double rowWidth, double gap);

}  // namespace report
