#include "MarkLabels.h"

#include <algorithm>

namespace report {

namespace {

struct Cluster {
    std::vector<Mark> marks;  // by x
};

std::string labelText(const std::vector<int>& shares)
{
    std::string text;
    for (const int share : shares)
        text += (text.empty() ? "" : ", ") + std::to_string(share);
    return text + "%";
}

MarkLabel labelOf(const Cluster& cluster, const std::function<double(const std::string&)>& widthOf, double rowWidth)
{
    MarkLabel label;
    for (const Mark& mark : cluster.marks)
        label.shares.push_back(mark.share);
    std::sort(label.shares.begin(), label.shares.end());
    label.text = labelText(label.shares);
    label.width = widthOf(label.text);
    // Centred over the marks it stands for, then kept within the row.
    const double centre = (cluster.marks.front().x + cluster.marks.back().x) / 2;
    label.left = std::max(0.0, std::min(centre - label.width / 2, rowWidth - label.width));
    return label;
}

}  // namespace

std::vector<MarkLabel> placeMarkLabels(std::vector<Mark> marks, const std::function<double(const std::string&)>& widthOf,
                                       double rowWidth, double gap)
{
    std::stable_sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) { return a.x < b.x; });
    std::vector<Cluster> clusters;
    for (const Mark& mark : marks)
        clusters.push_back({{mark}});
    // Merge the first two neighbours that touch, until none do; a merged
    // label is wider and may then touch the next one.
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i + 1 < clusters.size(); ++i) {
            const MarkLabel a = labelOf(clusters[i], widthOf, rowWidth);
            const MarkLabel b = labelOf(clusters[i + 1], widthOf, rowWidth);
            if (b.left < a.left + a.width + gap) {
                clusters[i].marks.insert(clusters[i].marks.end(), clusters[i + 1].marks.begin(),
                                         clusters[i + 1].marks.end());
                clusters.erase(clusters.begin() + static_cast<std::ptrdiff_t>(i) + 1);
                merged = true;
                break;
            }
        }
    }
    std::vector<MarkLabel> labels;
    for (const Cluster& cluster : clusters)
        labels.push_back(labelOf(cluster, widthOf, rowWidth));
    return labels;
}

}  // namespace report
