// The Sizes view's rows apart from the window: which sizes stand round
// the chosen one at the ends of the list, where the answer's row goes,
// the cells' figures, and a request that measures the font as measured.

#include "SizeRows.h"

#include <gtest/gtest.h>

#include <numeric>

#include <unistd.h>

namespace {

struct Round {
    const char* name;
    int chosen;
    int first, last;
};

class SizesRound : public testing::TestWithParam<Round> {};

TEST_P(SizesRound, FourEachSideAsFarAsTheListGoes)
{
    const Round& r = GetParam();
    std::vector<int> expected(static_cast<std::size_t>(r.last - r.first + 1));
    std::iota(expected.begin(), expected.end(), r.first);
    EXPECT_EQ(report::neighbouringSizes(r.chosen), expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizesRound,
                         testing::Values(Round{"InTheMiddle", 10, 6, 14}, Round{"TheFirst", 1, 1, 5},
                                         Round{"ThreeFromTheFirst", 3, 1, 7}, Round{"FiveFromTheFirst", 5, 1, 9},
                                         Round{"TheLast", 144, 140, 144}, Round{"NextToTheLast", 143, 139, 144},
                                         Round{"NothingChosen", 0, 1, 5},
                                         Round{"PastTheLast", 200, 140, 144}, Round{"BelowTheFirst", -3, 1, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<report::SizeRow> rowsOf(std::initializer_list<int> sizes)
{
    std::vector<report::SizeRow> rows;
    for (const int size : sizes)
        rows.push_back({size, {}});
    return rows;
}

std::vector<int> sizesOf(const std::vector<report::SizeRow>& rows)
{
    std::vector<int> sizes;
    for (const report::SizeRow& row : rows)
        sizes.push_back(row.points);
    return sizes;
}

struct Answer {
    const char* name;
    int points;
    std::size_t index;
    std::vector<int> after;
};

class AnswerRow : public testing::TestWithParam<Answer> {};

TEST_P(AnswerRow, FoundOrAddedInOrderOfSize)
{
    const Answer& a = GetParam();
    std::vector<report::SizeRow> rows = rowsOf({6, 7, 8, 9, 10, 11, 12, 13, 14});
    engine::Statistics added;
    added.MaxWidth = 777;
    EXPECT_EQ(report::rowFor(rows, a.points, added), a.index);
    EXPECT_EQ(sizesOf(rows), a.after);
    EXPECT_EQ(rows[a.index].points, a.points);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AnswerRow,
    testing::Values(Answer{"AmongThem", 9, 3, {6, 7, 8, 9, 10, 11, 12, 13, 14}},
                    Answer{"TheFirstOfThem", 6, 0, {6, 7, 8, 9, 10, 11, 12, 13, 14}},
                    Answer{"Smaller", 2, 0, {2, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
                    Answer{"Larger", 30, 9, {6, 7, 8, 9, 10, 11, 12, 13, 14, 30}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SizeRowCells, SizeLongestMeasured95And99Estimated99)
{
    report::SizeRow row{12, {}};
    row.statistics.MaxWidth = 301;
    row.statistics.exactFits = {10, 20, 30, 40, 50, 250, 290};
    row.statistics.fits = {1, 2, 3, 4, 5, 6, 312.5};  // halves away from zero, as the window's labels
    EXPECT_EQ(report::rowCells(row), (std::array<std::string, 5>{"12", "301", "250", "290", "313"}));
}

TEST(SizesRequest, TheSameDataColumnAndStyleInEachSize)
{
    report::SizesSource source;
    source.data.path = "/data/people.csv";
    source.delimited = engine::DelimitedFormat{};
    source.delimited->header = false;
    source.delimited->columns = {engine::ColumnChoice::byNumber(3)};
    source.selections = engine::defaultSelections();
    source.selections.faceText = "DejaVu Sans";
    source.selections.italic = 1;
    source.selections.weightIndex = 6;
    source.logPixelsY = 120;
    const engine::CalculationRequest request = report::sizesRequest(source, {9, 10});
    EXPECT_TRUE(request.dataFileChosen);
    EXPECT_EQ(request.data.path, "/data/people.csv");
    ASSERT_TRUE(request.options.delimited);
    EXPECT_FALSE(request.options.delimited->header);
    EXPECT_EQ(request.options.delimited->columns, source.delimited->columns);
    ASSERT_EQ(request.fonts.size(), 2u);
    EXPECT_EQ(request.fonts[0].lfHeight, -15);  // 9 points at 120 dpi
    EXPECT_EQ(request.fonts[1].lfHeight, -17);  // 10 points, rounded as the main window rounds it
    for (const LOGFONTA& lf : request.fonts) {
        EXPECT_EQ(lf.lfItalic, 1);
        EXPECT_EQ(lf.lfWeight, 600);
        EXPECT_STREQ(lf.lfFaceName, "DejaVu Sans");
    }
}

TEST(SizesAgain, AFileAsMeasuredCanBeMeasuredAgain)
{
    char name[] = "/tmp/sizes-again-XXXXXX";
    const int fd = ::mkstemp(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "Ann\n", 4), 4);
    report::SizesSource source;
    source.data.path = name;
    source.stamp = engine::fileStamp(source.data);
    EXPECT_EQ(report::notMeasurableAgain(source), "");
    ASSERT_EQ(::write(fd, "Bo\n", 3), 3);  // written since
    EXPECT_NE(report::notMeasurableAgain(source).find("has changed since it was measured"), std::string::npos);
    source.stamp.reset();  // not known: taken as it is
    EXPECT_EQ(report::notMeasurableAgain(source), "");
    ::close(fd);
    ::unlink(name);
    EXPECT_EQ(report::notMeasurableAgain(source), "");  // gone: the reading says so
}

TEST(SizesAgain, StandardInputAndNothingAreSaidSo)
{
    report::SizesSource source;
    EXPECT_EQ(report::notMeasurableAgain(source), "There is no data file to measure in other sizes.");
    source.data.standardInput = true;
    EXPECT_NE(report::notMeasurableAgain(source).find("cannot be read a second time"), std::string::npos);
}

}  // namespace
