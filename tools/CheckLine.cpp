#include "CheckLine.h"

#include "VisibleText.h"

namespace tool {

std::string tooWideLine(const engine::WideLine& line, bool records, bool columns)
{
    std::string where =
        records ? std::to_string(line.line) + ":" + std::to_string(line.startLine) : std::to_string(line.line);
    if (columns) {
        where += ':';
        where += std::to_string(line.column);
    }
    return where + ":" + std::to_string(line.width) + ":" + report::visibleText(line.text) + "\n";
}

}  // namespace tool
