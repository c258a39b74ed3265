#pragma once
// The JSON of a measurement: its statistics, and with --histogram
// everything --merge needs to add parts of a data set together. The tool
// writes it, and the results window saves the same.

#include "Delimited.h"
#include "FontSelections.h"
#include "StreamTally.h"
#include "WidthStatistics.h"

#include <string>
#include <string_view>

namespace tool {

// A JSON string; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(std::string_view text);

// The options a part was measured with; parts merge only when these agree.
struct FontRecord {
    engine::FontSelections selections;
    int dpi = 96;
};

// How a part's data were read; parts merge only when these agree too.
struct FormatRecord {
    bool delimited = false;
    char delimiter = ',';
    bool header = true;
    std::string column;  // the measured column's name

    bool operator==(const FormatRecord&) const = default;
};

// What a part records of the format, for --merge: the layout read and the
// measured column's caption.
FormatRecord formatRecord(const engine::RecordLayout& layout, const std::string& caption);

struct JsonResult {
    const engine::Measurement& measurement;
    const engine::Statistics& statistics;
    std::string face;  // the face the font layer chose
    FormatRecord format;
    int dpi = 96;  // the resolution measured at
};

// The statistics, the exact fits and the widest lines (records of
// delimited text) as the fields of an object, without its braces.
std::string statisticsFields(const engine::Measurement& measurement, const engine::Statistics& statistics,
                             bool records);

// One line: the statistics, the exact fits, the widest lines, the face,
// the resolution and the encoding.
std::string resultJson(const JsonResult& result);

// The same object without its line end, with the font's size beside the
// face: an element of a list of several fonts.
std::string resultObject(const JsonResult& result, const std::string& size);

// The same, with the count of lines of each width and the tally.
std::string histogramJson(const JsonResult& result, const engine::StreamTally& tally, const FontRecord& font,
                          const std::string& dataFile);

std::string formatJson(const FormatRecord& format);

// The kind of text a part was read as: "8-bit" (UTF-8 or Windows-1252,
// as ValidUtf8 says), "UTF-16LE" or "UTF-16BE".
const char* kindName(engine::Encoding encoding);
// The tally's readings by the names its JSON gives them.
inline constexpr engine::Readings<const char*> readingNames{"Common", "UTF-8", "Windows-1252"};

}  // namespace tool
