#pragma once
// What measuring a stream gathers, in a form that adds up: the tallies of
// two parts of a file, the earlier first, make the tally of the whole. The
// measuring threads merge through it, and so does the tool's --merge of
// parts measured apart. One pass measures several targets (each line, or
// a column of delimited records, in one font); each has its own tally,
// and the encoding and the counts of lines are shared.
//
// A file without a UTF-16 byte-order mark is read as UTF-8 when all of it
// is valid UTF-8, else as Windows-1252, which only its last byte may
// decide. Lines of ASCII alone are as wide either way; lines with bytes of
// 0x80 and up are counted under both readings until the choice is made.

#include "Readings.h"
#include "TextEncoding.h"
#include "WidestLines.h"
#include "WidthDistribution.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace engine {

// The lines of one reading.
struct LineTally {
    WidthDistribution widths;
    WidestLines widest;  // texts as raw bytes until resolved

    void merge(const LineTally& other)
    {
        widths.merge(other.widths);
        widest.merge(other.widest);
    }
};

// One target's lines in each reading.
using TargetTally = Readings<LineTally>;

// A line wider than check mode's limit, in either reading.
struct WideRecord {
    std::size_t target = 0;
    std::uint64_t line = 0;          // the line, or in delimited text the record
    std::uint64_t startLine = 0;     // delimited text: the line the record starts on
    std::int64_t width = 0;          // the only width, or its UTF-8 reading
    std::int64_t widthWindows1252 = 0;  // equal to width unless dual
    bool dual = false;               // the readings may differ: wait for the encoding
    std::string text;                // its first recordTextBytes bytes
    bool operator==(const WideRecord&) const = default;
};

struct StreamTally {
    // A UTF-16 as marked; else Utf8 while no byte breaks UTF-8, then
    // Windows1252.
    Encoding encoding = Encoding::Utf8;
    std::uint64_t lineCount = 0;      // lines, or in delimited text records (each column's values)
    std::uint64_t physicalLines = 0;  // delimited text: line ends read, inside quotes too
    std::uint64_t longRecords = 0;    // delimited text: records with more fields than the header names
    std::size_t fieldCount = 0;       // delimited text: the most fields of any measured record
    // The widest lines' texts are already UTF-8, as a tally read back from
    // JSON has them; otherwise they are the lines' own bytes.
    bool decodedTexts = false;

    std::vector<TargetTally> targets;
    std::vector<WideRecord> tooWide;  // check mode, in line order

    TargetTally& target(std::size_t index)
    {
        if (index >= targets.size())
            targets.resize(index + 1);
        return targets[index];
    }

    // Appends a later part: its line numbers follow this one's. Both must
    // be read in the same way: 8-bit, or the same UTF-16.
    void append(StreamTally later);
    // Adds another thread's distributions of the same stream.
    void mergeWidths(const StreamTally& other);
};

// Check mode shows as much of a line as the widest lines do.
inline constexpr std::size_t recordTextCharacters = WidestLines::textCharacters;
inline constexpr std::size_t recordTextBytes = WidestLines::textBytes;

// A line's text as shown, from its first bytes: its first
// recordTextCharacters characters, then "…" when there is more.
std::string recordText(const std::string& bytes, Encoding encoding);

// The measurement of one target of a whole stream, in the encoding the
// stream was read in.
struct Measurement {
    Encoding encoding = Encoding::Utf8;
    WidthDistribution widths;
    std::vector<WideLine> widest;     // widest first, texts decoded to UTF-8
    std::vector<WideLine> tooWide;    // check mode: lines over the limit, in order, texts decoded
    std::uint64_t lineCount() const { return widths.lineCount(); }
};

// Chooses the reading and puts the target's lines of that reading together.
Measurement resolve(const StreamTally& tally, std::size_t target = 0,
                    std::optional<std::int64_t> maxWidth = std::nullopt);

// A check mode's record as shown: in the encoding read, when it is over
// the limit there; nothing when it is not.
std::optional<WideLine> resolveTooWide(const WideRecord& record, Encoding encoding, std::int64_t maxWidth);

}  // namespace engine
