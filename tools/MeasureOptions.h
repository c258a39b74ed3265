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
    // The faces, in order; none: the first installed font in list order.
    std::vector<std::string> faces;
    // The sizes, in order, as the size list spells them; none: the
    // selections' one. Several faces or sizes measure every combination.
    std::vector<std::string> sizes;
    engine::FontSelections selections = engine::defaultSelections();
    // The largest size of each face at which the fit share of the lines
    // fits this many pixels; the share, in per cent (100: every line).
    std::optional<std::int64_t> fitWithin;
    int fit = 100;
    int dpi = 96;
    unsigned threads = 0;  // 0: one per core
    std::int64_t maxWidth = 0;  // for Check
    bool merge = false;
    // The data file ("-" for standard input), or with merge the parts.
    std::vector<std::string> files;

    // Delimited text: the columns asked for, in order, each a header name
    // or a 1-based number, or every column; the delimiter (',', ';', '\t'
    // or any other ASCII character); no header record.
    std::vector<std::string> columns;
    bool allColumns = false;
    std::optional<char> delimiter;
    bool noHeader = false;
    // A table of columns: the weight its header row is drawn in, a
    // position in engine::weightNames (unset: the font's own). Each column
    // is sized for the fit share.
    std::optional<int> headerWeight;

    // Every column, a list or --column given again: the table of columns,
    // whatever the file holds. One column alone is measured as always.
    bool severalColumns() const { return allColumns || columns.size() > 1; }

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

// The most fonts one run measures; --fit-within measures more, in passes.
inline constexpr std::size_t maxFonts = 64;

// How many fonts a run measures: every face in every size.
std::size_t fontCount(const MeasureOptions& options);

// Parses the arguments (without the program name), as the option table
// says. On a usage error, returns nothing and sets error.
std::optional<MeasureOptions> parseOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace tool
