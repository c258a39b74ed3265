#pragma once
// The calculation behind the Calculate command: check that there is a data
// file and a font, take the font's widths, measure the file and compute the
// statistics into WidthStatistics. The window shows what it returns.

#include "LineMeasurer.h"
#include "WidthStatistics.h"
#include "modFontView.h"

#include <string>

namespace engine {

struct CalculationRequest {
    std::string dataFileTitle;  // the file's name; empty means no data file chosen
    std::string dataFilePath;
    HDC widthContext = nullptr;  // the context the font is selected into for its widths
    ProgressHook progress;
};

enum class Outcome {
    Done,        // WidthStatistics holds the new results
    NoDataFile,  // messages for the user, in the order they are checked
    NoFont,
    EmptyFile,
    Unreadable,
    Changed,
    Cancelled,   // stopped on request; nothing to say
};

enum class MessageIcon { None, Critical };

struct CalculationResult {
    Outcome outcome = Outcome::Done;
    std::string message;  // what to tell the user; empty for Done and Cancelled
    MessageIcon icon = MessageIcon::None;
    std::uint64_t lineCount = 0;
    Encoding encoding = Encoding::Utf8;
};

// The widths of character codes 32..126 of CurrentFont, with the font
// selected into the context only for the query.
WidthTable takeWidthTable(HDC context);

CalculationResult CalculateWidth(const CalculationRequest& request);

}  // namespace engine
