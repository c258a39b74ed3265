#pragma once
// Delimited text: CSV and TSV files, whose columns are measured. How the
// user names the columns, how the first record names them, and how the
// two meet. The grammar itself is in CsvGrammar.h.

#include "TextEncoding.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// A column as the user names it: from a list, by its number; typed, by a
// text that is a header name (exact, then ignoring case) or else a number.
struct ColumnChoice {
    std::size_t number = 0;  // 1-based; 0 when named by text
    std::string text;

    static ColumnChoice byNumber(std::size_t number) { return ColumnChoice{number, {}}; }
    static ColumnChoice byText(std::string text) { return ColumnChoice{0, std::move(text)}; }
    bool operator==(const ColumnChoice&) const = default;
};

struct DelimitedFormat {
    // An ASCII character other than ", CR and LF.
    char delimiter = ',';
    // A .csv file whose first record has no comma outside quotes but has
    // semicolons uses semicolons, as spreadsheets in many locales write it.
    bool semicolonsIfNoCommas = false;
    bool header = true;  // the first record names the columns and is not measured
    // The columns to measure, in order; none means the first.
    std::vector<ColumnChoice> columns;
    // Every column: the header's, or without a header as many as the
    // record with the most fields has.
    bool allColumns = false;
};

// What the first record of a file says: its fields as text, and the
// delimiter the file uses.
struct HeaderRecord {
    std::vector<std::string> names;  // UTF-8, as written (line breaks and all)
    char delimiter = ',';
};

// How a stream of delimited text is read, once its first record is known.
struct RecordLayout {
    char delimiter = ',';
    bool header = true;
    std::vector<std::string> headerNames;  // the first record's fields, UTF-8
    std::vector<std::size_t> columns;      // the columns measured, 1-based, in the order of the targets
    // Every column as far as the records go: a record with more fields
    // than any before adds columns. Without a header only.
    bool growing = false;

    // The column measured in a slot (a target's place among the columns):
    // from the list, or while it grows, the slot's own number.
    std::size_t column(std::size_t slot) const { return growing || slot >= columns.size() ? slot + 1 : columns[slot]; }
};

// The delimiter a file uses: the format's, or by the semicolon rule, from
// its first record read as comma-delimited. record: that record's bytes.
char delimiterFor(std::string_view record, Encoding encoding, const DelimitedFormat& format);

// The fields of one record's bytes (up to its line end), split by the
// grammar. Names are UTF-8: UTF-16 as marked, else UTF-8 when the bytes are
// UTF-8, else Windows-1252.
HeaderRecord readHeaderRecord(std::string_view record, Encoding encoding, char delimiter);

// The first record of a data file, read as the measurement will read it
// (its byte-order mark, the delimiter rule): for a window to list the
// columns before measuring. Reads at most the first 1 MiB; nothing when the
// file cannot be read or is empty.
std::optional<HeaderRecord> readFileHeader(const std::string& path, const DelimitedFormat& format);

// Whether a data file's name makes it delimited text (.csv or .tsv, any
// case), and the delimiter that name calls for.
bool isDelimitedName(std::string_view fileName);
DelimitedFormat formatForName(std::string_view fileName);

// The 1-based column a choice names: a name of the header first, then a
// number. With a header, a number past its last column names none; without
// one (names empty, header false), any number from 1 does.
std::optional<std::size_t> findColumn(const ColumnChoice& choice, const std::vector<std::string>& names, bool header);

}  // namespace engine
