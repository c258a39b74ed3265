// Several faces and sizes in one pass, and --fit-within: each font's
// figures equal the same font measured alone, and the largest size that
// fits is the one measuring every size finds.

#include "ToolRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>
#include <vector>

namespace {

const char* const names = "Ann Smith\nBartholomew Featherstonehaugh\nCy\nDorothea Wilhelmina Quist\nEd\n"
                          "Fran\xC3\xA7oise L\xC3\xA9vesque\nGus\nHe\n";

QJsonObject object(const std::string& json) { return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object(); }

TEST_F(ToolRun, EachFontEqualsThatFontAlone)
{
    write("names.txt", names);
    for (const bool fromStandardInput : {false, true}) {
        const std::string file = fromStandardInput ? "- <" + quoted("names.txt") : quoted("names.txt");
        const ToolOutcome all =
            run("--json --face 'DejaVu Sans' --face 'Liberation Serif' --size 8,11-12 --threads 3 " + file);
        ASSERT_EQ(all.status, 0) << all.err;
        const QJsonArray fonts = object(all.out).value("Fonts").toArray();
        ASSERT_EQ(fonts.size(), 6);
        int k = 0;
        for (const char* face : {"DejaVu Sans", "Liberation Serif"}) {
            for (const char* size : {"8", "11", "12"}) {
                QJsonObject one = fonts[k++].toObject();
                EXPECT_EQ(one.take("Size").toString().toStdString(), size);
                const ToolOutcome alone = run(std::string("--json --face '") + face + "' --size " + size + " " + file);
                ASSERT_EQ(alone.status, 0) << alone.err;
                EXPECT_EQ(one, object(alone.out)) << face << " " << size;
            }
        }
    }
}

struct SizesCase {
    const char* name;
    const char* options;
    std::vector<std::string> rows;  // face and size of each row, in order
};

const SizesCase sizesCases[] = {
    {"ARange", "--size 9-11", {"DejaVu Sans 9", "DejaVu Sans 10", "DejaVu Sans 11"}},
    {"AList", "--size 12,9", {"DejaVu Sans 12", "DejaVu Sans 9"}},
    {"GivenAgain", "--size 9 --size 10", {"DejaVu Sans 9", "DejaVu Sans 10"}},
    {"LeadingZeros", "--size 08,010", {"DejaVu Sans 8", "DejaVu Sans 10"}},
    {"FacesFirst", "--face 'Liberation Mono' --size 9,10",
     {"DejaVu Sans 9", "DejaVu Sans 10", "Liberation Mono 9", "Liberation Mono 10"}},
    {"AFaceTwice", "--face 'DejaVu Sans' --size 9", {"DejaVu Sans 9", "DejaVu Sans 9"}},
};

class Sizes : public ToolRun, public testing::WithParamInterface<SizesCase> {};

TEST_P(Sizes, AreRowsInTheOrderGiven)
{
    write("names.txt", names);
    const ToolOutcome r = run(std::string("--face 'DejaVu Sans' ") + GetParam().options + " " + quoted("names.txt"));
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("Face", 0), 0u) << "a heading first";
    for (const std::string& row : GetParam().rows) {
        ASSERT_TRUE(std::getline(lines, line));
        const std::size_t space = row.rfind(' ');
        EXPECT_EQ(line.rfind(row.substr(0, space), 0), 0u) << line;
        std::string size = row.substr(space);
        size += ' ';
        EXPECT_NE(line.find(size), std::string::npos) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, Sizes, testing::ValuesIn(sizesCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Each listed size's measured fit, one run at a time.
std::map<int, std::int64_t> everySize(const ToolRun& test, const std::string& file, int from, int to, int percent,
                                      const std::function<ToolOutcome(const std::string&)>& run)
{
    (void)test;
    std::map<int, std::int64_t> fits;
    for (int size = from; size <= to; ++size) {
        const QJsonObject o = object(run("--json --face 'DejaVu Sans' --size " + std::to_string(size) + " " + file).out);
        fits[size] = percent == 100 ? o.value("MaxWidth").toInteger()
                                    : o.value("ExactFit" + QString::number(percent)).toInteger();
    }
    return fits;
}

TEST_F(ToolRun, FitWithinIsTheLargestSizeMeasuringEverySizeFinds)
{
    write("names.txt", names);
    const auto runner = [this](const std::string& arguments) { return run(arguments); };
    for (const int percent : {50, 90, 100}) {
        const std::map<int, std::int64_t> fits = everySize(*this, quoted("names.txt"), 6, 16, percent, runner);
        // Just within a size, just short of one, and past every size.
        for (const std::int64_t within : {fits.at(6), fits.at(10) - 1, fits.at(13), fits.at(16) + 5}) {
            const ToolOutcome r = run("--face 'DejaVu Sans' --size 6-16 --fit " + std::to_string(percent) +
                                      " --fit-within " + std::to_string(within) + " " + quoted("names.txt"));
            int best = 0;
            for (const auto& [size, fit] : fits)
                if (fit <= within)
                    best = size;
            SCOPED_TRACE(testing::Message() << percent << "% within " << within);
            ASSERT_NE(best, 0);
            EXPECT_EQ(r.status, 0) << r.err;
            std::string expected = "DejaVu Sans: " + std::to_string(best) + " points (" + std::to_string(percent) +
                                   "% within " + std::to_string(fits.at(best)) + " px); ";
            expected += best < 16 ? std::to_string(best + 1) + " points needs " + std::to_string(fits.at(best + 1)) + " px"
                                  : std::string("no larger size is listed");
            EXPECT_EQ(r.out, expected + "\n");
        }
    }
}

struct FitWithinCase {
    const char* name;
    std::string arguments;
    int status;
    std::string said;  // on standard output, or for a refusal on standard error
};

const FitWithinCase fitWithinCases[] = {
    {"NoSizeFits", "--face 'DejaVu Sans' --fit-within 3 FILE", 1, "no listed size fits 100% within 3 px; 1 point needs"},
    {"EveryFaceFits", "--face 'DejaVu Sans' --face 'Liberation Mono' --size 1-3 --fit-within 100000 FILE", 0,
     "Liberation Mono: 3 points"},
    {"FromStandardInput", "--face 'DejaVu Sans' --size 5-20 --fit-within 120 - <FILE", 0, "DejaVu Sans: "},
    {"UnknownFace", "--face 'No Such Face' --fit-within 100 FILE", 2, "no installed font is named"},
    {"WithOtherOutput", "--json --fit-within 100 FILE", 2, "--fit-within prints its own answer"},
    {"AShareNotListed", "--fit 75 --fit-within 100 FILE", 2, "--fit must be 50, 60, 70, 80, 90, 95, 99 or 100"},
    {"TooManyFonts", "--face 'DejaVu Sans' --face 'Liberation Mono' --size 1-40 FILE", 2,
     "a run measures at most 64 fonts, not 80"},
    {"SeveralFontsInCheckMode", "--size 8,9 --max-width 10 FILE", 2, "that output takes one font"},
};

class FitWithin : public ToolRun, public testing::WithParamInterface<FitWithinCase> {};

TEST_P(FitWithin, ExitsAsItSays)
{
    write("names.txt", names);
    std::string arguments = GetParam().arguments;
    arguments.replace(arguments.find("FILE"), 4, quoted("names.txt"));
    const ToolOutcome r = run(arguments);
    EXPECT_EQ(r.status, GetParam().status) << r.err;
    EXPECT_NE((GetParam().status == 2 ? r.err : r.out).find(GetParam().said), std::string::npos) << r.out << r.err;
}

INSTANTIATE_TEST_SUITE_P(Runs, FitWithin, testing::ValuesIn(fitWithinCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
