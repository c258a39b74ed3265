// Catalogues that cannot be read are refused with what is wrong and
// where, never passed over in silence; documents that declare entities are
// refused before any is expanded.

#include "ReadDocument.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {

struct MalformedCase {
    const char* name;
    Format format;
    std::string document;
    std::uint64_t line;
    std::string says;  // part of the message
};

class Malformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(Malformed, IsRefusedAtItsLine)
{
    const Read read = readDocument(GetParam().format, GetParam().document);
    ASSERT_TRUE(read.result.error);
    EXPECT_EQ(read.result.error->line, GetParam().line);
    EXPECT_NE(read.result.error->message.find(GetParam().says), std::string::npos) << read.result.error->message;
}

const std::string billionLaughs = R"(<?xml version="1.0"?>
<!DOCTYPE xliff [
  <!ENTITY lol "lol">
  <!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">
  <!ENTITY lol3 "&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;">
  <!ENTITY lol4 "&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;">
  <!ENTITY lol5 "&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;">
  <!ENTITY lol6 "&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;">
  <!ENTITY lol7 "&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;">
  <!ENTITY lol8 "&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;">
  <!ENTITY lol9 "&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;">
]>
<xliff version="1.2"><file><body><trans-unit id="a"><source>&lol9;</source></trans-unit></body></file></xliff>
)";

INSTANTIATE_TEST_SUITE_P(
    Catalogues, Malformed,
    testing::Values(
        MalformedCase{"BrokenXml", Format::Xliff,
                      "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\"><file><body>\n"
                      "<trans-unit id=\"a\"><source>x</source>\n</body></file></xliff>\n",
                      4, "tag mismatch"},
        MalformedCase{"AnUnfinishedDocument", Format::Xliff,
                      "<xliff version=\"1.2\"><file><body>\n<trans-unit id=\"a\"><source>x", 2, "Premature end"},
        MalformedCase{"AMaxwidthThatIsNoNumber", Format::Xliff,
                      "<xliff version=\"1.2\"><file><body>\n<group maxwidth=\"wide\">\n"
                      "<trans-unit id=\"a\"><source>x</source></trans-unit></group></body></file></xliff>\n",
                      2, "maxwidth 'wide' is not a whole number"},
        MalformedCase{"ANegativeMaxwidth", Format::Xliff,
                      "<xliff version=\"1.2\"><file><body>\n"
                      "<trans-unit id=\"a\" maxwidth=\"-5\"><source>x</source></trans-unit></body></file></xliff>\n",
                      2, "maxwidth '-5'"},
        MalformedCase{"AUnitWithoutSource", Format::Xliff,
                      "<xliff version=\"1.2\"><file><body>\n<trans-unit id=\"a\"><target>x</target>\n"
                      "</trans-unit></body></file></xliff>\n",
                      3, "has no source"},
        MalformedCase{"AnotherRootElement", Format::Xliff, "<?xml version=\"1.0\"?>\n<TS version=\"2.1\"/>\n", 2,
                      "not <xliff>"},
        MalformedCase{"AnUndeclaredEntity", Format::Xliff,
                      "<xliff version=\"1.2\"><file><body>\n<trans-unit id=\"a\"><source>&nbsp;</source>"
                      "</trans-unit></body></file></xliff>\n",
                      2, "nbsp"},
        MalformedCase{"BillionLaughs", Format::Xliff, billionLaughs, 12, "declares the entity 'lol'"},
        MalformedCase{"AnOutsideEntity", Format::Linguist,
                      "<?xml version=\"1.0\"?>\n<!DOCTYPE TS [ <!ENTITY secret SYSTEM \"file:///etc/passwd\"> ]>\n"
                      "<TS><context><name>a</name><message><source>&secret;</source></message></context></TS>\n",
                      2, "declares the entity 'secret'"},
        MalformedCase{"AnUnterminatedPoString", Format::Gettext, "msgid \"a\"\nmsgstr \"open\n\n", 2,
                      "does not end on its line"},
        MalformedCase{"AnUnknownPoEscape", Format::Gettext, "msgid \"a\"\nmsgstr \"\\q\"\n", 2, "unknown escape \\q"},
        MalformedCase{"TextAfterAPoString", Format::Gettext, "msgid \"a\" x\nmsgstr \"b\"\n", 1,
                      "text follows the closing quote"},
        MalformedCase{"AMsgidWithoutMsgstr", Format::Gettext, "msgid \"a\"\n\nmsgid \"b\"\nmsgstr \"c\"\n", 1,
                      "no msgstr"},
        MalformedCase{"AStringWithoutKeyword", Format::Gettext, "\"a\"\n", 1, "no keyword"},
        MalformedCase{"NotAKeyword", Format::Gettext, "msgid \"a\"\nmsgtxt \"b\"\n", 2, "is not a keyword"},
        MalformedCase{"AMaxSizeThatIsNoNumber", Format::Gettext, "#, max-size:wide\nmsgid \"a\"\nmsgstr \"b\"\n", 1,
                      "max-size:wide"},
        MalformedCase{"ACharsetNotRead", Format::Gettext,
                      "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=KOI8-R\\n\"\n", 2,
                      "charset KOI8-R is not read"}),
    [](const auto& info) { return info.param.name; });

TEST(Malformed, StringsBeforeTheFaultHaveBeenHandedOn)
{
    const Read read = readDocument(Format::Gettext, "msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"c\"\nmsgstr \"d\n");
    ASSERT_TRUE(read.result.error);
    EXPECT_EQ(read.result.error->line, 5u);
    ASSERT_EQ(read.messages.size(), 1u);
    EXPECT_EQ(read.messages[0].id, "a");
}

}  // namespace
