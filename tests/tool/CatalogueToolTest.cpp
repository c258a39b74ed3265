// spanwick-measure --check-catalogue run as a build runs it: the lines of
// the strings over budget, the JSON of all, the summary, the exit status.

#include "CatalogueRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace {

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

class CatalogueTool : public testing::Test {
protected:
    QTemporaryDir folder;

    std::string write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // In the folder, so file names print as given.
    Finished run(const QStringList& arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(folder.path());
        process.start(QStringLiteral(SPANWICK_MEASURE),
                      QStringList{"--face", "DejaVu Sans", "--size", "8", "--check-catalogue"} + arguments);
        process.waitForFinished(-1);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
    }
};

// Buttons 75 pixels wide: "OK" fits, "Jetzt übernehmen" does not.
const std::string buttons = R"(<xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2"><file><body>
<group maxwidth="75">
<trans-unit id="ok"><source>OK</source><target>OK</target></trans-unit>
<trans-unit id="apply"><source>Apply</source><target>Jetzt übernehmen</target></trans-unit>
</group>
</body></file></xliff>
)";

const std::string fitting = R"(<xliff version="1.2"><file><body>
<trans-unit id="ok" maxwidth="75"><source>OK</source></trans-unit>
</body></file></xliff>
)";

struct StatusCase {
    const char* name;
    std::string file;
    std::string bytes;
    QStringList arguments;
    int status;
    std::string err;  // part of standard error
};

class CatalogueExit : public CatalogueTool, public testing::WithParamInterface<StatusCase> {};

TEST_P(CatalogueExit, SaysWhatWasFound)
{
    const StatusCase& c = GetParam();
    if (!c.file.empty())
        write(c.file, c.bytes);
    const Finished r = run(c.arguments);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CatalogueExit,
    testing::Values(
        StatusCase{"AllFit", "ok.xlf", fitting, {"ok.xlf"}, 0, "1 string checked, 1 with a budget: 0 over it"},
        StatusCase{"SomeOver", "b.xlf", buttons, {"b.xlf"}, 1, "2 strings checked, 2 with a budget: 1 over it"},
        StatusCase{"Malformed", "bad.po", "msgid \"a\"\nmsgstr \"b\n", {"bad.po"}, 2, "bad.po:2: the string does not end"},
        StatusCase{"Missing", "", "", {"gone.ts"}, 2, "gone.ts: "},
        StatusCase{"NoCatalogueByItsName", "notes.txt", "", {"notes.txt"}, 2, "'notes.txt' is no catalogue by its name"},
        StatusCase{"ReadAsTheFormatSays", "notes.txt", "msgid \"a\"\nmsgstr \"b\"\n", {"--format", "po", "notes.txt"}, 0,
                   "1 string checked, 0 with a budget"},
        StatusCase{"NoCatalogues", "", "", {}, 2, "needs the catalogues"},
        StatusCase{"AnotherOutput", "ok.xlf", fitting, {"--histogram", "ok.xlf"}, 2, "no other output"}),
    [](const auto& info) { return info.param.name; });

TEST_F(CatalogueTool, PrintsTheStringsOverBudgetInFileOrder)
{
    write("b.xlf", buttons);
    write("menu.po", "#: src/menu.c:12\nmsgctxt \"File\"\nmsgid \"Quit\"\nmsgstr \"Beenden\\nund schließen\"\n");
    const Finished r = run({"--max-width", "40", "b.xlf", "menu.po"});
    EXPECT_EQ(r.status, 1) << r.err;
    const std::string apply = "b.xlf:4:apply:", quit = "menu.po:4:File|src/menu.c\\:12:";
    ASSERT_NE(r.out.find(apply), std::string::npos) << r.out;
    ASSERT_NE(r.out.find(quit), std::string::npos) << r.out;
    EXPECT_LT(r.out.find(apply), r.out.find(quit));
    EXPECT_NE(r.out.find(":75:Jetzt übernehmen\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(":40:Beenden\xE2\x86\xB5und schließen\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("ok"), std::string::npos) << r.out;
}

TEST_F(CatalogueTool, AUnitWhoseFaceIsNotInstalledStopsNoOther)
{
    write("f.xlf", R"(<xliff version="1.2"><file><body>
<trans-unit id="title" maxwidth="10" font="No Such Face;12"><source>Settings</source></trans-unit>
<trans-unit id="label" maxwidth="10"><source>Settings</source></trans-unit>
</body></file></xliff>
)");
    const Finished r = run({"f.xlf"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("f.xlf:2:title: no installed font is named 'No Such Face'"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("f.xlf:3:label:"), std::string::npos) << r.out;
}

TEST_F(CatalogueTool, JsonListsEveryString)
{
    write("b.xlf", buttons);
    const Finished r = run({"--json", "--max-width", "50", "--placeholder-width", "20", "b.xlf"});
    EXPECT_EQ(r.status, 1) << r.err;
    QJsonParseError error;
    const QJsonObject all = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
    const QJsonArray catalogues = all["catalogues"].toArray();
    ASSERT_EQ(catalogues.size(), 1);
    EXPECT_EQ(catalogues[0]["format"].toString(), QStringLiteral("XLIFF 1.2"));
    EXPECT_TRUE(catalogues[0]["error"].isNull());
    const QJsonArray strings = catalogues[0]["strings"].toArray();
    ASSERT_EQ(strings.size(), 2);
    EXPECT_EQ(strings[0]["id"].toString(), QStringLiteral("ok"));
    EXPECT_EQ(strings[0]["verdict"].toString(), QStringLiteral("fits"));
    EXPECT_EQ(strings[1]["text"].toString(), QStringLiteral("Jetzt übernehmen"));
    EXPECT_EQ(strings[1]["budget"].toInt(), 75);  // its own, not --max-width
    EXPECT_EQ(strings[1]["verdict"].toString(), QStringLiteral("over"));
    EXPECT_GT(strings[1]["width"].toInt(), 75);
    EXPECT_EQ(all["checked"].toInt(), 2);
    EXPECT_EQ(all["over"].toInt(), 1);
}

TEST_F(CatalogueTool, PlaceholdersCountAsWrittenOrAsAskedFor)
{
    write("p.po", "#, max-size:1000\nmsgid \"a\"\nmsgstr \"Datei %s\"\n");
    const auto width = [&](const QStringList& arguments) {
        const Finished r = run(arguments + QStringList{"--json", "p.po"});
        return QJsonDocument::fromJson(QByteArray::fromStdString(r.out))["catalogues"][0]["strings"][0]["width"].toInt();
    };
    const int written = width({});
    const int nothing = width({"--placeholder-width", "0"});
    EXPECT_LT(nothing, written);
    EXPECT_EQ(width({"--placeholder-width", "100"}) - nothing, 100);
    EXPECT_LT(width({"--source"}), nothing);  // "a" against "Datei "
}

struct OptionCase {
    const char* name;
    std::vector<std::string> args;
    std::string error;  // empty: accepted
};

class CatalogueOptions : public testing::TestWithParam<OptionCase> {};

TEST_P(CatalogueOptions, AreCheckedTogether)
{
    std::string error;
    const auto options = tool::parseOptions(GetParam().args, error);
    EXPECT_EQ(options.has_value(), GetParam().error.empty()) << error;
    EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CatalogueOptions,
    testing::Values(
        OptionCase{"JsonAndMaxWidthTogether", {"--max-width", "80", "--json", "--check-catalogue", "a.po", "b.ts"}, ""},
        OptionCase{"EveryCatalogueOption", {"--check-catalogue", "--format", "XLIFF", "--source", "--placeholder-width", "0", "a"}, ""},
        OptionCase{"MaxWidthAndJsonWithoutCatalogues", {"--max-width", "80", "--json", "a.txt"}, "cannot be combined"},
        OptionCase{"AFormatAlone", {"--format", "po", "a.po"}, "--format goes with --check-catalogue"},
        OptionCase{"AnUnknownFormat", {"--check-catalogue", "--format", "resx", "a.resx"}, "xliff, po or ts"},
        OptionCase{"ANegativePlaceholderWidth", {"--check-catalogue", "--placeholder-width", "-1", "a.po"}, "whole number"},
        OptionCase{"AColumn", {"--check-catalogue", "--column", "2", "a.po"}, "--column does not apply to --check-catalogue"},
        OptionCase{"Merging", {"--check-catalogue", "--merge", "a.json"}, "--merge does not apply to --check-catalogue"}),
    [](const auto& info) { return info.param.name; });

TEST(CatalogueIds, EscapeTheirColons)
{
    EXPECT_EQ(tool::escapedId("menu|src/menu.c:12"), "menu|src/menu.c\\:12");
    EXPECT_EQ(tool::escapedId("a\\b"), "a\\b");
    EXPECT_EQ(tool::escapedId("a\x1b:b"), "a\\x1b\\:b");
}

}  // namespace
