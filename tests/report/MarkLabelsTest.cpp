// The labels over the chart's marks: however the marks crowd, every share
// is written once, no two labels touch and each stays on the chart.

#include "MarkLabels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Seven pixels a character, as a narrow font gives.
double widthOf(const std::string& text) { return 7.0 * static_cast<double>(text.size()); }

constexpr double rowWidth = 400, gap = 3;

struct LabelCase {
    const char* name;
    std::vector<report::Mark> marks;
    std::vector<std::string> texts;  // left to right
};

class MarkLabelsTest : public testing::TestWithParam<LabelCase> {};

TEST_P(MarkLabelsTest, EveryShareOnceNoneTouchingAllOnTheChart)
{
    const LabelCase& c = GetParam();
    const std::vector<report::MarkLabel> labels = report::placeMarkLabels(c.marks, widthOf, rowWidth, gap);
    std::vector<std::string> texts;
    std::vector<int> shares;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const report::MarkLabel& label = labels[i];
        texts.push_back(label.text);
        shares.insert(shares.end(), label.shares.begin(), label.shares.end());
        EXPECT_EQ(label.width, widthOf(label.text));
        EXPECT_GE(label.left, 0.0) << label.text;
        EXPECT_LE(label.left + label.width, rowWidth) << label.text;
        if (i > 0) {
            EXPECT_GE(label.left, labels[i - 1].left + labels[i - 1].width + gap) << label.text;
        }
    }
    EXPECT_EQ(texts, c.texts);
    std::vector<int> expected;
    for (const report::Mark& mark : c.marks)
        expected.push_back(mark.share);
    std::sort(shares.begin(), shares.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shares, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MarkLabelsTest,
    testing::Values(
        LabelCase{"FarApartEachOwnLabel", {{20, 50}, {120, 90}, {220, 95}, {320, 99}}, {"50%", "90%", "95%", "99%"}},
        LabelCase{"TwoCloseShareOne", {{20, 50}, {200, 90}, {210, 95}, {320, 99}}, {"50%", "90, 95%", "99%"}},
        LabelCase{"AllAtOnePlace", {{100, 50}, {100, 90}, {100, 95}, {100, 99}}, {"50, 90, 95, 99%"}},
        // 90 touches 95, and "90, 95%" then touches 99, which 95 alone did not.
        LabelCase{"MergingSpreadsOn", {{100, 50}, {200, 90}, {222, 95}, {248, 99}}, {"50%", "90, 95, 99%"}},
        LabelCase{"CrowdedAtTheRightEdge", {{20, 50}, {396, 90}, {398, 95}, {399, 99}}, {"50%", "90, 95, 99%"}},
        LabelCase{"CrowdedAtTheLeftEdge", {{0, 50}, {1, 90}, {3, 95}, {300, 99}}, {"50, 90, 95%", "99%"}},
        LabelCase{"GivenOutOfOrder", {{320, 99}, {20, 50}, {220, 95}, {120, 90}}, {"50%", "90%", "95%", "99%"}},
        // 21 pixels a label and 3 between: 24 apart is clear.
        LabelCase{"JustClear", {{100, 90}, {124, 95}}, {"90%", "95%"}},
        LabelCase{"JustTouching", {{100, 90}, {123, 95}}, {"90, 95%"}},
        LabelCase{"NoMarks", {}, {}}),
    [](const testing::TestParamInfo<LabelCase>& info) { return std::string(info.param.name); });

}  // namespace
