#pragma once
// Every column of a table measured in one font: sized with the header in
// its own weight, printed as a table or as JSON.

#include "CalculateWidth.h"
#include "FontSelections.h"
#include "MeasureOptions.h"
#include "modFontView.h"

#include <optional>
#include <string>
#include <string_view>

namespace tool {

// The output of a calculation of several columns in font (described by
// selections; face: the face the font layer chose). Nothing when the
// header's font cannot be made.
std::optional<std::string> tableOutput(const MeasureOptions& options, const engine::CalculationResult& result,
                                       const engine::FontSelections& selections, const LOGFONTA& font,
                                       const std::string& face, const std::string& dataFilePath,
                                       std::string_view decimalSeparator);

}  // namespace tool
