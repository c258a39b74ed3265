// The real spanwick-measure, run as a user or a script runs it: its output,
// its exit status, and measuring a data set in parts.

#include "ToolRun.h"

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using Outcome = ToolOutcome;

TEST_F(ToolRun, TheReportOfTheSampleIsTheCheckedInOne)
{
    std::string expected = read(fs::path(SPANWICK_SOURCE_DIR) / "tests/tool/expected/names-DejaVuSans-10.txt");
    const std::string marker = "@SOURCE_DIR@";
    expected.replace(expected.find(marker), marker.size(), SPANWICK_SOURCE_DIR);
    const Outcome r = run("--face 'DejaVu Sans' --size 10 '" SPANWICK_SOURCE_DIR "/samples/names.txt'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected);
}

struct ExitCase {
    const char* name;
    std::string arguments;
    bool captureOut;
    int status;
    std::string error;  // part of what stderr must say
};

class ExitStatus : public ToolRun, public testing::WithParamInterface<ExitCase> {};

TEST_P(ExitStatus, TellsWhatHappened)
{
    const ExitCase& c = GetParam();
    write("data.txt", "abc\nde\n");
    write("quote.txt", "name\n\"never closed\nabc\n");
    std::string arguments = c.arguments;
    for (std::size_t at; (at = arguments.find("DATA")) != std::string::npos;)
        arguments.replace(at, 4, quoted("data.txt"));
    for (std::size_t at; (at = arguments.find("QUOTE")) != std::string::npos;)
        arguments.replace(at, 5, quoted("quote.txt"));
    const Outcome r = run(arguments, c.captureOut);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ExitStatus,
    testing::Values(
        ExitCase{"Success", "--face 'DejaVu Sans' DATA", true, 0, ""},
        ExitCase{"UnreadableData", "--face 'DejaVu Sans' /no/such/file", true, 1, "could not be read: No such file"},
        ExitCase{"UsageError", "--size 12pt DATA", true, 2, "--size must be"},
        ExitCase{"FaceNotInstalled", "--face 'No Such Font' DATA", true, 2, "no installed font is named 'No Such Font'"},
        ExitCase{"HeightZero", "--size 1 --dpi 35 DATA", true, 2, "0 pixels high; fonts can be 1 to 65535"},
        ExitCase{"TooTall", "--size 4096 --dpi 1152 DATA", true, 2, "65536 pixels high"},
        ExitCase{"WriteErrorReport", "DATA >/dev/full", false, 1, "write error: No space left on device"},
        ExitCase{"WriteErrorJson", "--json DATA >/dev/full", false, 1, "write error: No space left on device"},
        ExitCase{"WriteErrorWidths", "--char-widths >/dev/full", false, 1, "write error"},
        ExitCase{"WriteErrorFontList", "--list-fonts >/dev/full", false, 1, "write error"},
        ExitCase{"ClosedOutput", "--json DATA >&-", false, 1, "write error: Bad file descriptor"},
        ExitCase{"CheckAllFit", "--face 'DejaVu Sans' --max-width 1000 DATA", true, 0, ""},
        ExitCase{"CheckSomeWider", "--face 'DejaVu Sans' --max-width 10 DATA", true, 1, ""},
        ExitCase{"CheckUnreadable", "--max-width 10 /no/such/file", true, 2, "could not be read"},
        ExitCase{"CheckFolder", "--max-width 10 /", true, 2, "could not be read: Is a directory"},
        ExitCase{"CheckUnclosedQuote", "--max-width 10 --column 1 QUOTE", true, 2, "line 2"},
        ExitCase{"CheckEmptyFileFits", "--max-width 10 /dev/null", true, 0, ""},
        ExitCase{"StandardInput", "--face 'DejaVu Sans' - <DATA", true, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolRun, CheckModePrintsTheWiderLinesInOrder)
{
    const std::string data = write("labels.txt", "OK\nCancel\nA much longer label\nHelp\nAnother long label\n");
    const Outcome r = run("--face 'DejaVu Sans Mono' --size 10 --max-width 50 '" + data + "'");
    EXPECT_EQ(r.status, 1);
    // 8 pixels a character in this face at 10 points.
    EXPECT_EQ(r.out, "3:152:A much longer label\n5:144:Another long label\n");
}

// The data file is opened by the name given, so a relative name works even
// where the current folder's full path is longer than the system can give.
TEST_F(ToolRun, ARelativeNameWorksInAFolderTooDeepToName)
{
    const std::string name(200, 'd');
    std::string script = "cd '" + folder.string() + "'";
    for (int level = 0; level < 24; ++level)  // more than 4,800 bytes of path
        script += " && mkdir " + name + " && cd " + name;
    script += " && printf 'abc\\nde\\n' > data.txt && '" + std::string(SPANWICK_MEASURE) +
              "' --face 'DejaVu Sans' data.txt > '" + (folder / "stdout").string() + "' 2> '" +
              (folder / "stderr").string() + "'";
    const int status = std::system(("bash -c \"" + script + "\"").c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << read(folder / "stderr");
    EXPECT_NE(read(folder / "stdout").find("Data File: "), std::string::npos);
    // Too deep for the file-system library to remove; rm works a folder at a time.
    std::system(("rm -rf '" + (folder / name).string() + "'").c_str());
}

// A data set measured in four parts, as GNU parallel or a cluster would,
// merges to exactly the measurement of the whole.
TEST_F(ToolRun, MergedPartsEqualTheWhole)
{
    std::string data;
    for (int i = 0; i < 4000; ++i)
        data += std::string(static_cast<std::size_t>(i * 7919 % 61), 'a' + i % 26) + (i % 3 ? "\n" : " caf\xC3\xA9\n");
    data += "\xE9t\xE9\n";  // one Windows-1252 line in the last part makes the whole Windows-1252
    const std::string whole = write("whole.txt", data);
    const std::string font = "--face 'DejaVu Serif' --size 11 --italic";
    const Outcome expected = run("--json " + font + " '" + whole + "'");
    ASSERT_EQ(expected.status, 0) << expected.err;
    ASSERT_NE(expected.out.find("\"Encoding\":\"Windows-1252\""), std::string::npos);

    // Cut at line ends into four parts, as split -n l/4 does.
    std::string parts;
    std::size_t begin = 0;
    for (int k = 1; k <= 4; ++k) {
        std::size_t end = k == 4 ? data.size() : data.find('\n', data.size() * k / 4) + 1;
        const std::string name = "part" + std::to_string(k);
        write(name, data.substr(begin, end - begin));
        const Outcome part = run("--histogram " + font + " '" + (folder / name).string() + "'");
        ASSERT_EQ(part.status, 0) << part.err;
        write(name + ".json", part.out);
        parts += " '" + (folder / (name + ".json")).string() + "'";
        begin = end;
    }
    const Outcome merged = run("--merge --json" + parts);
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, expected.out);

    // Parts measured in another font are refused.
    const Outcome other = run("--histogram --face 'DejaVu Serif' --size 12 '" + (folder / "part1").string() + "'");
    write("other.json", other.out);
    const Outcome refused = run("--merge" + parts + " '" + (folder / "other.json").string() + "'");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("other font options"), std::string::npos) << refused.err;
    // And so is what --histogram did not write.
    write("bad.json", "{\"LineCount\": 3}");
    EXPECT_EQ(run("--merge '" + (folder / "bad.json").string() + "'").status, 2);
}

// A widest value keeps its first 4096 characters and then "…", as check
// mode does, and a merge keeps it and the line each record starts on.
TEST_F(ToolRun, WidestTextsKeep4096CharactersThroughAMerge)
{
    const std::string huge(5000, 'w');
    const std::string data = write("notes.csv", "id,note\n1,\"two\nlines\"\n2," + huge + "\n3,short\n");
    const Outcome whole = run("--json --column note '" + data + "'");
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_NE(whole.out.find("{\"Record\":2,\"Line\":4,\"Width\":"), std::string::npos) << whole.out;
    EXPECT_NE(whole.out.find("\"Text\":\"" + huge.substr(0, 4096) + "\xE2\x80\xA6\"}"), std::string::npos);
    EXPECT_NE(whole.out.find("{\"Record\":1,\"Line\":2,"), std::string::npos) << whole.out;

    const Outcome part = run("--histogram --column note '" + data + "'");
    ASSERT_EQ(part.status, 0) << part.err;
    const Outcome merged = run("--merge --json '" + write("part.json", part.out) + "'");
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, whole.out);
}

}  // namespace
