#pragma once
// Delimited text: CSV and TSV files, of which one column is measured. A
// record is a line of fields split by the delimiter; a field may be quoted
// with ", and then holds delimiters and line breaks as data, and "" stands
// for one ". A quote inside an unquoted field is an ordinary character.

#include "TextEncoding.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct DelimitedFormat {
    // An ASCII character other than ", CR and LF.
    char delimiter = ',';
    // A .csv file whose first record has no comma outside quotes but has
    // semicolons uses semicolons, as spreadsheets in many locales write it.
    bool semicolonsIfNoCommas = false;
    bool header = true;  // the first record names the columns and is not measured
    // The column: a header name (exact, then ignoring case) or a 1-based number.
    std::string columnName;
    std::size_t columnNumber = 1;
    bool byName = false;
};

// What the first record of a file says: its fields as text, and the
// delimiter the file uses.
struct HeaderRecord {
    std::vector<std::string> names;  // UTF-8
    char delimiter = ',';
};

// Splits the record at the start of [data, data + size) (up to its line
// end outside quotes, or the end) into fields. The bytes are read as UTF-8
// if they are valid UTF-8, else Windows-1252; UTF-16 is read as marked.
HeaderRecord readHeaderRecord(std::string_view bytes, Encoding encoding, const DelimitedFormat& format);

// The first record of a data file, read as the measurement will read it
// (its byte-order mark, the delimiter rule): for a window to list the
// columns before measuring. Reads at most the first 1 MiB; nothing when the
// file cannot be read or is empty.
std::optional<HeaderRecord> readFileHeader(const std::string& path, const DelimitedFormat& format);

// Whether a data file's name makes it delimited text (.csv or .tsv, any
// case), and the delimiter that name calls for.
bool isDelimitedName(std::string_view fileName);
DelimitedFormat formatForName(std::string_view fileName);

// The 1-based column a format names in a header, or nothing for an
// unknown name.
std::optional<std::size_t> findColumn(const DelimitedFormat& format, const std::vector<std::string>& names);

}  // namespace engine
