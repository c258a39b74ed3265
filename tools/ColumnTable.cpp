#include "ColumnTable.h"

#include "AlignedTable.h"
#include "PrintablePath.h"

#include <algorithm>

namespace tool {

namespace {

constexpr std::size_t widestCaption = 32;  // characters; a longer caption ends in "…"
constexpr const char* ellipsis = "\xE2\x80\xA6";

std::string shortened(const std::string& text)
{
    if (terminalWidth(text) <= widestCaption)
        return text;
    std::size_t kept = 0, at = 0;
    while (at < text.size() && kept < widestCaption - 1) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            ++at;
        ++kept;
    }
    return text.substr(0, at) + ellipsis;
}

std::string fontLine(const TablePrint& print)
{
    const engine::FontSelections& s = print.selections;
    std::string line = "Font: " + print.face + " " + s.sizeText + " point, " + s.weightText();
    if (s.italic == 1)
        line += ", italic";
    if (s.underline == 1)
        line += ", underlined";
    if (s.strikeOut == 1)
        line += ", struck out";
    if (s.widthText != engine::normalWidth)
        line += ", width " + s.widthText;
    if (print.headerWeight != s.weightText())
        line += "; header row " + print.headerWeight;
    return line + "; widest digit " + std::to_string(print.table.maxDigitWidth) + " pixels";
}

std::string sizedFor(int share)
{
    if (share == engine::longestShare)
        return "the longest value";
    return "the width " + std::to_string(share) + "% of the values fit in";
}

}  // namespace

std::string columnTableText(const TablePrint& print, std::string_view decimalSeparator)
{
    const engine::StreamTally& tally = print.result.tally;
    std::string text = "Data File: " + report::printablePath(print.dataFilePath) + " (" +
                       engine::encodingName(tally.encoding) + ", " + std::to_string(tally.lineCount) +
                       (tally.lineCount == 1 ? " record)\n" : " records)\n");
    text += fontLine(print) + "\n\n";

    const std::vector<report::TableColumn>& columns = report::tableColumns();
    std::vector<std::vector<std::string>> cells(1);
    for (const report::TableColumn& column : columns)
        cells.front().push_back(column.heading);
    for (const report::ColumnRow& row : print.table.rows) {
        auto& line = cells.emplace_back();
        for (report::Cell& cell : report::rowCells(row, decimalSeparator))
            line.push_back(columns[line.size()].align == report::Align::Left ? shortened(cell.text) : cell.text);
    }
    text += alignedTable(cells, [&](std::size_t c) { return columns[c].align == report::Align::Left; });
    text += "\nWidths in pixels. Sized: " + sizedFor(print.fitShare) + ", or the header where that is wider.\n";
    text += "Characters and Col width: the sized width in spreadsheet units.\n";
    if (tally.longRecords > 0)
        text += std::to_string(tally.longRecords) +
                (tally.longRecords == 1 ? " record has" : " records have") +
                " more fields than the header names: the fields past its last column belong to no column.\n";
    return text;
}

}  // namespace tool
