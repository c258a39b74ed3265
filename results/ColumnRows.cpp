#include "ColumnRows.h"

#include "MeasuringFonts.h"
#include "NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace report {

namespace {

constexpr std::size_t lastFit = engine::fitShares.size() - 1;  // 99%
constexpr double noNumber = std::numeric_limits<double>::quiet_NaN();

std::string withSeparator(std::string text, std::string_view decimalSeparator)
{
    if (const std::size_t point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
    return text;
}

Cell whole(std::int64_t value) { return Cell{std::to_string(value), static_cast<double>(value)}; }

// A caption that a spreadsheet would take for a formula (=, +, -, @ first)
// is pasted or opened as the text it is: a header name is anyone's data.
std::string inert(const std::string& text)
{
    return !text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos ? "'" + text : text;
}

// A field of CSV, quoted when it holds a comma, a quote or a line end.
std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

template <class Field>
std::string joined(const std::vector<ColumnRow>& rows, std::string_view decimalSeparator, char separator,
                   const char* lineEnd, Field field)
{
    std::string text;
    const auto line = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += separator;
            text += field(cells[i]);
        }
        text += lineEnd;
    };
    std::vector<std::string> cells;
    for (const TableColumn& column : tableColumns())
        cells.push_back(column.heading);
    line(cells);
    for (const ColumnRow& row : rows) {
        cells.clear();
        for (Cell& cell : rowCells(row, decimalSeparator))
            cells.push_back(std::isnan(cell.number) ? inert(cell.text) : std::move(cell.text));
        line(cells);
    }
    return text;
}

}  // namespace

ColumnRow columnRow(const engine::TargetResult& target, const engine::RecordLayout& layout, TableSizing& sizing)
{
    ColumnRow row;
    row.number = target.column;
    row.caption = target.caption;
    row.statistics = target.statistics;
    if (layout.header && target.column >= 1 && target.column <= layout.headerNames.size())
        row.headerWidth = sizing.header.widestLine(layout.headerNames[target.column - 1]);
    const std::int64_t fit = engine::fitWidth(target.statistics, sizing.fitShare).value_or(target.statistics.MaxWidth);
    row.sizedWidth = std::max(fit, row.headerWidth);
    row.sheet = engine::spreadsheetWidth(row.sizedWidth, sizing.maxDigitWidth);
    return row;
}

std::optional<ColumnTable> columnTable(const engine::CalculationResult& result, const LOGFONTA& font,
                                       const LOGFONTA& headerFont, int fitShare)
{
    engine::MeasuringFonts fonts;  // the values', then the header's
    if (!fonts.add(font) || !fonts.add(headerFont))
        return std::nullopt;
    engine::FontKernel headerKernel(*fonts.widths()[1]);
    ColumnTable table;
    table.maxDigitWidth = engine::maxDigitWidth(*fonts.widths()[0]);
    TableSizing sizing{headerKernel, table.maxDigitWidth, fitShare};
    for (const engine::TargetResult& target : result.targets)
        table.rows.push_back(columnRow(target, result.layout, sizing));
    return table;
}

const std::vector<TableColumn>& tableColumns()
{
    static const std::vector<TableColumn> columns = [] {
        const std::string share = std::to_string(engine::fitShares[lastFit]) + "% ";
        return std::vector<TableColumn>{
            {"#", Align::Right},         {"Column", Align::Left},   {"Values", Align::Right},
            {"Shortest", Align::Right},  {"Longest", Align::Right}, {"Average", Align::Right},
            {share + "estimated", Align::Right}, {share + "measured", Align::Right},
            {"Header", Align::Right},    {"Sized", Align::Right},   {"Characters", Align::Right},
            {"Col width", Align::Right},
        };
    }();
    return columns;
}

std::vector<Cell> rowCells(const ColumnRow& row, std::string_view decimalSeparator)
{
    const engine::Statistics& s = row.statistics;
    char characters[32];
    std::snprintf(characters, sizeof characters, "%.2f", row.sheet.characters());
    return {
        whole(static_cast<std::int64_t>(row.number)),
        Cell{row.caption, noNumber},
        Cell{std::to_string(s.LineCount), static_cast<double>(s.LineCount)},
        whole(s.MinWidth),
        whole(s.MaxWidth),
        Cell{formatOneDecimal(s.AverageWidth, decimalSeparator), s.AverageWidth},
        Cell{formatWhole(s.fits[lastFit]), s.fits[lastFit]},
        whole(s.exactFits[lastFit]),
        whole(row.headerWidth),
        whole(row.sizedWidth),
        Cell{withSeparator(characters, decimalSeparator), row.sheet.characters()},
        Cell{trimmedDecimal(row.sheet.width(), 8, decimalSeparator), row.sheet.width()},
    };
}

std::string tableCsv(const std::vector<ColumnRow>& rows) { return joined(rows, ".", ',', "\r\n", csvField); }

std::string tableTabbed(const std::vector<ColumnRow>& rows, std::string_view decimalSeparator)
{
    // A caption holds no tab or line end: the caption rule shows controls as "?".
    return joined(rows, decimalSeparator, '\t', "\n", [](const std::string& text) { return text; });
}

std::string trimmedDecimal(double value, int decimals, std::string_view decimalSeparator)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return withSeparator(text, decimalSeparator);
}

}  // namespace report
