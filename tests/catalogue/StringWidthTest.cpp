// How wide a string is, with placeholders as written or at a fixed width,
// and where that leaves it against its budget.

#include "CatalogueCheck.h"
#include "Placeholders.h"
#include "TextWidth.h"
#include "TestNames.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {

// Every printable ASCII character 10 pixels wide, a space 5, an i 4;
// anything else 20.
engine::FontWidths testWidths()
{
    engine::WidthTable table;
    table.fill(10);
    table[' ' - engine::firstTableCode] = 5;
    table['i' - engine::firstTableCode] = 4;
    return engine::FontWidths(table, [](char32_t) { return 20; });
}

struct WidthCase {
    const char* name;
    Text text;
    std::optional<std::int64_t> placeholderWidth;
    std::int64_t width;
};

class StringWidth : public testing::TestWithParam<WidthCase> {};

TEST_P(StringWidth, IsItsWidestLine)
{
    const engine::FontWidths font = testWidths();
    engine::FontKernel widths(font);
    EXPECT_EQ(widestLine(GetParam().text, widths, GetParam().placeholderWidth), GetParam().width);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StringWidth,
    testing::Values(
        WidthCase{"Empty", {}, std::nullopt, 0},
        WidthCase{"OneLine", {QStringLiteral("ab i"), {}, 0}, std::nullopt, 29},
        WidthCase{"TheWidestOfItsLines", {QStringLiteral("ab\nabcd\r\nabc\rx"), {}, 0}, std::nullopt, 40},
        WidthCase{"CharactersOutsideTheTable", {QStringLiteral("\u00FC\U0001F600a"), {}, 0}, std::nullopt, 50},
        WidthCase{"PlaceholdersAsWritten", {QStringLiteral("a %s {name}"), {}, 0}, std::nullopt, 10 + 5 + 20 + 5 + 60},
        WidthCase{"WrittenPlaceholdersAtAFixedWidth", {QStringLiteral("a %s {name} %1 100%% %.2f"), {}, 0}, 7,
                  10 + 5 + 7 + 5 + 7 + 5 + 7 + 5 + 50 + 5 + 7},
        WidthCase{"MarkedPlaceholdersAtAFixedWidth", {QStringLiteral("a <b> c"), {{2, 3}, {7, 0}}, 0}, 7,
                  10 + 5 + 7 + 5 + 10 + 7},
        WidthCase{"APlaceholderMarkedAndWrittenCountsOnce", {QStringLiteral("x%sy"), {{1, 2}}, 0}, 7, 10 + 7 + 10},
        WidthCase{"AnEmptyMarkBeforeAWrittenOne", {QStringLiteral("%s"), {{0, 0}}, 0}, 7, 14},
        WidthCase{"PlaceholdersOnSeveralLines", {QStringLiteral("%s %s\n%d"), {}, 0}, 30, 65}),
    [](const auto& info) { return info.param.name; });

struct PlaceholderCase {
    const char* name;
    const char* text;
    std::vector<std::string> found;
};

class WrittenPlaceholders : public testing::TestWithParam<PlaceholderCase> {};

TEST_P(WrittenPlaceholders, AreFound)
{
    const QString text = QString::fromUtf8(GetParam().text);
    std::vector<std::string> found;
    for (const Span& span : findPlaceholders(text))
        found.push_back(text.mid(span.start, span.length).toStdString());
    EXPECT_EQ(found, GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Syntaxes, WrittenPlaceholders,
    testing::Values(PlaceholderCase{"Printf", "%s %d %5.2f %-10s %ld %zu %1$s %*d %%", {"%s", "%d", "%5.2f", "%-10s", "%ld", "%zu", "%1$s", "%*d"}},
                    PlaceholderCase{"Qt", "%1 of %2, %L3 and %n", {"%1", "%2", "%L3", "%n"}},
                    PlaceholderCase{"Braces", "{0} {name} {count, number} {x:0.00}", {"{0}", "{name}", "{count, number}", "{x:0.00}"}},
                    PlaceholderCase{"PercentSignsInProse", "50% off, 100 %", {}},
                    PlaceholderCase{"BracesInProse", "{ } {} {a b}", {}}),
    [](const auto& info) { return info.param.name; });

struct VerdictCase {
    const char* name;
    std::int64_t width;
    std::optional<std::int64_t> budget;
    Verdict verdict;
};

class Budgets : public testing::TestWithParam<VerdictCase> {};

TEST_P(Budgets, JudgeTheWidth)
{
    EXPECT_EQ(verdictOf(GetParam().width, GetParam().budget), GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, Budgets,
    testing::Values(VerdictCase{"None", 500, std::nullopt, Verdict::NoBudget},
                    VerdictCase{"WellWithin", 94, 100, Verdict::Fits},
                    VerdictCase{"FivePerCentLeft", 95, 100, Verdict::Near},
                    VerdictCase{"Exactly", 100, 100, Verdict::Near},
                    VerdictCase{"OnePixelOver", 101, 100, Verdict::Over},
                    VerdictCase{"NothingInNothing", 0, 0, Verdict::Near},
                    VerdictCase{"SomethingInNothing", 1, 0, Verdict::Over}),
    [](const auto& info) { return info.param.name; });

}  // namespace
