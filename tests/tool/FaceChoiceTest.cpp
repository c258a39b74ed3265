// Which installed names a --face request may stand for, from the family of
// every installed face: a family with many faces is named many times.

#include "FaceChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

const std::vector<std::string_view> faceFamilies = {
    "DejaVu Sans", "DejaVu Sans", "DejaVu Serif", "dejavu sans", "Noto Sans", "DejaVu Sans", "Noto Sans", "",
};

struct Request {
    const char* name;
    std::string asked;
    std::vector<std::string> like;
};

void PrintTo(const Request& r, std::ostream* out) { *out << r.name; }

class NamesLike : public testing::TestWithParam<Request> {};

TEST_P(NamesLike, EachOnceInTheirOrder)
{
    EXPECT_EQ(tool::namesLike(GetParam().asked, faceFamilies), GetParam().like);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, NamesLike,
    testing::Values(Request{"FamilyOfManyFaces", "DejaVu Sans", {"DejaVu Sans", "dejavu sans"}},
                    Request{"OtherCase", "DEJAVU SERIF", {"DejaVu Serif"}},
                    Request{"LaterFamilyRepeated", "noto sans", {"Noto Sans"}},
                    Request{"PartOfAName", "DejaVu", {}},
                    Request{"NotInstalled", "No Such Face", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstalledFace, TheExactSpellingWinsOverAnotherCase)
{
    const std::vector<std::string> like = tool::namesLike("dejavu sans", faceFamilies);
    EXPECT_EQ(tool::installedFace("dejavu sans", like), "dejavu sans");
    EXPECT_EQ(tool::installedFace("DEJAVU SANS", like), "DejaVu Sans");
    EXPECT_EQ(tool::installedFace("DejaVu Sansx", like), std::nullopt);
}

}  // namespace
