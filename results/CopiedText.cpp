#include "CopiedText.h"

#include "MeasuredReport.h"

namespace report {

std::string copiedText(const ReportInput& input, std::string_view decimalSeparator)
{
    // The report up to its fit widths, which get a heading, then the
    // measured fits under theirs.
    const std::vector<std::string> report = reportLines(input, decimalSeparator);
    const std::size_t fitsFrom = report.size() - engine::fitShares.size();
    std::string text;
    for (std::size_t i = 0; i < report.size(); ++i) {
        if (i == fitsFrom)
            text += std::string(estimatedHeading) + '\n';
        text += report[i] + '\n';
    }
    text += '\n' + measuredHeading(input.measured.dpi) + '\n';
    for (const std::string& line : measuredLines(input.statistics, reportUnit))
        text += line + '\n';
    return text;
}

}  // namespace report
