#pragma once
// A path as one line of text: control characters stand as "?", so a file
// name with a line break cannot split the report's "Data File:" line or
// the window's display of it.

#include <string>
#include <string_view>

namespace report {

// Replaces C0 controls and DEL with "?", and the other control characters
// (isControlCharacter: C1, U+2028, U+2029) too when the path is valid
// UTF-8. Every other byte stays as it is: a path in some other encoding
// keeps its bytes.
std::string printablePath(std::string_view path);

}  // namespace report
