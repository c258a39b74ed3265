#pragma once
// The measuring loop: sums the character widths of every line in one piece
// of a stream. A piece holds whole lines, except that the first may have
// begun in the piece before and the last may go on in the next; those two
// come back as segments for the caller to join.

#include "CharWidths.h"
#include "StreamTally.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace engine {

// How bytes become characters. Open: no UTF-16 mark and no byte yet that
// breaks UTF-8, so lines with bytes >= 0x80 are measured both ways.
enum class ReadMode { Open, Windows1252, Utf16LE, Utf16BE };

// A line's width in the two readings of an 8-bit stream.
struct LineValue {
    std::int64_t width = 0;             // the only reading, or UTF-8
    std::int64_t widthWindows1252 = 0;  // equal to width unless dual
    bool dual = false;                  // the readings may differ

    void append(const LineValue& more)
    {
        width += more.width;
        widthWindows1252 += more.widthWindows1252;
        dual = dual || more.dual;
    }
};

// Part of a line cut by a piece's edge.
struct Segment {
    bool present = false;
    bool ended = false;  // the line ends in this piece
    LineValue value;
    std::string text;    // its first bytes, as many as the caller keeps
};

// What a piece gives besides the distributions, which go straight into the
// thread's own tally. Line numbers count the piece's own lines from 1.
struct PieceResult {
    Segment head;  // the end of a line begun before the piece
    std::uint64_t lines = 0;
    Segment tail;  // a line the piece begins and does not end
    std::array<WidestLines, 3> widest;  // common, UTF-8 reading, Windows-1252 reading
    std::vector<WideRecord> tooWide;
    bool brokeUtf8 = false;  // an Open piece found a byte that is not UTF-8
    // Delimited text: the line ends in the piece, inside quotes too, and
    // the line of a quoted field still open at the piece's end (from 1).
    std::uint64_t physicalLines = 0;
    std::uint64_t unclosedQuoteLine = 0;
};

class LineLoop {
public:
    LineLoop(const FontWidths& font, std::optional<std::int64_t> maxWidth);
    ~LineLoop();
    LineLoop(const LineLoop&) = delete;
    LineLoop& operator=(const LineLoop&) = delete;

    // Measures [data, data + size). mode may change from Open to
    // Windows1252. Whole lines are counted into tally.
    void measure(const unsigned char* data, std::size_t size, bool beginsInsideLine, ReadMode& mode,
                 PieceResult& out, StreamTally& tally);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace engine
