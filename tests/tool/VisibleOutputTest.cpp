// What reaches a terminal or a log from data or from the command line:
// check mode's TEXT, the JSON and the messages on standard error show
// every control character visibly, one record a line.

#include "ToolRun.h"

#include <algorithm>
#include <string>

namespace {

using namespace std::string_literals;

// No byte that acts on a terminal or ends a line early, but the line ends.
bool onlyPrintable(const std::string& text)
{
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\n') || byte == 0x7F;
    }) && text.find("\xC2\x85") == std::string::npos && text.find("\xE2\x80\xA8") == std::string::npos;
}

struct CheckTextCase {
    const char* name;
    std::string file;  // its name tells plain from delimited text
    std::string data;
    std::string text;  // TEXT as check mode prints it
};

void PrintTo(const CheckTextCase& c, std::ostream* out) { *out << c.name; }

class CheckModeText : public ToolRun, public testing::WithParamInterface<CheckTextCase> {};

TEST_P(CheckModeText, ShowsControlsVisiblyOnOneLine)
{
    const CheckTextCase& c = GetParam();
    write(c.file, c.data);
    const ToolOutcome r = run("--face 'DejaVu Sans' --max-width 0 " + quoted(c.file));
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    EXPECT_TRUE(r.out.size() >= c.text.size() + 2 && r.out.substr(r.out.size() - c.text.size() - 2) == ":" + c.text + "\n")
        << r.out;
    EXPECT_TRUE(onlyPrintable(r.out)) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Data, CheckModeText,
    testing::Values(
        CheckTextCase{"ClearScreenAndRetitle", "a.txt", "a\x1B[2J\x1B]0;owned\x07z\n", "a\\x1b[2J\\x1b]0;owned\\x07z"},
        CheckTextCase{"NulBackspaceDel", "a.txt", "a\0b\bc\x7F" "d\n"s, "a\\x00b\\x08c\\x7fd"},
        CheckTextCase{"Tab", "a.txt", "a\tb\n", "a\\x09b"},
        CheckTextCase{"NextLineInUtf8", "a.txt", "a\xC2\x85" "b\n", "a\\u0085b"},
        CheckTextCase{"LineSeparatorInUtf8", "a.txt", "a\xE2\x80\xA8" "b\xE2\x80\xA9" "c\n", "a\\u2028b\\u2029c"},
        CheckTextCase{"UndefinedWindows1252Byte", "a.txt", "caf\xE9 \x81!\n", "caf\xC3\xA9 \\u0081!"},
        CheckTextCase{"EscapeInUtf16", "a.txt", "\xFF\xFE" "a\0\x1B\0b\0\n\0"s, "a\\x1bb"},
        CheckTextCase{"QuotedLineBreaks", "a.csv", "name\n\"first\nsecond\r\nthird\"\n",
                      "first\xE2\x86\xB5second\xE2\x86\xB5third"},
        CheckTextCase{"ArrowInAValue", "a.csv", "name\n\"a\xE2\x86\xB5" "b\"\n", "a\\u21b5b"},
        CheckTextCase{"EscapeInAQuotedValue", "a.csv", "name\n\"a\x1B[0m\nb\"\n", "a\\x1b[0m\xE2\x86\xB5" "b"},
        CheckTextCase{"BackslashesOfAPath", "a.txt", "C:\\Users\\ann\\x\n", "C:\\Users\\ann\\\\x"}),
    [](const testing::TestParamInfo<CheckTextCase>& info) { return std::string(info.param.name); });

struct MessageCase {
    const char* name;
    std::string arguments;  // FOLDER stands for the test's folder
    std::string said;       // part of the message
};

void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

class MessageOnStandardError : public ToolRun, public testing::WithParamInterface<MessageCase> {};

// A name or value with controls in it is echoed visibly, and the message
// keeps its one line (and the hint after it).
TEST_P(MessageOnStandardError, ShowsNamesVisibly)
{
    write("header.csv", "id,\"a\x1B[5mb\"\n1,2\n");
    std::string arguments = GetParam().arguments;
    for (std::size_t at; (at = arguments.find("FOLDER")) != std::string::npos;)
        arguments.replace(at, 6, folder.string());
    const ToolOutcome r = run(arguments);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find(GetParam().said), std::string::npos) << r.err;
    EXPECT_TRUE(onlyPrintable(r.err)) << r.err;
    EXPECT_LE(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageOnStandardError,
    testing::Values(
        MessageCase{"UnreadableDataFile", "--face 'DejaVu Sans' 'FOLDER/no\x1B]0;x\x07\nsuch.txt'",
                    "no\\x1b]0;x\\x07\\x0asuch.txt"},
        MessageCase{"UnreadablePart", "--merge 'FOLDER/part\r\n\xC2\x85.json'", "/part\\x0d\\x0a\\u0085.json': No such file"},
        MessageCase{"UnknownOption", "'--\x1B[31mred'", "unknown option '--\\x1b[31mred'"},
        MessageCase{"RefusedValue", "--size '1\x1B' x", "not '1\\x1b'"},
        MessageCase{"HeaderNames", "--face 'DejaVu Sans' --column zz FOLDER/header.csv",
                    "its columns are: 'id', 'a\\x1b[5mb'"},
        MessageCase{"FileNameNotUtf8", "--face 'DejaVu Sans' 'FOLDER/M\xE4rz\x9B.txt'", "M\\xe4rz\\x9b.txt"}),
    [](const testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.name); });

// JSON lines stay lines for readers that split at NEL and U+2028 too.
TEST_F(ToolRun, JsonEscapesTheSeparatorsAndC1)
{
    write("a.txt", "a\xC2\x85" "b\xE2\x80\xA8" "c\xE2\x80\xA9" "d\n");
    const ToolOutcome r = run("--json --face 'DejaVu Sans' " + quoted("a.txt"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"Text\":\"a\\u0085b\\u2028c\\u2029d\""), std::string::npos) << r.out;
    EXPECT_TRUE(onlyPrintable(r.out)) << r.out;
}

}  // namespace
