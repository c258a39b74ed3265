// gettext catalogues: the strings of plain and plural entries, their C
// escapes, what names them, and the max-size flag's budget.

#include "ReadDocument.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {

const std::string header = "msgid \"\"\n"
                           "msgstr \"\"\n"
                           "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                           "\n";  // lines 1 to 4

struct PoCase {
    const char* name;
    std::string document;
    bool source;
    std::vector<Want> wants;
};

class PoEntries : public testing::TestWithParam<PoCase> {};

TEST_P(PoEntries, AreReadAsDrawn)
{
    expectMessages(readDocument(Format::Gettext, GetParam().document, GetParam().source), GetParam().wants);
}

INSTANTIATE_TEST_SUITE_P(
    Gettext, PoEntries,
    testing::Values(
        PoCase{"TheTranslationNamedByItsFirstReference",
               header + "#: src/main.c:42 src/main.c:50\nmsgid \"Open\"\nmsgstr \"Öffnen\"\n", false,
               {{"src/main.c:42", 7, {"Öffnen"}}}},
        PoCase{"TheContextComesFirstInTheName",
               header + "#: menu.c:7\nmsgctxt \"menu\"\nmsgid \"File\"\nmsgstr \"Datei\"\n\n"
                        "msgctxt \"tab\"\nmsgid \"File\"\nmsgstr \"Akte\"\n",
               false, {{"menu|menu.c:7", 8, {"Datei"}}, {"tab|File", 12, {"Akte"}}}},
        PoCase{"AnUntranslatedStringShowsItsMsgid", header + "msgid \"Close\"\nmsgstr \"\"\n", false,
               {{"Close", 5, {"Close"}}}},
        PoCase{"TheMsgidWhenAskedFor", header + "msgid \"Close\"\nmsgstr \"Schließen\"\n", true,
               {{"Close", 5, {"Close"}}}},
        PoCase{"EscapesAndContinuedStrings",
               header + "msgid \"x\"\nmsgstr \"\"\n\"tab\\there \\\"quoted\\\" back\\\\slash\\n\"\n"
                        "\"octal \\101\\x42 and \\?\"\n",
               false, {{"x", 6, {"tab\there \"quoted\" back\\slash\noctal AB and ?"}}}},
        PoCase{"EachPluralFormIsAString",
               header + "msgid \"One file\"\nmsgid_plural \"%d files\"\n"
                        "msgstr[0] \"Ein Datei\"\nmsgstr[1] \"%d Dateien\"\nmsgstr[2] \"\"\n",
               false,
               {{"One file[0]", 7, {"Ein Datei"}}, {"One file[1]", 8, {"%d Dateien"}}, {"One file[2]", 6, {"%d files"}}}},
        PoCase{"UntranslatedPluralsShowMsgidAndMsgidPlural",
               header + "msgid \"One file\"\nmsgid_plural \"%d files\"\nmsgstr[0] \"\"\nmsgstr[1] \"\"\n", false,
               {{"One file[0]", 5, {"One file"}}, {"One file[1]", 6, {"%d files"}}}},
        PoCase{"PluralSourcesWhenAskedFor",
               header + "msgid \"One file\"\nmsgid_plural \"%d files\"\nmsgstr[0] \"a\"\nmsgstr[1] \"b\"\n"
                        "msgstr[2] \"c\"\n",
               true, {{"One file[0]", 5, {"One file"}}, {"One file[1]", 6, {"%d files"}}}},
        PoCase{"TheMaxSizeFlagIsTheBudget",
               header + "#, c-format, max-size:120\nmsgid \"a\"\nmsgstr \"b\"\n\n"
                        "#, max-size:300:3\nmsgid \"c\"\nmsgstr \"d\"\n\n"
                        "#, max-size:80:1, fuzzy\nmsgid \"e\"\nmsgstr \"f\"\n",
               false,
               {{"a", 7, {"b"}, pixels(120)}, {"c", 11, {"d"}, otherUnit(300, "3 lines")}, {"e", 15, {"f"}, pixels(80)}}},
        PoCase{"TheHeaderCommentsAndObsoleteEntriesAreNoStrings",
               "# Translator comment\n" + header + "#. extracted\n#| msgid \"old\"\nmsgid \"a\"\nmsgstr \"b\"\n\n"
                                                   "#~ msgid \"gone\"\n#~ msgstr \"weg\"\n",
               false, {{"a", 9, {"b"}}}},
        PoCase{"EntriesNeedNoBlankLineBetweenThem",
               header + "msgid \"a\"\nmsgstr \"b\"\n#: x.c:1\nmsgid \"c\"\nmsgstr \"d\"\nmsgid \"e\"\nmsgstr \"f\"\n",
               false, {{"a", 6, {"b"}}, {"x.c:1", 9, {"d"}}, {"e", 11, {"f"}}}},
        PoCase{"WindowsLineEndsAndAByteOrderMark",
               "\xEF\xBB\xBFmsgid \"a\"\r\nmsgstr \"b\"\r\n\r\nmsgid \"c\"\r\nmsgstr \"d\"\r\n", false,
               {{"a", 2, {"b"}}, {"c", 5, {"d"}}}},
        PoCase{"ALatin1Catalogue",
               "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n\n"
               "msgid \"caf\xE9\"\nmsgstr \"Caf\xE9 \\xE9\"\n",
               false, {{"caf\u00E9", 5, {"Caf\u00E9 \u00E9"}}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
