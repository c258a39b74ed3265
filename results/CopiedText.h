#pragma once
// What Copy puts on the clipboard: the report's 21 lines, then the seven
// measured fits. Plain text with a line feed after every line, as text
// pasted on Linux expects; the saved report keeps its CR LF.

#include "ReportWriter.h"

#include <string>
#include <string_view>

namespace report {

std::string copiedText(const ReportInput& input, std::string_view decimalSeparator);

}  // namespace report
