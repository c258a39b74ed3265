#include "AlignedTable.h"

#include <algorithm>

namespace tool {

std::size_t terminalWidth(std::string_view utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string alignedTable(const std::vector<std::vector<std::string>>& rows,
                         const std::function<bool(std::size_t column)>& leftAligned)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], terminalWidth(row[c]));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string pad(widths[c] - terminalWidth(row[c]), ' ');
            if (c > 0)
                line += "  ";
            line += leftAligned(c) ? row[c] + pad : pad + row[c];
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    return out;
}

}  // namespace tool
