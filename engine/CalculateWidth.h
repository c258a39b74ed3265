#pragma once
// The calculation behind the Calculate command: check that there is a data
// file and a font, make the measurement's own fonts from the same
// descriptions, measure the file and compute the statistics of every
// target. It hands back one result value; what to tell the user is
// decided elsewhere.

#include "Measure.h"
#include "Outcome.h"
#include "WidthStatistics.h"
#include "modFontView.h"

#include <string>
#include <vector>

namespace engine {

struct CalculationRequest {
    bool dataFileChosen = false;
    std::string dataFileTitle;  // the file's name
    DataSource data;
    std::vector<LOGFONTA> fonts;  // the descriptions to measure in; CurrentFont's first
    MeasureOptions options;
};

// One target's results: the lines, or one column of delimited text, in
// one font.
struct TargetResult {
    std::size_t font = 0;    // in the request's fonts
    std::size_t column = 0;  // delimited text: from 1; 0 for lines
    std::string caption;     // delimited text: the column's caption
    Measurement measurement;
    Statistics statistics;   // the estimated and the measured fits, as arrays
};

struct CalculationResult {
    Outcome outcome = Outcome::Done;
    std::string reason;  // for Unreadable: the system's words
    std::uint64_t unclosedQuoteLine = 0;
    ColumnChoice unknownColumn;  // for UnknownColumn: as the user named it
    bool delimited = false;
    RecordLayout layout;  // delimited text: delimiter, header names, columns
    StreamTally tally;    // for Done: what was measured, still mergeable
    std::vector<TargetResult> targets;  // column by column, each in every font in turn
    unsigned threads = 0;
    bool fewerThreads = false;

    Encoding encoding() const { return tally.encoding; }
};

// The widths of character codes 32..126 of a font.
WidthTable takeWidthTable(HFONT font);

// The checks made before anything is measured, in order: Done when none
// refuses. It looks at CurrentFont, so it runs where the preview is drawn.
Outcome checkCalculation(const CalculationRequest& request);

// The measurement proper, on any thread: its fonts are its own.
CalculationResult measureCalculation(const CalculationRequest& request);

// Both, one after the other.
CalculationResult CalculateWidth(const CalculationRequest& request);

// The results of every target of a tally, as a measurement gives them.
std::vector<TargetResult> targetResults(const StreamTally& tally, const RecordLayout& layout, bool delimited,
                                        std::size_t fonts, std::optional<std::int64_t> maxWidth = std::nullopt);

}  // namespace engine
