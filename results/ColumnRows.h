#pragma once
// A table of measured columns, one row each: its figures and the width to
// give it in pixels and in a spreadsheet's units; and the table as text
// cells, CSV and tab-separated text. The window and the tool show the same
// rows.

#include "CalculateWidth.h"
#include "ColumnSizing.h"
#include "Delimited.h"
#include "FontKernel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// What a table's columns are sized by.
struct TableSizing {
    engine::FontKernel& header;       // the font the header row is drawn in
    std::int64_t maxDigitWidth = 1;   // of the values' font
    int fitShare = engine::longestShare;
};

struct ColumnRow {
    std::size_t number = 0;  // from 1
    std::string caption;
    engine::Statistics statistics;
    std::int64_t headerWidth = 0;  // the header's field; 0 without a header
    std::int64_t sizedWidth = 0;   // the larger of the fit and the header
    engine::SpreadsheetWidth sheet;
};

// One column's row, from its target and the layout the header gave.
ColumnRow columnRow(const engine::TargetResult& target, const engine::RecordLayout& layout, TableSizing& sizing);

struct ColumnTable {
    std::vector<ColumnRow> rows;  // in the order of the targets
    std::int64_t maxDigitWidth = 0;
};

// Every target's row: the values measured in font, the header drawn in
// headerFont. Nothing when either font cannot be made.
std::optional<ColumnTable> columnTable(const engine::CalculationResult& result, const LOGFONTA& font,
                                       const LOGFONTA& headerFont, int fitShare = engine::longestShare);

// A cell as shown, and its number for sorting (NaN for text).
struct Cell {
    std::string text;
    double number;
};

enum class Align { Left, Right };
struct TableColumn {
    std::string heading;
    Align align;
};

// The table's columns, in order: number, caption, values, shortest,
// longest, average, the estimated and the measured 99%, header, sized,
// characters and the stored width.
const std::vector<TableColumn>& tableColumns();

// A row's cells, one for each of tableColumns().
std::vector<Cell> rowCells(const ColumnRow& row, std::string_view decimalSeparator);

// The table with a heading row, as CSV (RFC 4180: commas, quotes where
// needed, CR LF, decimal points) for a file.
std::string tableCsv(const std::vector<ColumnRow>& rows);

// The same as tab-separated lines ended by LF, with the user's decimal
// separator, as a spreadsheet takes pasted cells.
std::string tableTabbed(const std::vector<ColumnRow>& rows, std::string_view decimalSeparator);

// A decimal as few digits as it needs, up to decimals after the separator:
// 8.43, 9.140625, 6.
std::string trimmedDecimal(double value, int decimals, std::string_view decimalSeparator);

}  // namespace report
