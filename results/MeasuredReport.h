#pragma once
// The measured fits and the widest lines as text, beside the designed
// report: under their own heading, so that once they leave the window no
// one takes the estimated fits for the measured ones or the other way.

#include "ReportWriter.h"

#include <string>
#include <string_view>
#include <vector>

namespace report {

inline constexpr std::string_view estimatedHeading = "Estimated, assuming the widths are normally distributed:";
// "Measured, the widths the lines really fit in (at 96 dots per inch):"
std::string measuredHeading(int dpi);
// "96 dots per inch"
std::string resolutionText(int dpi);

// A widest line as one line of text: "Line 7: 1404 pixels: text", or for
// delimited text "Record 3 (from line 5): 1404 pixels: text", its
// controls shown visibly (a line break inside a value as ↵).
std::string widestLine(const engine::WideLine& line, bool record);

// What follows the designed report in the report with measured fits: an
// empty line, the heading, the seven measured fits, an empty line and the
// widest lines under a heading of their own.
std::vector<std::string> measuredReportLines(const ReportInput& input);

// The designed report, then the lines above; every line ended by CR LF.
std::string measuredReportText(const ReportInput& input, std::string_view decimalSeparator);

}  // namespace report
