#pragma once
// How a calculation ended, from the first check to the last byte read.

namespace engine {

enum class Outcome {
    Done,           // every target has its results
    NoDataFile,     // refused, in the order the checks are made
    NoFont,
    EmptyFile,      // no lines at all
    Unreadable,     // could not open or read; the reason says why
    Changed,        // a regular file changed while it was read
    Cancelled,      // stopped on request; nothing to say
    OutOfMemory,
    UnknownColumn,  // delimited text: no column of that name or number
    UnclosedQuote,  // delimited text: a quoted field never ends
    RecordTooLong,  // delimited text: a record too long to measure
};

}  // namespace engine
