// What a column is called wherever it is shown, and adding up the tallies
// of the parts of a data set target by target.

#include "ColumnCaption.h"
#include "MeasureFixture.h"
#include "RandomText.h"

using namespace fixture;

namespace {

struct CaptionCase {
    const char* name;
    std::vector<std::string> header;
    bool hasHeader;
    std::size_t column;
    std::string caption;
};

const CaptionCase captionCases[] = {
    {"TheHeaderName", {"id", "name"}, true, 2, "name"},
    {"AnEmptyNameIsNumbered", {"id", ""}, true, 2, "Column 2"},
    {"NoHeaderIsNumbered", {"id", "name"}, false, 2, "Column 2"},
    {"PastTheHeaderIsNumbered", {"id"}, true, 3, "Column 3"},
    {"ALineBreakIsASpace", {"first\nname"}, true, 1, "first name"},
    {"CrLfAndBlankLinesAreOneSpace", {"first\r\n\r\nname"}, true, 1, "first name"},
    {"UnicodeLineSeparatorsToo", {"a\xC2\x85" "b\xE2\x80\xA8" "c"}, true, 1, "a b c"},
    {"OtherControlsShowAsQuestionMarks", {"a\x1B[2Jb\x7F"}, true, 1, "a?[2Jb?"},
    {"DuplicatesStayAsTheyAre", {"x", "x"}, true, 2, "x"},
};

class Captions : public testing::TestWithParam<CaptionCase> {};

TEST_P(Captions, AreOneLineAndNeverEmpty)
{
    const CaptionCase& c = GetParam();
    EXPECT_EQ(engine::columnCaption(c.header, c.hasHeader, c.column), c.caption);
}

INSTANTIATE_TEST_SUITE_P(Names, Captions, testing::ValuesIn(captionCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Two parts measured apart and appended give what the whole gives, for
// every target of a pass.
TEST(MergeTargets, PartsAddUpTargetByTarget)
{
    Font narrow;
    WideFont wide;
    RandomText random(7);
    TempDir dir;
    for (int round = 0; round < 12; ++round) {
        std::string first = random.lines(20 + round), second = random.lines(15);
        if (round % 3 == 1)
            second += "\xE9\n";  // only the second part breaks UTF-8
        engine::MeasureRequest request;
        request.fonts = {&narrow.widths, &wide.widths};
        request.options.maxWidth = everyLine;
        request.source.path = dir.write(first + second, "whole.txt");
        const engine::MeasureResult whole = engine::measure(request);
        request.source.path = dir.write(first, "first.txt");
        engine::MeasureResult part = engine::measure(request);
        request.source.path = dir.write(second, "second.txt");
        engine::MeasureResult later = engine::measure(request);
        ASSERT_EQ(whole.outcome, engine::Outcome::Done);
        part.tally.append(std::move(later.tally));
        EXPECT_EQ(part.tally.encoding, whole.tally.encoding);
        for (std::size_t t = 0; t < 2; ++t) {
            const engine::Measurement joined = engine::resolve(part.tally, t, everyLine);
            const engine::Measurement expected = engine::resolve(whole.tally, t, everyLine);
            EXPECT_TRUE(joined.widths == expected.widths) << "round " << round << ", target " << t;
            EXPECT_EQ(joined.widest, expected.widest) << "round " << round << ", target " << t;
            EXPECT_EQ(joined.tooWide, expected.tooWide) << "round " << round << ", target " << t;
        }
    }
}

}  // namespace
