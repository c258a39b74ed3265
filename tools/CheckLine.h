#pragma once
// Check mode's line for a value too wide.

#include "WidestLines.h"

#include <string>

namespace tool {

// LINE:WIDTH:TEXT, for delimited text RECORD:LINE:WIDTH:TEXT, and for
// several columns RECORD:LINE:COLUMN:WIDTH:TEXT; one line each, whatever
// the text holds.
std::string tooWideLine(const engine::WideLine& line, bool records, bool columns);

}  // namespace tool
