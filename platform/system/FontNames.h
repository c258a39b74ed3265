#pragma once
// The installed screen fonts as the font list shows them: the names in the
// platform's order, and the order the list keeps them in (case-insensitive,
// by the user's locale).

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The Windows family names of the installed scalable fonts, each once, in
// the order the system reports them.
std::vector<std::string> installedScreenFonts();
// The family of each installed face, a name as often as it has faces, not
// copied: they live as long as the process. Thousands of names take a
// while to copy and to tell apart.
std::vector<std::string_view> installedFaceFamilies();

// True when a sorts before b in the font list.
bool fontNameLess(const std::string& a, const std::string& b);

// The names in list order; empty names are left out, duplicates kept.
std::vector<std::string> sortedFontNames(std::vector<std::string> names);

}  // namespace platform
