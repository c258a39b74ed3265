#pragma once
// What measuring one piece of a stream gives besides the distributions,
// which go straight into the thread's own tally: what the combiner needs
// to put the pieces back in order. Line numbers count the piece's own
// lines (or records) from 1.

#include "Readings.h"
#include "StreamTally.h"
#include "ValueWidth.h"
#include "WidestLines.h"

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

// Part of a line cut by a piece's edge: its width for each target so far,
// and its first bytes.
struct Segment {
    bool present = false;
    bool ended = false;  // the line ends in this piece
    std::vector<LineValue> values;
    std::string text;
};

// Part of a record of delimited text cut by a piece's edge: the values of
// its fields firstField to lastField so far, slot by slot. The first field
// may go on from the part before; its text up to its first line break is
// kept apart, to go on with that part's last line.
struct RecordPart {
    bool present = false;
    bool ended = false;           // the record ends in the piece
    std::size_t firstField = 1;
    std::size_t lastField = 1;
    std::uint64_t startLine = 0;  // a part that begins the record: its line, from 1 in the piece
    // A quote open where the part ends: the line it opened on in the
    // piece, or 0 when it opened before the piece.
    bool inQuotes = false;
    std::uint64_t quoteLine = 0;
    bool firstBroke = false;            // a line break in the first field
    std::vector<LineWidth> firstLines;  // by target: the first field's text up to it
    std::vector<ValueWidth> values;     // by target
    std::vector<std::size_t> columns;   // by slot: its column
    std::vector<std::string> texts;     // by slot: a value's first bytes
};

// A record of delimited text, by its numbers.
struct RecordNumbers {
    std::uint64_t record = 0;     // from 1 in the piece
    std::uint64_t startLine = 0;  // the line it starts on, from 1 in the piece
};

struct PieceResult {
    Segment head;  // the end of a line begun before the piece
    std::uint64_t lines = 0;
    Segment tail;  // a line the piece begins and does not end
    std::vector<Readings<WidestLines>> widest;  // for each target
    std::vector<WideRecord> tooWide;
    bool brokeUtf8 = false;  // a piece read as UTF-8 found a byte that is not
    Encoding reading = Encoding::Utf8;  // how the piece's end was read
    // Delimited text: the line ends in the piece, inside quotes too, and
    // the line of a quoted field still open at the piece's end (from 1).
    std::uint64_t physicalLines = 0;
    std::uint64_t unclosedQuoteLine = 0;
    bool unclosedQuoteBefore = false;  // the quote opened before the piece
    RecordPart headRecord;  // the end of a record begun before the piece
    RecordPart tailRecord;  // a record the piece begins and does not end
    std::uint64_t longRecords = 0;  // records with more fields than the header names
    std::size_t fieldCount = 0;     // the most fields of its records
    // Every column, without a header: the columns the piece measured, and
    // its first records, which are the empty values of a column that only
    // a later record of the stream has.
    std::size_t columns = 0;
    std::vector<RecordNumbers> firstRecords;
};

}  // namespace engine
