#pragma once
// The name a measured column goes by, in the window's list, the report's
// data file line and the tool's output alike.

#include <cstddef>
#include <string>
#include <vector>

namespace engine {

// The header's name of the 1-based column, on one line: a line break in it
// becomes a space (a run of them, one), another control character shows
// as "?". "Column N" when there is no header, no such field or the name is
// empty.
std::string columnCaption(const std::vector<std::string>& headerNames, bool header, std::size_t number);

}  // namespace engine
