// Every column of a table at once, from the real tool: each column as it
// is alone, the table and its JSON, the width each column is sized for,
// and check mode's lines naming their column.

#include "CsvModel.h"
#include "RandomText.h"
#include "ToolRun.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Outcome = ToolOutcome;

// Every character 8 pixels wide, the digits too.
const std::string mono = "--face 'DejaVu Sans Mono' --size 10 ";

// The text between two markers, from the first after `from`.
std::string between(const std::string& text, const std::string& begin, const std::string& end, std::size_t from = 0)
{
    const std::size_t start = text.find(begin, from);
    if (start == std::string::npos)
        return "(no " + begin + ")";
    const std::size_t stop = text.find(end, start);
    return stop == std::string::npos ? "(no " + end + ")" : text.substr(start, stop - start);
}

// A column's figures in the table's JSON, and the same in --json of it alone.
std::string tableFigures(const std::string& json, std::size_t number)
{
    const std::size_t at = json.find("{\"Number\":" + std::to_string(number) + ",");
    return at == std::string::npos ? "(no column " + std::to_string(number) + ")"
                                   : between(json, "\"LineCount\"", ",\"HeaderWidth\"", at);
}
std::string aloneFigures(const std::string& json) { return between(json, "\"LineCount\"", ",\"Face\""); }

TEST_F(ToolRun, EveryColumnIsWhatThatColumnAloneGives)
{
    fixture::RandomText random(1717);
    int measured = 0;
    for (int round = 0; round < 10; ++round) {
        const std::string bytes = random.encoded(random.records(30 + 9 * round, ',', true));
        const fixture::CsvModel model = fixture::csvModel(bytes, ',');
        if (model.unclosedQuoteLine != 0)
            continue;
        ++measured;
        write("data.csv", bytes);
        const std::string threads = std::to_string(1 + round % 4);
        SCOPED_TRACE("round " + std::to_string(round) + ", threads " + threads);
        const Outcome all = run(mono + "--json --threads " + threads + " --column all " + quoted("data.csv"));
        ASSERT_EQ(all.status, 0) << all.err;
        std::size_t longer = 0;
        for (std::size_t r = 1; r < model.records.size(); ++r)
            longer += model.records[r].fields.size() > 4;
        EXPECT_NE(all.out.find(",\"LongRecords\":" + std::to_string(longer) + "}"), std::string::npos) << all.out;
        // The header "id,name,"no⏎te",city": its fields' widest lines.
        const int headerWidths[] = {16, 32, 16, 32};
        for (std::size_t c = 1; c <= 4; ++c) {
            const Outcome alone = run(mono + "--json --threads 1 --column " + std::to_string(c) + " " + quoted("data.csv"));
            ASSERT_EQ(alone.status, 0) << alone.err;
            EXPECT_EQ(tableFigures(all.out, c), aloneFigures(alone.out)) << "column " << c;
            EXPECT_NE(all.out.find("\"HeaderWidth\":" + std::to_string(headerWidths[c - 1]) + ",", all.out.find(
                                       "{\"Number\":" + std::to_string(c) + ",")),
                      std::string::npos);
        }
        EXPECT_EQ(all.out.find("{\"Number\":5,"), std::string::npos) << "a field past the header is no column";
    }
    EXPECT_GE(measured, 6);
}

TEST_F(ToolRun, TheTableNamesEveryColumnAndSaysWhatWasLeftOut)
{
    // An empty name, a name twice, a name over two lines; a record longer
    // than the header and one shorter.
    const std::string data =
        write("ragged.csv", "id,,name,name,\"first\nname\"\n1,,Ann,Bo,x\n22,q,Christopher,D,yy,extra\n333\n");
    const Outcome r = run(mono + "--column all '" + data + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Data File: " + data + " (UTF-8, 3 records)\n"
              "Font: DejaVu Sans Mono 10 point, Normal; widest digit 8 pixels\n"
              "\n"
              "#  Column      Values  Shortest  Longest  Average  99% estimated  99% measured  Header  Sized  "
              "Characters  Col width\n"
              "1  id               3         8       24     16.0             35            24      16     24        "
              "3.00      3.625\n"
              "2  Column 2         3         0        8      2.7             13             8       0      8        "
              "1.00      1.625\n"
              "3  name             3         0       88     37.3            143            88      32     88       "
              "11.00     11.625\n"
              "4  name             3         0       16      8.0             27            16      32     32        "
              "4.00      4.625\n"
              "5  first name       3         0       16      8.0             27            16      40     40        "
              "5.00      5.625\n"
              "\n"
              "Widths in pixels. Sized: the longest value, or the header where that is wider.\n"
              "Characters and Col width: the sized width in spreadsheet units.\n"
              "1 record has more fields than the header names: the fields past its last column belong to no column.\n");
}

struct ShapeCase {
    const char* name;
    std::string arguments;
    bool oneColumnFile;
    std::string begins;
};

class OutputShape : public ToolRun, public testing::WithParamInterface<ShapeCase> {};

// One column is measured as it always was; a list or every column, even of
// a file of one column, is a table.
TEST_P(OutputShape, FollowsTheColumnsAskedFor)
{
    const std::string data = GetParam().oneColumnFile ? write("single.csv", "name\nAnn\nBo\n")
                                                      : write("people.csv", "name,city\nAnn,Oslo\nBo,Rio\n");
    const Outcome r = run(mono + GetParam().arguments + " '" + data + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, GetParam().begins.size()), GetParam().begins) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, OutputShape,
    testing::Values(ShapeCase{"OneColumnReport", "--column 2", false, "Font Face: DejaVu Sans Mono\r\n"},
                    ShapeCase{"OneColumnJson", "--json --column city", false, "{\"LineCount\":2,"},
                    ShapeCase{"AllTable", "--column all", false, "Data File: "},
                    ShapeCase{"AllJson", "--json --column all", false, "{\"Columns\":[{\"Number\":1,\"Column\":\"name\""},
                    ShapeCase{"ListJson", "--json --column city,1", false,
                              "{\"Columns\":[{\"Number\":2,\"Column\":\"city\""},
                    ShapeCase{"RepeatedJson", "--json --column 2 --column name", false, "{\"Columns\":[{\"Number\":2,"},
                    ShapeCase{"AllOfOneColumn", "--json --column all", true, "{\"Columns\":[{\"Number\":1,"}),
    [](const auto& info) { return std::string(info.param.name); });

// Several faces and sizes: each font's table is the one measuring it alone
// gives, in the order given, on any thread count.
TEST_F(ToolRun, SeveralFontsGiveEachFontsTableAsMeasuredAlone)
{
    fixture::RandomText random(1818);
    const std::string bytes = random.encoded(random.records(60, ',', true));
    if (fixture::csvModel(bytes, ',').unclosedQuoteLine != 0)
        GTEST_SKIP() << "the random file ends inside quotes";
    const std::string data = quoted(write("data.csv", bytes));
    const std::vector<std::pair<std::string, std::string>> fonts = {
        {"DejaVu Sans", "8"}, {"DejaVu Sans", "11"}, {"Liberation Serif", "8"}, {"Liberation Serif", "11"}};
    for (const std::string output : {"", "--json "}) {
        std::string alone = output.empty() ? "" : "{\"Fonts\":[";
        for (std::size_t f = 0; f < fonts.size(); ++f) {
            const Outcome one = run(output + "--threads 1 --column all --face '" + fonts[f].first + "' --size " +
                                    fonts[f].second + " " + data);
            ASSERT_EQ(one.status, 0) << one.err;
            if (f > 0)
                alone += output.empty() ? "\n" : ",";
            alone += output.empty() ? one.out : one.out.substr(0, one.out.size() - 1);
        }
        if (!output.empty())
            alone += "]}\n";
        for (const char* threads : {"1", "3"}) {
            const Outcome all = run(output + "--threads " + threads +
                                    " --column all --face 'DejaVu Sans' --face 'Liberation Serif' --size 8,11 " + data);
            ASSERT_EQ(all.status, 0) << all.err;
            EXPECT_EQ(all.out, alone) << output << "threads " << threads;
        }
    }
}

TEST_F(ToolRun, TheJsonNamesTheFontAndEncodingOnce)
{
    const std::string data = write("people.csv", "name,city\nAnn,Oslo\nBo,Rio\n");
    const Outcome r = run(mono + "--json --column all '" + data + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto count = [&](const std::string& field) {
        std::size_t n = 0;
        for (std::size_t at = r.out.find(field); at != std::string::npos; at = r.out.find(field, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("\"Face\""), 1u);
    EXPECT_EQ(count("\"Encoding\""), 1u);
    EXPECT_EQ(count("\"Dpi\""), 1u);
    EXPECT_EQ(count("\"ExcelWidth\""), 2u);
    EXPECT_NE(r.out.find("],\"MaxDigitWidth\":8,\"Fit\":100,\"HeaderWeight\":\"Normal\",\"Face\":\"DejaVu Sans Mono\","
                         "\"Size\":\"10\",\"Dpi\":96,\"Encoding\":\"UTF-8\",\"Records\":2,\"LongRecords\":0}\n"),
              std::string::npos)
        << r.out;
}

TEST_F(ToolRun, WithoutAHeaderTheWidestRecordTellsHowManyColumns)
{
    const std::string data = write("loose.csv", "a\nb,c,d\ne,f\n");
    const Outcome r = run(mono + "--json --no-header --column all '" + data + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"Number\":3,\"Column\":\"Column 3\",\"LineCount\":3,\"MinWidth\":0,\"MaxWidth\":8,"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("{\"Number\":4,"), std::string::npos);
    EXPECT_NE(r.out.find("\"HeaderWidth\":0,"), std::string::npos);
}

// Values 8 to 80 pixels wide (one to ten characters) under a short header,
// and under a long one.
struct SizingCase {
    const char* name;
    std::string options;
    int sizedShort;
    int sizedLong;
};

class Sizing : public ToolRun, public testing::WithParamInterface<SizingCase> {};

TEST_P(Sizing, IsTheFitOrTheHeader)
{
    std::string bytes = "h,Header of twenty-one.\n";
    for (int n = 1; n <= 10; ++n)
        bytes += std::string(static_cast<std::size_t>(n), 'x') + "," + std::string(static_cast<std::size_t>(n), 'y') + "\n";
    const std::string data = write("sizes.csv", bytes);
    const Outcome r = run(mono + "--json --column all " + GetParam().options + " '" + data + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"HeaderWidth\":8,\"SizedWidth\":" + std::to_string(GetParam().sizedShort) + ","),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"HeaderWidth\":168,\"SizedWidth\":" + std::to_string(GetParam().sizedLong) + ","),
              std::string::npos)
        << r.out;
}

INSTANTIATE_TEST_SUITE_P(Fits, Sizing,
                         testing::Values(SizingCase{"LongestByDefault", "", 80, 168},
                                         SizingCase{"Longest", "--fit 100", 80, 168},
                                         SizingCase{"NinetyPercent", "--fit 90", 72, 168},  // the 9th of 10
                                         SizingCase{"Median", "--fit 50", 40, 168},         // the 5th of 10
                                         SizingCase{"NinetyNine", "--fit 99", 80, 168}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolRun, TheHeaderIsMeasuredInItsOwnWeightAndTheDigitsInTheFonts)
{
    // The widths of codes 32 to 126, as --char-widths gives them.
    const auto widths = [&](const std::string& weight) {
        const Outcome r = run("--face 'DejaVu Sans' --size 11 --char-widths --weight " + weight);
        std::vector<int> list;
        std::string numbers = between(r.out, "[", "]").substr(1);
        for (std::size_t at = 0; at < numbers.size();) {
            const std::size_t comma = numbers.find(',', at);
            list.push_back(std::stoi(numbers.substr(at, comma - at)));
            at = comma == std::string::npos ? numbers.size() : comma + 1;
        }
        return list;
    };
    const std::vector<int> normal = widths("Normal"), bold = widths("Bold");
    ASSERT_EQ(normal.size(), 95u);
    ASSERT_EQ(bold.size(), 95u);
    const auto sum = [](const std::vector<int>& table, const std::string& text) {
        int width = 0;
        for (const char c : text)
            width += table[static_cast<std::size_t>(c - 32)];
        return width;
    };
    const int digits = *std::max_element(normal.begin() + ('0' - 32), normal.begin() + ('9' - 32) + 1);
    const std::string data = write("sheet.csv", "Customer Number,Amount Due\n1,2\n");
    for (const auto& [weight, table] : {std::pair{std::string("Normal"), normal}, std::pair{std::string("Bold"), bold}}) {
        const Outcome r =
            run("--face 'DejaVu Sans' --size 11 --json --column all --header-weight " + weight + " '" + data + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("\"HeaderWidth\":" + std::to_string(sum(table, "Customer Number")) + ","), std::string::npos)
            << weight << ": " << r.out;
        EXPECT_NE(r.out.find("\"HeaderWidth\":" + std::to_string(sum(table, "Amount Due")) + ","), std::string::npos)
            << weight;
        EXPECT_NE(r.out.find("\"MaxDigitWidth\":" + std::to_string(digits) + ","), std::string::npos) << weight;
    }
    EXPECT_GT(sum(bold, "Customer Number"), sum(normal, "Customer Number"));
}

struct CheckCase {
    const char* name;
    std::string arguments;
    int status;
    std::string out;
};

class SeveralColumnsCheck : public ToolRun, public testing::WithParamInterface<CheckCase> {};

TEST_P(SeveralColumnsCheck, PrintsEachWideValueWithItsColumn)
{
    // Record 2 spans lines 3 and 4.
    const std::string data =
        write("places.csv", "id,name,city\n1,Ann,Oslo\n2,\"Chris\ntopher\",Rio\n3,Bo,Copenhagen\n4,Di,Lima\n");
    const Outcome r = run(mono + GetParam().arguments + " '" + data + "'");
    EXPECT_EQ(r.status, GetParam().status) << r.err;
    EXPECT_EQ(r.out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, SeveralColumnsCheck,
    testing::Values(CheckCase{"Every", "--max-width 30 --column all", 1,
                              "1:2:3:32:Oslo\n2:3:2:48:Chris\xE2\x86\xB5topher\n3:5:3:80:Copenhagen\n4:6:3:32:Lima\n"},
                    CheckCase{"NamedInAnyOrder", "--max-width 40 --column city,name", 1,
                              "2:3:2:48:Chris\xE2\x86\xB5topher\n3:5:3:80:Copenhagen\n"},
                    CheckCase{"ByNumberAndName", "--max-width 30 --column 1 --column name", 1,
                              "2:3:2:48:Chris\xE2\x86\xB5topher\n"},
                    CheckCase{"AllFit", "--max-width 80 --column all", 0, ""},
                    CheckCase{"OneColumnAsAlways", "--max-width 30 --column city", 1,
                              "1:2:32:Oslo\n3:5:80:Copenhagen\n4:6:32:Lima\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
