#pragma once
// Checks each string of a catalogue against its budget: its own, or the
// one for strings without one. Counts what it finds and keeps how many
// strings have each width, for the statistics.

#include "CatalogueMessage.h"
#include "UnitFonts.h"
#include "WidthDistribution.h"

#include <cstdint>
#include <optional>
#include <string>

namespace catalogue {

enum class Verdict {
    Fits,
    Near,        // fits, with less than 5% of the budget to spare
    Over,
    NoBudget,
    NotChecked,  // a budget in another unit than pixels
    NoFont,      // the string's own font cannot be had
};

// "fits", "near", "over", "no budget", "not checked", "no font"
const char* verdictName(Verdict verdict);

Verdict verdictOf(std::int64_t width, std::optional<std::int64_t> budget);

struct CheckSettings {
    std::optional<std::int64_t> maxWidth;  // the budget of strings without their own
    std::optional<std::int64_t> placeholderWidth;  // each placeholder counts this many pixels
};

struct CheckedString {
    Verdict verdict = Verdict::NoBudget;
    std::int64_t width = 0;
    std::optional<std::int64_t> budget;  // in pixels, when checked
    std::size_t variant = 0;  // the variant measured: the narrowest
    std::string problem;  // for NoFont: why
};

struct CheckTally {
    std::uint64_t measured = 0;
    std::uint64_t withBudget = 0;
    std::uint64_t over = 0;
    std::uint64_t near = 0;
    std::uint64_t notChecked = 0;
    std::uint64_t noFont = 0;
};

class CatalogueCheck {
public:
    CatalogueCheck(UnitFonts& fonts, CheckSettings settings) : fonts_(fonts), settings_(settings) {}

    CheckedString check(const Message& message);

    const CheckTally& tally() const { return tally_; }
    // The width of every string measured.
    const engine::WidthDistribution& widths() const { return widths_; }

private:
    UnitFonts& fonts_;
    CheckSettings settings_;
    CheckTally tally_;
    engine::WidthDistribution widths_;
};

// "120 strings checked, 80 with a budget: 3 over it, 5 within 5% of it",
// then what was not checked.
std::string summaryLine(const CheckTally& tally);

}  // namespace catalogue
