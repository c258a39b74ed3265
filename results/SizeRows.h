#pragma once
// The results window's Sizes view apart from its widgets: what a
// calculation measured, to measure it again in the listed sizes around
// the chosen one, the rows it shows, and the largest size within a width.

#include "CalculateWidth.h"
#include "FontSelections.h"
#include "SizeSearch.h"
#include "UserMessages.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// The data and the font a calculation measured: the same file, column,
// header setting, style and resolution, the size chosen among them.
struct SizesSource {
    engine::DataSource data;  // an empty path: nothing was measured
    std::string dataFileTitle;
    std::optional<engine::DelimitedFormat> delimited;  // one column of it
    engine::FontSelections selections;
    int logPixelsY = 96;
    std::optional<engine::FileStamp> stamp;  // the file as it was measured

    bool measurable() const { return !data.path.empty() || data.standardInput; }
    int chosenSize() const;
};

// The listed sizes from this many below the chosen one to as many above.
inline constexpr int sizesEachSide = 4;
std::vector<int> neighbouringSizes(int chosen);

// One pass over the data, each size a font of its own.
engine::CalculationRequest sizesRequest(const SizesSource& source, const std::vector<int>& sizes);

struct SizeRow {
    int points = 0;
    engine::Statistics statistics;
};

// The rows of a pass sizesRequest asked for, in the order of the sizes.
std::vector<SizeRow> sizeRows(const engine::CalculationResult& result, const std::vector<int>& sizes);

// The index of the row of a size, added in order of size when missing.
std::size_t rowFor(std::vector<SizeRow>& rows, int points, const engine::Statistics& statistics);

inline constexpr std::array<std::string_view, 5> sizeHeadings{"Size", "Longest", "95% measured", "99% measured",
                                                               "99% estimated"};
// Size, longest, measured 95% and 99%, estimated 99%: whole pixels.
std::array<std::string, 5> rowCells(const SizeRow& row);

// The share the largest size within a width is found for.
inline constexpr int fitWithinShare = 99;

struct FitWithin {
    engine::Outcome outcome = engine::Outcome::Done;
    std::string reason;  // for Unreadable: the system's words
    engine::FaceAnswer answer;
    std::map<int, engine::Statistics> statistics;  // of every size measured, by points
};

// The largest listed size whose measured 99% fit is within the width, and
// the next one up, as measuring every listed size would answer.
FitWithin searchFitWithin(const SizesSource& source, std::int64_t within, const engine::ProgressHook& progress);

// Why the data cannot be measured again as it was, in a sentence: nothing
// was measured, it came from a stream, or the file has changed since.
// Empty when it can.
std::string notMeasurableAgain(const SizesSource& source);

// What the view says instead of rows when a pass did not end in them;
// empty when cancelled.
std::string sizesProblem(const SizesSource& source, engine::Outcome outcome, const std::string& reason);

}  // namespace report
