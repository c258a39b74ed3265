#pragma once
// The text of delimited records, by the grammar: where the first record
// ends, and a field's text without the quotes that only delimit it.

#include "CsvGrammar.h"
#include "TextEncoding.h"

#include <cstddef>
#include <optional>
#include <string>

namespace engine::csv {

// The length of the first record's bytes before its line end, read with
// this delimiter; the whole when the data ends first and atEnd says no more
// follows; nothing when more may follow.
std::optional<std::size_t> firstRecordLength(const unsigned char* data, std::size_t size, Encoding encoding,
                                             char delimiter, bool atEnd);

// A field's text from its bytes [begin, end), from its first code unit to
// its delimiter or line end: the quotes that only open and close it left
// out, "" as one ", line breaks inside quotes kept, text after the closing
// quote kept. The bytes stay in the file's encoding, at most maxBytes of
// them, cut between code units. from: the grammar's state at begin, for
// the rest of a field that began before it.
std::string fieldText(const unsigned char* begin, const unsigned char* end, Encoding encoding, char delimiter,
                      std::size_t maxBytes, State from = State::FieldStart);

}  // namespace engine::csv
