#pragma once
// Measures every line of a data file: two passes over the file, the first
// counting lines (and deciding the encoding), the second summing each
// line's character widths.
//
// A line ends at CR LF, at LF or at a lone CR. A final line without a
// terminator counts once; a file ending with a terminator has no extra
// empty line; an empty line has width 0. A UTF-8 byte-order mark at the
// start is skipped. The file is read as UTF-8 when it is valid UTF-8,
// otherwise byte by byte as Windows-1252.

#include "CharWidths.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace engine {

enum class Encoding { Utf8, Windows1252 };

struct Progress {
    int pass = 1;                  // 1: counting, 2: measuring
    std::uint64_t bytesDone = 0;   // in this pass
    std::uint64_t bytesTotal = 0;  // the file's size
    std::uint64_t linesDone = 0;   // counted (pass 1) or measured (pass 2)
};

// Called every few tens of milliseconds of work; returning false cancels.
using ProgressHook = std::function<bool(const Progress&)>;

struct LineMeasurement {
    std::uint64_t LineCount = 0;
    std::int64_t TotalWidth = 0;
    std::vector<std::int64_t> LineWidths;  // one per line, in file order
    std::int64_t MinWidth = -1;
    std::int64_t MaxWidth = -1;
    Encoding encoding = Encoding::Utf8;
};

enum class MeasureStatus {
    Ok,
    Empty,       // no lines at all
    CannotRead,  // could not open or read; reason says why
    Changed,     // the line count differs between the passes
    Cancelled,   // the progress hook asked to stop
};

struct MeasureResult {
    MeasureStatus status = MeasureStatus::Ok;
    std::string reason;  // for CannotRead: the system's words, e.g. "No such file or directory"
    LineMeasurement data;
};

MeasureResult measureFile(const std::string& path, CharWidths& widths, const ProgressHook& progress = {});

}  // namespace engine
