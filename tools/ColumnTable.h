#pragma once
// A table of columns in a terminal: what was measured in which font, a row
// for each column in aligned cells, and what the widths mean.

#include "CalculateWidth.h"
#include "ColumnRows.h"
#include "FontSelections.h"

#include <string>
#include <string_view>

namespace tool {

// What a table of columns is printed from, by the terminal table and the JSON.
struct TablePrint {
    const engine::CalculationResult& result;
    const report::ColumnTable& table;
    engine::FontSelections selections;  // the face as the list names it
    std::string face;                   // the face the font layer chose
    std::string headerWeight;           // the weight the header row was measured in
    int fitShare = engine::longestShare;
    std::string dataFilePath;
    int dpi = 96;  // the resolution measured at
};

std::string columnTableText(const TablePrint& print, std::string_view decimalSeparator);

}  // namespace tool
