#pragma once
// The calculation behind the Calculate command: check that there is a data
// file and a font, make the measurement's own font from the same
// description, measure the file and compute the statistics. It hands back
// an outcome and the data; what to tell the user is decided elsewhere.

#include "Measure.h"
#include "WidthStatistics.h"
#include "modFontView.h"

#include <string>

namespace engine {

struct CalculationRequest {
    std::string dataFileTitle;  // the file's name; empty means no data file chosen
    DataSource data;
    LOGFONTA font{};  // the description CurrentFont was made from
    MeasureOptions options;
};

enum class Outcome {
    Done,         // statistics and measurement hold the new results
    NoDataFile,   // refused, in the order the checks are made
    NoFont,
    EmptyFile,
    Unreadable,   // reason says why
    Changed,
    Cancelled,    // stopped on request; nothing to say
    OutOfMemory,
    UnknownColumn,  // delimited text: no column of that name; layout has the header
    UnclosedQuote,  // delimited text: unclosedQuoteLine says where
    RecordTooLong,  // delimited text: a record too long to measure
};

struct CalculationResult {
    Outcome outcome = Outcome::Done;
    std::string reason;  // for Unreadable: the system's words
    StreamTally tally;   // for Done: what was measured, still mergeable
    Measurement measurement;
    Statistics statistics;
    RecordLayout layout;  // delimited text: delimiter, header names, column
    std::uint64_t unclosedQuoteLine = 0;
};

// The widths of character codes 32..126 of a font.
WidthTable takeWidthTable(HFONT font);

// The checks made before anything is measured, in order: Done when none
// refuses. It looks at CurrentFont, so it runs where the preview is drawn.
Outcome checkCalculation(const CalculationRequest& request);

// The measurement proper, on any thread: its font is its own.
CalculationResult measureCalculation(const CalculationRequest& request);

// Both, one after the other.
CalculationResult CalculateWidth(const CalculationRequest& request);

}  // namespace engine
