#pragma once
// Measures every line of a data file, in one pass, on every core: each
// target of the pass (each line, or a chosen column of delimited records,
// in one font) from the same read of the data.
//
// A line ends at CR LF, at LF or at a lone CR. A final line without a
// terminator counts once; a file ending with a terminator has no extra
// empty line; an empty line has width 0. A UTF-8 byte-order mark is
// skipped. A UTF-16 byte-order mark selects UTF-16 (lines end at U+000A,
// U+000D or both). Without one, the file is read as UTF-8 when all of it
// is valid UTF-8, otherwise byte by byte as Windows-1252.

#include "CharSet.h"
#include "CharWidths.h"
#include "Delimited.h"
#include "InputStream.h"
#include "Outcome.h"
#include "StreamTally.h"
#include "TooWideStream.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace engine {

struct Progress {
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;  // 0 when the size is not known in advance
    std::uint64_t linesDone = 0;
};

// Called every few tens of milliseconds of work, and while waiting for a
// slow stream; returning false cancels. It runs on a measuring thread,
// never on two at once.
using ProgressHook = std::function<bool(const Progress&)>;

inline constexpr std::size_t defaultBlockSize = std::size_t{1} << 20;

struct MeasureOptions {
    unsigned threads = 0;                  // 0: one per core
    std::optional<std::int64_t> maxWidth;  // check mode: keep the lines wider than this
    // Check mode: each line over the limit, in file order, as soon as the
    // reading it is shown in is known; without it they wait in the tally.
    TooWideStream::Sink tooWide;
    ProgressHook progress;
    std::size_t blockSize = defaultBlockSize;  // the unit of reading; at least 16
    // Delimited text: measure columns of its records rather than lines.
    std::optional<DelimitedFormat> delimited;
    // Gather the characters the stream holds (see CharSet).
    bool characters = false;
    // A file descriptor every byte read is written to as well, so a stream
    // that can be read only once can be read again; -1 for none.
    int copyTo = -1;
};

// One pass: each font over each line, or over each column the format
// chooses. Target t is column t / fonts.size() (or the lines) in font
// t % fonts.size().
struct MeasureRequest {
    DataSource source;
    std::vector<const FontWidths*> fonts;
    MeasureOptions options;
};

struct MeasureResult {
    Outcome outcome = Outcome::Done;
    std::string reason;   // for Unreadable: the system's words, e.g. "No such file or directory"
    StreamTally tally;    // for Done: what was measured, still mergeable
    RecordLayout layout;  // delimited text: the delimiter, the header's names, the columns
    ColumnChoice unknownColumn;  // for UnknownColumn: as the user named it
    std::uint64_t unclosedQuoteLine = 0;
    unsigned threads = 0;         // the threads that measured
    bool fewerThreads = false;    // memory allowed fewer than asked for
    CharSet characters;           // with options.characters
};

MeasureResult measure(const MeasureRequest& request);

// One font.
MeasureResult measure(const DataSource& source, const FontWidths& widths, const MeasureOptions& options = {});

// The number of threads measure() uses for a given option value.
unsigned measuringThreads(unsigned requested);

}  // namespace engine
