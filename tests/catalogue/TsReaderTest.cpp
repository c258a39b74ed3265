// Qt Linguist catalogues: translations, numerus forms and length variants,
// and which messages show their source.

#include "ReadDocument.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {

std::string ts(const std::string& messages)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" language=\"de\">\n"
           "<context><name>Main</name>\n" + messages + "</context>\n</TS>\n";  // messages from line 5
}

struct TsCase {
    const char* name;
    std::string document;
    bool source;
    std::vector<Want> wants;
};

class TsMessages : public testing::TestWithParam<TsCase> {};

TEST_P(TsMessages, AreReadAsDrawn)
{
    expectMessages(readDocument(Format::Linguist, GetParam().document, GetParam().source), GetParam().wants);
}

INSTANTIATE_TEST_SUITE_P(
    Linguist, TsMessages,
    testing::Values(
        TsCase{"TheTranslationAsWritten",
               ts("<message><location filename=\"a.cpp\" line=\"3\"/><source>&amp;Open</source>\n"
                  "<translation>  &amp;Öffnen\nmehr</translation></message>\n"),
               false, {{"Main|&Open", 6, {"  &Öffnen\nmehr"}}}},
        TsCase{"AnIdNamesTheMessage",
               ts("<message id=\"open.button\"><source>Open</source><translation>Öffnen</translation></message>\n"),
               false, {{"open.button", 5, {"Öffnen"}}}},
        TsCase{"UnfinishedAndEmptyShowTheSource",
               ts("<message><source>Close</source><translation type=\"unfinished\"></translation></message>\n"
                  "<message><source>Quit</source><translation type=\"unfinished\">Beenden</translation></message>\n"),
               false, {{"Main|Close", 5, {"Close"}}, {"Main|Quit", 6, {"Beenden"}}}},
        TsCase{"ObsoleteAndVanishedShowNowhere",
               ts("<message><source>a</source><translation type=\"obsolete\">b</translation></message>\n"
                  "<message><source>c</source><translation type=\"vanished\">d</translation></message>\n"),
               false, {}},
        TsCase{"EachNumerusFormIsAString",
               ts("<message numerus=\"yes\"><source>%n file(s)</source>\n<translation>\n"
                  "<numerusform>%n Datei</numerusform>\n<numerusform>%n Dateien</numerusform>\n"
                  "</translation></message>\n"),
               false, {{"Main|%n file(s)[0]", 7, {"%n Datei"}}, {"Main|%n file(s)[1]", 8, {"%n Dateien"}}}},
        TsCase{"LengthVariantsAreOneString",
               ts("<message><source>Save all</source><translation variants=\"yes\">\n"
                  "<lengthvariant>Alles speichern</lengthvariant>\n<lengthvariant>Speichern</lengthvariant>\n"
                  "</translation></message>\n"),
               false, {{"Main|Save all", 6, {"Alles speichern", "Speichern"}}}},
        TsCase{"NumerusFormsWithLengthVariants",
               ts("<message numerus=\"yes\"><source>%n item(s)</source><translation>\n"
                  "<numerusform variants=\"yes\"><lengthvariant>%n Eintrag</lengthvariant>"
                  "<lengthvariant>%n E.</lengthvariant></numerusform>\n"
                  "<numerusform>%n Einträge</numerusform></translation></message>\n"),
               false, {{"Main|%n item(s)[0]", 6, {"%n Eintrag", "%n E."}}, {"Main|%n item(s)[1]", 7, {"%n Einträge"}}}},
        TsCase{"ByteElementsAreTheirCharacters",
               ts("<message><source>a</source><translation>tab<byte value=\"x9\"/>end</translation></message>\n"), false,
               {{"Main|a", 5, {"tab\tend"}}}},
        TsCase{"TheSourceWhenAskedFor",
               ts("<message numerus=\"yes\"><source>%n file(s)</source><translation><numerusform>x</numerusform>"
                  "<numerusform>y</numerusform></translation></message>\n"),
               true, {{"Main|%n file(s)", 5, {"%n file(s)"}}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
