#include "CatalogueCheck.h"

#include "TextWidth.h"

namespace catalogue {

const char* verdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Fits: return "fits";
    case Verdict::Near: return "near";
    case Verdict::Over: return "over";
    case Verdict::NoBudget: return "no budget";
    case Verdict::NotChecked: return "not checked";
    case Verdict::NoFont: return "no font";
    }
    return "";
}

Verdict verdictOf(std::int64_t width, std::optional<std::int64_t> budget)
{
    if (!budget)
        return Verdict::NoBudget;
    if (width > *budget)
        return Verdict::Over;
    // Within 5%: what is left over is at most a twentieth of the budget.
    return (*budget - width) * 20 <= *budget ? Verdict::Near : Verdict::Fits;
}

CheckedString CatalogueCheck::check(const Message& message)
{
    CheckedString checked;
    engine::FontKernel* widths = fonts_.widthsFor(message.font, checked.problem);
    if (!widths) {
        checked.verdict = Verdict::NoFont;
        ++tally_.noFont;
        return checked;
    }
    for (std::size_t i = 0; i < message.variants.size(); ++i) {
        const std::int64_t width = widestLine(message.variants[i], *widths, settings_.placeholderWidth);
        if (i == 0 || width < checked.width) {
            checked.width = width;
            checked.variant = i;
        }
    }
    ++tally_.measured;
    widths_.add(checked.width);
    switch (message.budget.kind) {
    case Budget::Kind::OtherUnit:
        checked.verdict = Verdict::NotChecked;
        ++tally_.notChecked;
        return checked;
    case Budget::Kind::Pixels:
        checked.budget = message.budget.value;
        break;
    case Budget::Kind::None:
        checked.budget = settings_.maxWidth;
        break;
    }
    checked.verdict = verdictOf(checked.width, checked.budget);
    tally_.withBudget += checked.budget ? 1 : 0;
    tally_.over += checked.verdict == Verdict::Over ? 1 : 0;
    tally_.near += checked.verdict == Verdict::Near ? 1 : 0;
    return checked;
}

std::string summaryLine(const CheckTally& tally)
{
    const auto count = [](std::uint64_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string line = count(tally.measured, "string", "strings") + " checked, " + std::to_string(tally.withBudget) +
                       " with a budget: " + std::to_string(tally.over) + " over it, " + std::to_string(tally.near) +
                       " within 5% of it";
    if (tally.notChecked > 0)
        line += "; " + count(tally.notChecked, "budget", "budgets") + " in other units than pixels not checked";
    if (tally.noFont > 0)
        line += "; " + count(tally.noFont, "string", "strings") + " not measured: " +
                (tally.noFont == 1 ? "its font cannot be had" : "their fonts cannot be had");
    return line;
}

}  // namespace catalogue
