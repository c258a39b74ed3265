// Checking strings in real fonts: the font options' font, a unit's own
// font, a unit whose font cannot be had, and what the check counts.

#include "CatalogueCheck.h"
#include "FontAttribute.h"
#include "FontDescription.h"
#include "ReadDocument.h"
#include "TextWidth.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {

struct AttributeCase {
    const char* name;
    const char* text;
    std::optional<FontAttribute> font;  // nothing: refused
};

class FontAttributes : public testing::TestWithParam<AttributeCase> {};

TEST_P(FontAttributes, AreRead)
{
    std::string problem;
    EXPECT_EQ(parseFontAttribute(GetParam().text, problem), GetParam().font);
    EXPECT_EQ(problem.empty(), GetParam().font.has_value()) << problem;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FontAttributes,
    testing::Values(AttributeCase{"FaceSizeAndWeightName", "Arial;10;bold", FontAttribute{"Arial", 10, 600}},
                    AttributeCase{"FaceAlone", " MS Shell Dlg ", FontAttribute{"MS Shell Dlg", {}, {}}},
                    AttributeCase{"SizeAlone", ";12", FontAttribute{"", 12, {}}},
                    AttributeCase{"WeightByNumber", "Arial;8;700", FontAttribute{"Arial", 8, 700}},
                    AttributeCase{"WeightNamesInAnySpelling", "Arial;;semi-BOLD", FontAttribute{"Arial", {}, 500}},
                    AttributeCase{"RegularIsNormal", "Arial;9;regular", FontAttribute{"Arial", 9, 300}},
                    AttributeCase{"TheEncodingIsIgnored", "Arial;8;normal;ANSI", FontAttribute{"Arial", 8, 300}},
                    AttributeCase{"HalfPointsRoundToEven", "Arial;8.5", FontAttribute{"Arial", 8, {}}},
                    AttributeCase{"ASizeThatIsNoNumber", "Arial;big", std::nullopt},
                    AttributeCase{"NoPointsAtAll", "Arial;0", std::nullopt},
                    AttributeCase{"AnUnknownWeight", "Arial;8;heavyish", std::nullopt}),
    [](const auto& info) { return info.param.name; });

class FontsOfUnits : public testing::Test {
protected:
    static LOGFONTA base()
    {
        engine::FontSelections selections = engine::defaultSelections();
        selections.faceText = "DejaVu Sans";
        LOGFONTA font;
        engine::describeFont(font, selections, 96);
        return font;
    }

    // Only DejaVu Sans and DejaVu Serif count as installed.
    UnitFonts fonts{base(), 96, [](const std::string& face, std::string& problem) -> std::optional<std::string> {
                        if (face == "DejaVu Sans" || face == "DejaVu Serif")
                            return face;
                        problem = "no installed font is named '" + face + "'";
                        return std::nullopt;
                    }};

    std::int64_t width(const std::string& font, const char* text)
    {
        std::string problem;
        engine::FontKernel* widths = fonts.widthsFor(font, problem);
        EXPECT_TRUE(widths) << problem;
        return widths ? widestLine(Text{QString::fromUtf8(text), {}, 1}, *widths) : -1;
    }

    static Message message(const char* text, Budget budget = {}, std::string font = {})
    {
        Message m;
        m.id = text;
        m.variants = {Text{QString::fromUtf8(text), {}, 1}};
        m.budget = budget;
        m.font = std::move(font);
        return m;
    }
};

TEST_F(FontsOfUnits, AUnitsFontReplacesFaceSizeAndWeight)
{
    const std::int64_t plain = width("", "Settings");
    EXPECT_GT(plain, 0);
    EXPECT_EQ(width("DejaVu Sans;8", "Settings"), plain);
    EXPECT_GT(width("DejaVu Sans;16", "Settings"), plain);
    EXPECT_GT(width("DejaVu Sans;8;bold", "Settings"), plain);
    EXPECT_NE(width("DejaVu Serif;8", "Settings"), plain);
    EXPECT_EQ(width(";8", "Settings"), plain);
}

TEST_F(FontsOfUnits, AFontThatCannotBeHadIsReportedEveryTime)
{
    for (int time = 0; time < 2; ++time) {
        std::string problem;
        EXPECT_EQ(fonts.widthsFor("Tahoma;8", problem), nullptr);
        EXPECT_EQ(problem, "no installed font is named 'Tahoma'");
    }
    std::string problem;
    EXPECT_EQ(fonts.widthsFor("DejaVu Sans;100000", problem), nullptr);
    EXPECT_NE(problem.find("pixels high"), std::string::npos) << problem;
}

TEST_F(FontsOfUnits, TheCheckJudgesAndCounts)
{
    const std::int64_t w = width("", "Abbrechen");
    CatalogueCheck check(fonts, {w * 2, std::nullopt});
    EXPECT_EQ(check.check(message("Abbrechen", pixels(w - 1))).verdict, Verdict::Over);
    EXPECT_EQ(check.check(message("Abbrechen", pixels(w))).verdict, Verdict::Near);
    EXPECT_EQ(check.check(message("Abbrechen")).verdict, Verdict::Fits);  // the budget for strings without one
    EXPECT_EQ(check.check(message("Abbrechen", otherUnit(4, "char"))).verdict, Verdict::NotChecked);
    const CheckedString missing = check.check(message("Abbrechen", pixels(w), "Tahoma"));
    EXPECT_EQ(missing.verdict, Verdict::NoFont);
    EXPECT_EQ(missing.problem, "no installed font is named 'Tahoma'");

    const CheckTally& tally = check.tally();
    EXPECT_EQ(tally.measured, 4u);
    EXPECT_EQ(tally.withBudget, 3u);
    EXPECT_EQ(tally.over, 1u);
    EXPECT_EQ(tally.near, 1u);
    EXPECT_EQ(tally.notChecked, 1u);
    EXPECT_EQ(tally.noFont, 1u);
    EXPECT_EQ(check.widths().lineCount(), 4u);
    EXPECT_EQ(summaryLine(tally), "4 strings checked, 3 with a budget: 1 over it, 1 within 5% of it; 1 budget in "
                                  "other units than pixels not checked; 1 string not measured: its font cannot be had");
}

TEST_F(FontsOfUnits, AMessageFitsWhenItsNarrowestVariantFits)
{
    Message variants = message("Alles speichern");
    variants.variants.push_back(Text{QStringLiteral("Speichern"), {}, 2});
    variants.budget = pixels(width("", "Speichern"));
    CatalogueCheck check(fonts, {});
    const CheckedString checked = check.check(variants);
    EXPECT_EQ(checked.variant, 1u);
    EXPECT_EQ(checked.width, width("", "Speichern"));
    EXPECT_EQ(checked.verdict, Verdict::Near);
}

}  // namespace
