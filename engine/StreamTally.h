#pragma once
// What measuring a stream of lines gathers, in a form that adds up: the
// tallies of two parts of a file, the earlier first, make the tally of the
// whole. The measuring threads merge through it, and so does the tool's
// --merge of parts measured apart.
//
// A file without a UTF-16 byte-order mark is read as UTF-8 when all of it
// is valid UTF-8, else as Windows-1252, which only its last byte may
// decide. Lines of ASCII alone are as wide either way; lines with bytes of
// 0x80 and up are counted under both readings until the choice is made.

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

// A line wider than the check mode's limit, in either reading.
struct WideRecord {
    std::uint64_t line = 0;          // the line, or in delimited text the record
    std::uint64_t startLine = 0;     // delimited text: the line the record starts on
    std::int64_t width = 0;          // the only width, or its UTF-8 reading
    std::int64_t widthWindows1252 = 0;  // equal to width unless the readings differ
    std::string text;                // its first recordTextBytes bytes
    bool operator==(const WideRecord&) const = default;
};

struct StreamTally {
    enum class Kind { EightBit, Utf16LE, Utf16BE };
    Kind kind = Kind::EightBit;
    bool validUtf8 = true;     // EightBit only: no byte so far breaks UTF-8
    std::uint64_t lineCount = 0;      // lines, or in delimited text values
    std::uint64_t physicalLines = 0;  // delimited text: line ends read, inside quotes too
    // The widest lines' texts are already UTF-8, as a tally read back from
    // JSON has them; otherwise they are the lines' own bytes.
    bool decodedTexts = false;

    LineTally common;          // lines whose width does not depend on the reading
    LineTally utf8;            // EightBit lines with bytes >= 0x80, read as UTF-8
    LineTally windows1252;     // the same lines read as Windows-1252
    std::vector<WideRecord> tooWide;  // check mode, in line order

    // The encoding the lines are read in, as far as the tally knows.
    Encoding encoding() const;

    // Appends a later part: its line numbers follow this one's. Both must
    // be of the same kind.
    void append(StreamTally later);
};

// Check mode shows a line's first recordTextCharacters characters, then
// "…" when there is more; a few bytes past them tell.
inline constexpr std::size_t recordTextCharacters = 4096;
inline constexpr std::size_t recordTextBytes = 4 * recordTextCharacters + 4;

// The measurement of a whole stream in the encoding it was read in.
struct Measurement {
    Encoding encoding = Encoding::Utf8;
    WidthDistribution widths;
    std::vector<WideLine> widest;     // widest first, texts decoded to UTF-8
    std::vector<WideLine> tooWide;    // check mode: lines over the limit, in order, texts decoded
    std::uint64_t lineCount() const { return widths.lineCount(); }
};

// Chooses the reading and puts the lines of that reading together.
Measurement resolve(const StreamTally& tally, std::optional<std::int64_t> maxWidth = std::nullopt);

}  // namespace engine
