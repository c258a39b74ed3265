#pragma once
// Runs of several fonts: every face in every size measured in one pass,
// shown as a table or as JSON.

#include "MeasureOptions.h"
#include "StandardOutput.h"

#include "CalculateWidth.h"

#include <functional>
#include <string>
#include <vector>

namespace tool {

// A font of the run: its selections and the description made of them.
struct FontChoice {
    std::string face;  // as the font list names it
    engine::FontSelections selections;
    LOGFONTA description{};
};

// The sizes to measure in: those listed, or the selections' one; with
// --fit-within and none listed, every size it looks among.
std::vector<std::string> sizesToMeasure(const MeasureOptions& options);

// Every face in every size, faces first, in the order given.
std::vector<FontChoice> fontChoices(const MeasureOptions& options, const std::vector<std::string>& faces,
                                    const std::vector<std::string>& sizes, int logPixelsY);

using Complaint = std::function<void(const std::string&)>;

// Prints the several fonts' results: a table, one row a font, or --json's
// {"Fonts": [...]}.
void printFonts(StandardOutput& out, const MeasureOptions& options, const std::vector<FontChoice>& fonts,
                const engine::CalculationResult& result, const std::vector<std::string>& faceNames);

}  // namespace tool
