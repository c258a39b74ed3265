#pragma once
// A path as one line of text: control characters stand as "?", so a file
// name with a line break cannot split the report's "Data File:" line or
// the window's display of it.

#include <string>
#include <string_view>

namespace report {

// Replaces C0 controls and DEL with "?", and C1 controls (U+0080..U+009F)
// too when the path is valid UTF-8. Every other byte stays as it is: a
// path in some other encoding keeps its bytes.
std::string printablePath(std::string_view path);

}  // namespace report
