// The real spanwick-measure with the font catalog's cache: its font list,
// its choice of face and every width are the same without a cache, with a
// cold one, with a warm one, and with several programs starting at once.
// So is the face the font layer chooses for any name, full names and
// fallbacks too, as the reference's query program reports it. The fonts are
// copies in a folder of the test's own, named by the configuration
// FONTCONFIG_FILE points at.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class CatalogCacheRun : public testing::Test {
protected:
    fs::path root = fs::temp_directory_path() / ("spanwick-tool-cache-" + std::to_string(::getpid()) + "-" +
                                                 testing::UnitTest::GetInstance()->current_test_info()->name());

    void SetUp() override
    {
        fs::remove_all(root);
        fs::create_directories(root / "fonts");
        for (const char* font : {"dejavu/DejaVuSans.ttf", "dejavu/DejaVuSans-Bold.ttf", "dejavu/DejaVuSans-Oblique.ttf",
                                 "dejavu/DejaVuSans-BoldOblique.ttf", "dejavu/DejaVuSansMono.ttf",
                                 "dejavu/DejaVuSansCondensed-BoldOblique.ttf",
                                 "liberation2/LiberationSerif-Regular.ttf", "liberation2/LiberationSerif-Bold.ttf"}) {
            const fs::path copy = root / "fonts" / fs::path(font).filename();
            fs::copy_file(fs::path("/usr/share/fonts/truetype") / font, copy);
            fs::last_write_time(copy, fs::file_time_type::clock::now() - std::chrono::hours(24));
        }
        std::ofstream(root / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" << (root / "fonts").string()
                                           << "</dir>\n  <cachedir>" << (root / "fontconfig").string()
                                           << "</cachedir>\n</fontconfig>\n";
        std::ofstream(root / "data.txt") << "Ärger im Büro\nWWWWWWWWWW\niiiiiiiiii\n\tTab and spaces  \n";
        // Face, height, width, weight, italic: families, full names (one cut
        // at 31 characters) and names that fall back.
        std::ofstream(root / "queries.txt") << "DejaVu Sans\t-16\t0\t400\t0\n"
                                               "dejavu SANS\t-13\t0\t700\t1\n"
                                               "DejaVu Sans Bold\t-16\t0\t400\t0\n"
                                               "DejaVu Sans Condensed Bold Oblixxx\t-20\t0\t400\t0\n"
                                               "Liberation Serif\t30\t5\t900\t1\n"
                                               "No Such Face\t-16\t0\t400\t0\n"
                                               "\t-16\t0\t400\t0\n";
    }
    void TearDown() override { fs::remove_all(root); }

    // The output of each request (a program and its arguments), every one
    // run with the cache kept in cacheHome; with together, all at once.
    std::vector<std::string> outputs(const fs::path& cacheHome, const std::vector<std::string>& requests,
                                     bool together = false) const
    {
        std::string script;
        for (std::size_t i = 0; i < requests.size(); ++i) {
            script += "FONTCONFIG_FILE='" + (root / "fonts.conf").string() + "' XDG_CACHE_HOME='" + cacheHome.string() +
                      "' " + requests[i] + " >'" + (root / ("out" + std::to_string(i))).string() +
                      "' 2>&1" + (together ? " &\n" : "\n");
        }
        script += "wait\n";
        EXPECT_EQ(std::system(script.c_str()), 0);
        std::vector<std::string> out;
        for (std::size_t i = 0; i < requests.size(); ++i)
            out.push_back(readBytes(root / ("out" + std::to_string(i))));
        return out;
    }

    std::vector<std::string> requests() const
    {
        std::string data = "'";
        data += (root / "data.txt").string();
        data += "'";
        const std::string measure = "'" SPANWICK_MEASURE "' ";
        return {
            measure + "--list-fonts",
            measure + "--char-widths --face 'DejaVu Sans' --size 11",
            measure + "--char-widths --face 'dejavu SANS' --size 11 --italic --weight Bold",
            measure + "--char-widths --face 'Liberation Serif' --size 30 --weight Heavy",
            measure + "--char-widths --size 9",
            measure + "--json --face 'DejaVu Sans Mono' --size 10 " + data,
            measure + "--face 'Liberation Serif' --size 12 --italic " + data,
            measure + "--face 'Liberation Sans' " + data,
            "'" FONTVIEW_QUERY "' <'" + (root / "queries.txt").string() + "'",
        };
    }
};

TEST_F(CatalogCacheRun, AnswersAreTheSameWithoutCacheColdWarmAndTogether)
{
    // A cache folder that is a file: no cache is read or written.
    std::ofstream(root / "no-cache") << "a file";
    const std::vector<std::string> without = outputs(root / "no-cache", requests());
    ASSERT_NE(without[0].find("DejaVu Sans\n"), std::string::npos) << without[0];
    EXPECT_NE(without[1], without[2]) << "bold italic differs from regular";
    EXPECT_NE(without[7].find("no installed font is named 'Liberation Sans'"), std::string::npos) << without[7];
    EXPECT_NE(without[8].find("\"face\":\"DejaVu Sans Condensed\""), std::string::npos) << without[8];

    EXPECT_EQ(outputs(root / "cache", requests()), without) << "cold";
    EXPECT_TRUE(fs::exists(root / "cache" / "spanwick" / "font-catalog"));
    EXPECT_EQ(outputs(root / "cache", requests()), without) << "warm";

    EXPECT_EQ(outputs(root / "together", requests(), true), without) << "started together on no cache";
    EXPECT_EQ(outputs(root / "together", requests(), true), without) << "started together on their cache";
}

}  // namespace
