#pragma once
// What Copy puts on the clipboard: the report's 21 lines, its seven fit
// widths under a heading that says they are estimates, then an empty line
// and the seven measured fits under theirs. Plain text with a line feed
// after every line, as text pasted on Linux expects; the saved report
// keeps its CR LF.

#include "ReportWriter.h"

#include <string>
#include <string_view>

namespace report {

std::string copiedText(const ReportInput& input, std::string_view decimalSeparator);

}  // namespace report
