#include "MeasuredReport.h"

#include "VisibleText.h"

namespace report {

std::string resolutionText(int dpi) { return std::to_string(dpi) + " dots per inch"; }

std::string measuredHeading(int dpi)
{
    return "Measured, the widths the lines really fit in (at " + resolutionText(dpi) + "):";
}

std::string widestLine(const engine::WideLine& line, bool record)
{
    const std::string where = record ? "Record " + std::to_string(line.line) + " (from line " +
                                           std::to_string(line.startLine) + ")"
                                     : "Line " + std::to_string(line.line);
    return where + ": " + pixelsText(line.width) + ": " + visibleText(line.text);
}

std::vector<std::string> measuredReportLines(const ReportInput& input)
{
    std::vector<std::string> lines{"", measuredHeading(input.measured.dpi)};
    for (const std::string& fit : measuredLines(input.statistics, reportUnit))
        lines.push_back(fit);
    lines.insert(lines.end(), {"", "Widest lines:"});
    for (const engine::WideLine& line : input.measured.widest)
        lines.push_back(widestLine(line, input.delimited));
    return lines;
}

std::string measuredReportText(const ReportInput& input, std::string_view decimalSeparator)
{
    std::string text = reportText(input, decimalSeparator);
    for (const std::string& line : measuredReportLines(input))
        text += line + "\r\n";
    return text;
}

}  // namespace report
