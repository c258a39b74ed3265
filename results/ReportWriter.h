#pragma once
// The words and numbers of a calculation's results: the values the results
// window shows and the 21 lines of the saved report come from here, so the
// window, the report and the command-line tool say exactly the same thing.

#include "FontSelections.h"
#include "SizeRows.h"
#include "WidestLines.h"
#include "WidthDistribution.h"
#include "WidthStatistics.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// What was measured beyond the report's statistics: the distribution and
// the widest lines, for the results window's own view.
struct MeasuredDetail {
    engine::WidthDistribution widths;      // empty: nothing measured to show
    std::vector<engine::WideLine> widest;  // widest first, texts in UTF-8
    int dpi = 96;                          // the resolution the widths are at
    std::string json;  // the measurement as spanwick-measure --json writes it
};

struct ReportInput {
    engine::FontSelections selections;
    std::string dataFileTitle;  // the file's name
    std::string dataFilePath;   // its full path
    engine::Statistics statistics;  // the estimated and the measured fits
    MeasuredDetail measured;
    bool delimited = false;  // a column of delimited text was measured
    std::string column;      // its caption
    SizesSource sizes{};     // the same data and font, to measure in other sizes
};

// The values in the order they are filled. Lengths end in the unit: the
// window writes " pixels", the report " pixels.".
struct ResultValues {
    std::string fontFace;
    std::string fontSize;
    std::string italic;     // "Yes" / "No"
    std::string underline;
    std::string strikeOut;
    std::string weight;
    std::string width;      // "Normal", "1 pixel", "12 pixels"
    std::string minimum;
    std::string maximum;
    std::string average;
    std::string stdDeviation;
    std::array<std::string, 7> fitLines;  // "50% of the data will fit within 15 pixels"
};

inline constexpr std::string_view windowUnit = " pixels";
inline constexpr std::string_view reportUnit = " pixels.";

// A width as the results write it: "1404 pixels", "1 pixel".
std::string pixelsText(std::int64_t width);

// ", column city" after a data file's name, for a column of delimited text;
// nothing for plain text.
std::string columnSuffix(const ReportInput& input);

std::string yesNo(int checkState);
std::string widthDescription(const std::string& widthText);

ResultValues resultValues(const ReportInput& input, std::string_view decimalSeparator, std::string_view unit);

// "90% of the lines fit within 104 pixels": the seven exact fits, in the
// order of engine::fitShares, ended by the unit as the estimated ones are.
std::array<std::string, 7> measuredLines(const engine::Statistics& statistics, std::string_view unit);

// The report's 21 lines, without line ends.
std::vector<std::string> reportLines(const ReportInput& input, std::string_view decimalSeparator);

// The report as it is saved: every line, the last one too, ended by CR LF.
std::string reportText(const ReportInput& input, std::string_view decimalSeparator);

// "<face> <size> point - <data file name>.txt", for a column of delimited
// text "<face> <size> point - <data file name>, column <name>.txt", with
// any character that cannot stand in a file name replaced.
std::string proposedReportName(const ReportInput& input);

}  // namespace report
