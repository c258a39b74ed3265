#pragma once
// A table for a terminal: columns as wide as their widest cell, two spaces
// apart, each aligned left (text) or right (numbers).

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

// Characters as a terminal shows most of them, one column each.
std::size_t terminalWidth(std::string_view utf8);

// One line for each row, ended by LF, without trailing spaces.
std::string alignedTable(const std::vector<std::vector<std::string>>& rows,
                         const std::function<bool(std::size_t column)>& leftAligned);

}  // namespace tool
