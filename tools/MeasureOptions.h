#pragma once
// The command line of spanwick-measure.

#include "FontSelections.h"

#include <optional>
#include <string>
#include <vector>

namespace tool {

enum class Output { Report, Json, CharWidths, ListFonts, Help };

struct MeasureOptions {
    Output output = Output::Report;
    std::optional<std::string> face;  // unset: the first installed font in list order
    engine::FontSelections selections;
    int dpi = 96;
    std::string dataFile;
};

// The nine weight names, in list order.
const std::vector<std::string>& weightNames();

// Parses the arguments (without the program name). On a usage error,
// returns nothing and sets error.
std::optional<MeasureOptions> parseOptions(const std::vector<std::string>& args, std::string& error);

const char* usageText();

}  // namespace tool
