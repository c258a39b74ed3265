#pragma once
// The names the tool gives a data file: the file is opened by the name it
// was given, and the report shows it as a full path.

#include <string>

namespace tool {

// The full path of a file name; the name as given when no full path can be
// made (a current folder whose path is too long to ask for, say).
std::string absoluteName(const std::string& given);

}  // namespace tool
