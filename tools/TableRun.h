#pragma once
// Every column of a table measured in a font: sized with the header in
// its own weight, printed as a table or as JSON.

#include "CalculateWidth.h"
#include "FontRun.h"
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

// Several fonts and several columns: each font's table of the columns, in
// the order the fonts were given, one after another or as --json's
// {"Fonts": [...]}. result's targets are column by column, font by font
// within each.
std::optional<std::string> fontTablesOutput(const MeasureOptions& options, engine::CalculationResult result,
                                            const std::vector<FontChoice>& fonts,
                                            const std::vector<std::string>& faceNames,
                                            const std::string& dataFilePath, std::string_view decimalSeparator);

}  // namespace tool
