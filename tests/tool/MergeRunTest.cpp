// --merge, run as a user or a cluster's reducer runs it: parts that belong
// together merge to the whole, and anything --histogram did not write is
// refused with the part's name and what is wrong.

#include "ToolRun.h"

#include <string>

namespace {

class MergeRun : public ToolRun {
protected:
    // The --histogram output for data measured with the given options.
    std::string histogram(const std::string& name, const std::string& data, const std::string& options)
    {
        write(name, data);
        const ToolOutcome part = run("--histogram " + options + " " + quoted(name));
        EXPECT_EQ(part.status, 0) << part.err;
        return part.out;
    }
};

// Records over several lines, cut into parts between records: the merged
// widest records start on the lines they start on in the whole.
TEST_F(MergeRun, DelimitedPartsKeepTheLinesTheirRecordsStartOn)
{
    const std::string options = "--face 'DejaVu Sans' --size 10 --no-header --column 2";
    const std::string parts[] = {
        "1,\"first\nline\"\n2,short\n",
        "3,\"a much\nlonger\nvalue\"\r\n4,x\r\n",
        "5,\"the widest value of all\"\n6,\"two\nlines\"\n",
    };
    write("whole.csv", parts[0] + parts[1] + parts[2]);
    const ToolOutcome whole = run("--json " + options + " " + quoted("whole.csv"));
    ASSERT_EQ(whole.status, 0) << whole.err;
    ASSERT_NE(whole.out.find("{\"Record\":3,\"Line\":4,"), std::string::npos) << whole.out;

    std::string names;
    for (int k = 0; k < 3; ++k) {
        const std::string name = "part" + std::to_string(k);
        write(name + ".json", histogram(name + ".csv", parts[k], options));
        (names += ' ') += quoted(name + ".json");
    }
    const ToolOutcome merged = run("--merge --json" + names);
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, whole.out);
}

TEST_F(MergeRun, ASizeWithALeadingZeroIsThatSize)
{
    write("a.json", histogram("a.txt", "abc\nde\n", "--face 'DejaVu Sans' --size 010"));
    write("b.json", histogram("b.txt", "fgh\n", "--face 'DejaVu Sans' --size 10"));
    const ToolOutcome merged = run("--merge " + quoted("a.json") + " " + quoted("b.json"));
    EXPECT_EQ(merged.status, 0) << merged.err;
    EXPECT_NE(merged.out.find("Font Size: 10\r\n"), std::string::npos) << merged.out;
}

}  // namespace

// One edit of a real part: the first occurrence of `find` in its tally (or
// in the fields before it) becomes `replace`.
struct Edit {
    std::string find, replace;
    bool inTally = true;
};

struct DamageCase {
    const char* name;
    bool delimited;
    std::vector<Edit> edits;
    std::string problem;  // what the refusal must say
};

class DamagedPart : public MergeRun, public testing::WithParamInterface<DamageCase> {};

// 8 pixels a character in this face at 10 points: widths 8, 16 and 24.
const std::string monoFont = "--face 'DejaVu Sans Mono' --size 10";

TEST_P(DamagedPart, IsRefusedWithWhereAndWhat)
{
    const DamageCase& c = GetParam();
    std::string part = c.delimited ? histogram("data.csv", "id,name\n1,a\n2,\"b\nbb\"\n3,ccc\n", monoFont + " --column 2")
                                   : histogram("data.txt", "a\nbb\nccc\n", monoFont);
    for (const Edit& edit : c.edits) {
        const std::size_t tally = part.find("\"Tally\"");
        const std::size_t at = edit.inTally ? part.find(edit.find, tally) : part.find(edit.find);
        ASSERT_NE(at, std::string::npos) << edit.find << " in " << part;
        ASSERT_TRUE(edit.inTally || at <= tally) << edit.find;
        part.replace(at, edit.find.size(), edit.replace);
    }
    write("data.json", part);
    const ToolOutcome r = run("--merge " + quoted("data.json"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("data.json' is not what spanwick-measure --histogram writes: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.problem), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Parts, DamagedPart,
    testing::Values(
        DamageCase{"FractionalWidth", false, {{"[16,1]", "[16.5,1]"}},
                   "Tally.Readings.Common.Histogram[1] width is 16.5, not a whole number"},
        DamageCase{"WidthPast64Bits", false, {{"[24,1]", "[1e300,1]"}}, "Histogram[2] width is 1e+300, not a whole"},
        DamageCase{"WidestWidthPast64Bits", false, {{"\"Width\":24", "\"Width\":1e300"}},
                   "Common.Widest[0].Width is 1e+300, not a whole number"},
        DamageCase{"NegativeWidthInTheHistogram", false, {{"[[8,1]", "[[-8,1]"}},
                   "Common.Widest[2].Width is 8 where the histogram's widest widths call for -8"},
        DamageCase{"NegativeWidthAllThroughTheTally", false,
                   {{"[[8,1]", "[[-8,1]"}, {"\"Line\":1,\"Width\":8", "\"Line\":1,\"Width\":-8"}},
                   "Histogram and the line count and widths beside it are not those of the tally"},
        DamageCase{"WidestWiderThanTheMaximum", false, {{"\"Width\":24", "\"Width\":99"}},
                   "Common.Widest[0].Width is 99 where the histogram's widest widths call for 24"},
        DamageCase{"WidestMissingALine", false, {{",{\"Line\":1,\"Width\":8,\"Text\":\"a\"}", ""}},
                   "Common.Widest names 2 lines, not the 3 widest of its histogram"},
        DamageCase{"WidestOutOfOrder", false,
                   {{"{\"Line\":2,\"Width\":16,\"Text\":\"bb\"}", "{\"Line\":2,\"Width\":8,\"Text\":\"bb\"}"},
                    {"{\"Line\":1,\"Width\":8", "{\"Line\":1,\"Width\":16"}},
                   "Common.Widest[1].Width is 8 where the histogram's widest widths call for 16"},
        DamageCase{"LineNamedTwice", false, {{"\"Line\":2", "\"Line\":3"}}, "Common.Widest[1] names a line named before it"},
        DamageCase{"LineZero", false, {{"\"Line\":1,", "\"Line\":0,"}}, "Widest[2].Line is 0, not a whole number from 1 to 3"},
        DamageCase{"LinePastTheCount", false, {{"\"Line\":3", "\"Line\":4"}}, "Widest[0].Line is 4, not a whole number from 1 to 3"},
        DamageCase{"RecordPastTheCount", true, {{"\"Record\":3", "\"Record\":7"}}, "Widest[0].Record is 7"},
        DamageCase{"StartLinePastTheData", true, {{"\"Line\":5", "\"Line\":50"}}, "Widest[0].Line is 50"},
        DamageCase{"ZeroCount", false, {{"[8,1]", "[8,0]"}}, "Histogram[0] count is 0, not a whole number, 1 or more"},
        DamageCase{"NegativeCount", false, {{"[8,1]", "[8,-1]"}}, "Histogram[0] count is -1"},
        DamageCase{"FractionalCount", false, {{"[8,1]", "[8,0.5]"}}, "Histogram[0] count is 0.5"},
        DamageCase{"WidthsOutOfOrder", false, {{"[[8,1],[16,1]", "[[16,1],[8,1]"}},
                   "Common.Histogram[1] does not follow a narrower width"},
        DamageCase{"NotAPair", false, {{"[8,1]", "[8,1,1]"}}, "Histogram[0] is a list, not a [width, count] pair"},
        DamageCase{"LineCountOfTheTally", false, {{"\"LineCount\":3", "\"LineCount\":4"}},
                   "Tally.LineCount is 4, not the lines its readings count"},
        DamageCase{"LineCountBesideTheTally", false, {{"\"LineCount\":3", "\"LineCount\":4", false}},
                   "Histogram and the line count and widths beside it are not those of the tally"},
        DamageCase{"MaximumBesideTheTally", false, {{"\"MaxWidth\":24", "\"MaxWidth\":25", false}},
                   "not those of the tally"},
        DamageCase{"TextAsLineCount", false, {{"\"LineCount\":3", "\"LineCount\":\"3\""}},
                   "Tally.LineCount is the text '3', not a whole number, 0 or more"},
        DamageCase{"SizeWithAUnit", false, {{"\"Size\":\"10\"", "\"Size\":\"10pt\""}},
                   "Tally.Font.Size is '10pt', not a whole number from 1 to 4096"},
        DamageCase{"ItalicTwo", false, {{"\"Italic\":0", "\"Italic\":2"}}, "Tally.Font.Italic is 2, not a whole number from 0 to 1"},
        DamageCase{"UnknownWeight", false, {{"\"Weight\":\"Normal\"", "\"Weight\":\"Bolder\""}},
                   "Tally.Font.Weight is 'Bolder', not a weight"},
        DamageCase{"DpiZero", false, {{"\"Dpi\":96", "\"Dpi\":0"}}, "Tally.Font.Dpi is 0, not a whole number from 1 to 10000"},
        DamageCase{"UnknownKind", false, {{"\"Kind\":\"8-bit\"", "\"Kind\":\"7-bit\""}}, "Tally.Kind is '7-bit'"},
        DamageCase{"QuoteAsDelimiter", true, {{"\"Delimiter\":\",\"", "\"Delimiter\":\"\\\"\""}},
                   "Tally.Format.Delimiter is '\"', not a delimiter"},
        DamageCase{"NoTally", false, {{"\"Tally\":{", "\"Tallies\":{", false}}, "Tally is missing"},
        DamageCase{"NotJson", false, {{"{\"LineCount\"", "LineCount", false}}, "it is not JSON"}),
    [](const auto& info) { return std::string(info.param.name); });

// A part of 9×10^18 lines, each 8 pixels wide: real-looking, and three of
// them hold more lines than 64 bits count.
TEST_F(MergeRun, LineTotalsPast64BitsAreRefused)
{
    std::string part = histogram("a.txt", "a\n", monoFont);
    const std::string many = "9000000000000000000";
    std::string widest;
    for (int line = 1; line <= 10; ++line)
        widest += std::string(line > 1 ? "," : "") + "{\"Line\":" + std::to_string(line) + ",\"Width\":8,\"Text\":\"a\"}";
    const std::pair<std::string, std::string> edits[] = {
        {"\"LineCount\":1,", "\"LineCount\":" + many + ","},
        {"\"Histogram\":[[8,1]]", "\"Histogram\":[[8," + many + "]]"},
        {"\"Widest\":[{\"Line\":1,\"Width\":8,\"Text\":\"a\"}]", "\"Widest\":[" + widest + "]"},
    };
    for (const auto& [find, replace] : edits)
        for (std::size_t at; (at = part.find(find)) != std::string::npos;)
            part.replace(at, find.size(), replace);
    write("big.json", part);

    const ToolOutcome two = run("--merge --json " + quoted("big.json") + " " + quoted("big.json"));
    EXPECT_EQ(two.status, 0) << two.err;
    EXPECT_NE(two.out.find("\"LineCount\":18000000000000000000,"), std::string::npos) << two.out;

    const ToolOutcome three = run("--merge " + quoted("big.json") + " " + quoted("big.json") + " " + quoted("big.json"));
    EXPECT_EQ(three.status, 2);
    EXPECT_NE(three.err.find("the parts hold more lines than a 64-bit count can hold"), std::string::npos)
        << three.err;
}

// Parts written before the size was spelt as the list spells it, or before
// delimited parts kept their records' lines, still merge.
TEST_F(MergeRun, PartsOfTheEarlierReleaseMerge)
{
    std::string older = histogram("a.csv", "id,name\n1,\"x\ny\"\n", monoFont + " --column 2");
    for (const auto& [find, replace] : {std::pair<std::string, std::string>{"\"Size\":\"10\"", "\"Size\":\"010\""},
                                        {"\"Record\":1,\"Line\":2", "\"Record\":1,\"Line\":0"}}) {
        const std::size_t at = older.find(find, older.find("\"Tally\""));
        ASSERT_NE(at, std::string::npos) << find;
        older.replace(at, find.size(), replace);
    }
    write("older.json", older);
    write("newer.json", histogram("b.csv", "id,name\n2,zzz\n", monoFont + " --column 2"));
    const ToolOutcome merged = run("--merge --json " + quoted("older.json") + " " + quoted("newer.json"));
    EXPECT_EQ(merged.status, 0) << merged.err;
    EXPECT_NE(merged.out.find("{\"Record\":2,\"Line\":5,\"Width\":24"), std::string::npos) << merged.out;
}

// As a streaming reducer receives them: the parts' lines one after the
// other on standard input, perhaps each ended by a tab (an empty value).
struct StandardInputCase {
    const char* name;
    std::string separator;  // what ends each part's line
};

class MergeFromStandardInput : public MergeRun, public testing::WithParamInterface<StandardInputCase> {};

TEST_P(MergeFromStandardInput, EqualsTheMergeOfTheFiles)
{
    std::string concatenated, names;
    const std::string data[] = {"one\ntwo\n", "three\n", "f\xC3\xBCnf\nsix\n"};
    for (int k = 0; k < 3; ++k) {
        const std::string stem = std::string("p").append(std::to_string(k));
        const std::string name = stem + ".json";
        std::string part = histogram(stem + ".txt", data[k], monoFont);
        write(name, part);
        (names += ' ') += quoted(name);
        part.pop_back();  // its line end
        concatenated += part + GetParam().separator;
    }
    write("all", concatenated);
    const ToolOutcome files = run("--merge --json" + names);
    ASSERT_EQ(files.status, 0) << files.err;
    const ToolOutcome piped = run("--merge --json - <" + quoted("all"));
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, files.out);
    const ToolOutcome oneFile = run("--merge --json " + quoted("all"));
    EXPECT_EQ(oneFile.out, files.out) << oneFile.err;
}

INSTANTIATE_TEST_SUITE_P(Parts, MergeFromStandardInput,
                         testing::Values(StandardInputCase{"OneALine", "\n"},
                                         StandardInputCase{"EachWithATab", "\t\n"},
                                         StandardInputCase{"WindowsLineEnds", "\r\n"},
                                         StandardInputCase{"BlankLinesBetween", "\n\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MergeRun, StandardInputNamesTheLineOfAPartItRefuses)
{
    const std::string part = histogram("a.txt", "abc\n", monoFont);
    write("two", part + "{\"LineCount\":3}\n");
    const ToolOutcome r = run("--merge - <" + quoted("two"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("standard input, line 2 is not what spanwick-measure --histogram writes: Tally is missing"),
              std::string::npos)
        << r.err;

    const ToolOutcome empty = run("--merge - </dev/null");
    EXPECT_EQ(empty.status, 2);
    EXPECT_NE(empty.err.find("standard input holds no part"), std::string::npos) << empty.err;
}
