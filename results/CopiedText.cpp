#include "CopiedText.h"

namespace report {

std::string copiedText(const ReportInput& input, std::string_view decimalSeparator)
{
    std::string text;
    for (const std::string& line : reportLines(input, decimalSeparator))
        text += line + '\n';
    for (const std::string& line : measuredLines(input.statistics))
        text += line + '\n';
    return text;
}

}  // namespace report
