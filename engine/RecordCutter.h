#pragma once
// Where the records of delimited text end: at a line end that is not inside
// a quoted field. Whether a line end is inside quotes takes reading from a
// record's start, so a piece of delimited text always starts at one.

#include "LineLoop.h"

#include <cstddef>
#include <optional>

namespace engine {

struct RecordCut {
    // Just after the last record's line end in the bytes, if there is one
    // that more bytes cannot change (a CR at the very end may be half of
    // a CR LF).
    std::optional<std::size_t> lastEnd;
    // The bytes end inside a quoted field; then openedAt is where its quote is.
    bool insideQuotes = false;
    std::size_t openedAt = 0;
};

// Reads [data, data + size), which starts at a record's start. atEnd: no
// more bytes follow, so a final CR ends a record.
RecordCut findRecordCut(const unsigned char* data, std::size_t size, ReadMode mode, char delimiter, bool atEnd);

// Just after the line end of the first record, found by the same rules
// with no delimiter known yet (a quote opens a field after a comma, a
// semicolon or a tab); nothing when the bytes end first.
std::optional<std::size_t> firstRecordEnd(const unsigned char* data, std::size_t size, ReadMode mode, bool atEnd);

}  // namespace engine
