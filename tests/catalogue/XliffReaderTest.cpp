// XLIFF 1.2 and 2.x catalogues: which text of each unit is measured, what
// its inline codes and entities stand for, and the budget and font that
// its groups hand down.

#include "ReadDocument.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {

std::string xliff12(const std::string& body, const std::string& rootAttributes = "")
{
    return "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\"" +
           rootAttributes + ">\n<file original=\"a\" source-language=\"en\" datatype=\"plaintext\"><body>\n" + body +
           "</body></file></xliff>\n";
}

std::string xliff21(const std::string& file)
{
    return "<?xml version=\"1.0\"?>\n<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.1\" "
           "srcLang=\"en\" trgLang=\"de\">\n<file id=\"f\">\n" + file + "</file></xliff>\n";
}

struct XliffCase {
    const char* name;
    std::string document;
    bool source;
    std::vector<Want> wants;
};

class XliffUnits : public testing::TestWithParam<XliffCase> {};

TEST_P(XliffUnits, AreReadAsDrawn)
{
    expectMessages(readDocument(Format::Xliff, GetParam().document, GetParam().source), GetParam().wants);
}

INSTANTIATE_TEST_SUITE_P(
    Xliff12, XliffUnits,
    testing::Values(
        XliffCase{"TheTargetWhereThereIsOne",
                  xliff12("<trans-unit id=\"a\"><source>Open</source>\n<target>Öffnen</target></trans-unit>\n"
                          "<trans-unit id=\"b\"><source>Close</source></trans-unit>\n"
                          "<trans-unit id=\"c\"><source>Save</source><target/></trans-unit>\n"),
                  false,
                  {{"a", 5, {"Öffnen"}}, {"b", 6, {"Close"}}, {"c", 7, {"Save"}}}},
        XliffCase{"TheSourceWhenAskedFor",
                  xliff12("<trans-unit id=\"a\"><source>Open</source><target>Öffnen</target></trans-unit>\n"), true,
                  {{"a", 4, {"Open"}}}},
        XliffCase{"GroupsHandDownWhatUnitsLack",
                  xliff12("<group maxwidth=\"100\" font=\"Serif;10;bold\">\n"
                          "  <group maxwidth=\"50\">\n"
                          "    <trans-unit id=\"inner\"><source>a</source></trans-unit>\n"
                          "    <trans-unit id=\"own\" maxwidth=\"30\" font=\"Sans;8\"><source>b</source></trans-unit>\n"
                          "  </group>\n"
                          "  <trans-unit id=\"outer\"><source>c</source></trans-unit>\n"
                          "</group>\n"
                          "<trans-unit id=\"none\"><source>d</source></trans-unit>\n"),
                  false,
                  {{"inner", 6, {"a"}, pixels(50), "Serif;10;bold"},
                   {"own", 7, {"b"}, pixels(30), "Sans;8"},
                   {"outer", 9, {"c"}, pixels(100), "Serif;10;bold"},
                   {"none", 11, {"d"}}}},
        XliffCase{"OtherUnitsAreKeptUnchecked",
                  xliff12("<group size-unit=\"char\">\n"
                          "<trans-unit id=\"chars\" maxwidth=\"24\"><source>a</source></trans-unit>\n"
                          "<trans-unit id=\"pixels\" maxwidth=\"24\" size-unit=\"pixel\"><source>b</source></trans-unit>\n"
                          "</group>\n"),
                  false,
                  {{"chars", 5, {"a"}, otherUnit(24, "char")}, {"pixels", 6, {"b"}, pixels(24)}}},
        XliffCase{"InlineCodesAreTheTextTheyStandFor",
                  xliff12("<trans-unit id=\"a\"><source><g id=\"1\">bold</g> <bpt id=\"2\">&lt;i&gt;</bpt>it"
                          "<ept id=\"2\">&lt;/i&gt;</ept> <ph id=\"3\">%s</ph> <x id=\"4\" equiv-text=\"{n}\"/>"
                          "<x id=\"5\"/> <mrk mtype=\"term\">term</mrk><it id=\"6\" pos=\"open\">[</it></source>"
                          "</trans-unit>\n"),
                  false, {{"a", 4, {"bold it %s {n} term"}}}},
        XliffCase{"LineBreakCodesBreakTheLine",
                  xliff12("<trans-unit id=\"a\"><source>one<ph id=\"1\" ctype=\"lb\">&lt;br/&gt;</ph>two"
                          "<x id=\"2\" ctype=\"lb\"/>three</source></trans-unit>\n"),
                  false, {{"a", 4, {"one\ntwo\nthree"}}}},
        XliffCase{"EntitiesAndCharacterReferences",
                  xliff12("<trans-unit id=\"a\"><source>&amp; &lt;&gt; &quot;&apos; &#x41;&#66; <![CDATA[<b>]]></source>"
                          "</trans-unit>\n"),
                  false, {{"a", 4, {"& <> \"' AB <b>"}}}},
        XliffCase{"WhiteSpaceCollapsesByDefault",
                  xliff12("<trans-unit id=\"a\"><source>\n   Two\n\t  words  </source></trans-unit>\n"), false,
                  {{"a", 4, {"Two words"}}}},
        XliffCase{"PreservedWhiteSpaceStays",
                  xliff12("<group xml:space=\"preserve\"><trans-unit id=\"a\"><source> Two\n  lines </source>"
                          "</trans-unit></group>\n"),
                  false, {{"a", 4, {" Two\n  lines "}}}},
        XliffCase{"AlternativesNotesAndOtherNamespacesAreNotRead",
                  xliff12("<trans-unit id=\"a\"><source>Yes</source><target>Ja</target>\n"
                          "<alt-trans><source>Yes</source><target>Jawohl</target></alt-trans>"
                          "<note>a note</note></trans-unit>\n"
                          "<ext:unit xmlns:ext=\"urn:example\"><trans-unit id=\"b\"><source>no</source></trans-unit>"
                          "</ext:unit>\n"),
                  false, {{"a", 4, {"Ja"}}}},
        XliffCase{"APrefixedNamespace",
                  "<x:xliff version=\"1.2\" xmlns:x=\"urn:oasis:names:tc:xliff:document:1.2\"><x:file><x:body>\n"
                  "<x:trans-unit id=\"a\" maxwidth=\"9\"><x:source>Hi</x:source></x:trans-unit>\n"
                  "</x:body></x:file></x:xliff>\n",
                  false, {{"a", 2, {"Hi"}, pixels(9)}}}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Xliff2, XliffUnits,
    testing::Values(
        XliffCase{"SegmentsAndIgnorableTextJoinInOneUnit",
                  xliff21("<unit id=\"u\">\n"
                          "<segment><source>Hello.</source><target>Hallo.</target></segment>\n"
                          "<ignorable><source> </source></ignorable>\n"
                          "<segment><source>Bye.</source></segment>\n"
                          "</unit>\n"),
                  false, {{"u", 5, {"Hallo. Bye."}}}},
        XliffCase{"TheSourcesWhenAskedFor",
                  xliff21("<unit id=\"u\"><segment><source>Hello.</source><target>Hallo.</target></segment></unit>\n"),
                  true, {{"u", 4, {"Hello."}}}},
        XliffCase{"CodesAreTheTextTheyStandFor",
                  xliff21("<unit id=\"u\"><originalData><data id=\"d1\">%s</data></originalData>\n"
                          "<segment><source><pc id=\"1\">bold</pc> <ph id=\"2\" dataRef=\"d1\"/> "
                          "<ph id=\"3\" equiv=\"{n}\"/><sc id=\"4\"/>x<ec startRef=\"4\"/> <mrk id=\"m\">term</mrk>"
                          "<sm id=\"s\"/>!<em startRef=\"s\"/><cp hex=\"00A0\"/></source></segment></unit>\n"),
                  false, {{"u", 5, {"bold %s {n}x term!\u00A0"}}}},
        XliffCase{"LineBreakCodesBreakTheLine",
                  xliff21("<unit id=\"u\"><segment><source>one<ph id=\"1\" type=\"fmt\" subType=\"xlf:lb\"/>two"
                          "</source></segment></unit>\n"),
                  false, {{"u", 4, {"one\ntwo"}}}},
        XliffCase{"GroupsNestAndKeepNoBudget",
                  xliff21("<group id=\"g\"><group id=\"h\" xml:space=\"preserve\">\n"
                          "<unit id=\"u\"><segment><source> a  b </source></segment></unit>\n"
                          "</group></group>\n"),
                  false, {{"u", 5, {" a  b "}}}}),
    [](const auto& info) { return info.param.name; });

TEST(XliffFormat, NamesItsVersion)
{
    EXPECT_EQ(readDocument(Format::Xliff, xliff12("")).result.formatName, "XLIFF 1.2");
    EXPECT_EQ(readDocument(Format::Xliff, xliff21("")).result.formatName, "XLIFF 2.1");
}

TEST(XliffPlaceholders, MarkupMarksWhereTheyStand)
{
    const Read read = readDocument(
        Format::Xliff,
        xliff12("<trans-unit id=\"a\"><source>A <ph id=\"1\">%s</ph> and <x id=\"2\"/>.</source></trans-unit>\n"));
    ASSERT_EQ(read.messages.size(), 1u);
    const Text& text = read.messages[0].variants[0];
    EXPECT_EQ(text.text, QStringLiteral("A %s and ."));
    EXPECT_EQ(text.placeholders, (std::vector<Span>{{2, 2}, {9, 0}}));
}

}  // namespace
