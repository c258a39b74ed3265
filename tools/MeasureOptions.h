#pragma once
// The command line of spanwick-measure.

#include "FontSelections.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tool {

enum class Output {
    Report,      // the 21-line report
    Json,        // the statistics as one JSON object
    Histogram,   // the JSON object with all that --merge needs
    Check,       // the lines wider than maxWidth
    CharWidths,
    ListFonts,
    Help,
    Version,
};

struct MeasureOptions {
    Output output = Output::Report;
    std::optional<std::string> face;  // unset: the first installed font in list order
    engine::FontSelections selections = engine::defaultSelections();
    int dpi = 96;
    unsigned threads = 0;  // 0: one per core
    std::int64_t maxWidth = 0;  // for Check
    bool merge = false;
    // The data file ("-" for standard input), or with merge the parts.
    std::vector<std::string> files;

    // Delimited text: a header name or a 1-based number; the delimiter
    // (',', ';', '\t' or any other ASCII character); no header record.
    std::optional<std::string> column;
    std::optional<char> delimiter;
    bool noHeader = false;

    // Translation catalogues (--check-catalogue): files are the catalogues;
    // the output is the strings over budget, or with Json all of them.
    bool checkCatalogue = false;
    std::optional<std::int64_t> catalogueMaxWidth;  // the budget of strings without their own
    std::optional<std::string> catalogueFormat;  // xliff, po or ts; unset: by extension
    bool catalogueSource = false;
    std::optional<std::int64_t> placeholderWidth;
};

// Whether the data file is read as delimited text: a .csv or .tsv name, or
// a column asked for.
bool readsDelimited(const MeasureOptions& options);

// Parses the arguments (without the program name), as the option table
// says. On a usage error, returns nothing and sets error.
std::optional<MeasureOptions> parseOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace tool
