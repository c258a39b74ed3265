#pragma once
// spanwick-measure --help, made from the option table. The manual page is
// made from it too.

#include <string>

namespace tool {

std::string usageText();

}  // namespace tool
