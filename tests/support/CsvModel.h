#pragma once
// A plain model of delimited text, written without the engine's grammar or
// any of its shortcuts: decode the whole file, then read RFC 4180 one
// character at a time, as the program reads it (any delimiter, any line
// end, text after a closing quote kept, a quote inside an unquoted field an
// ordinary character). The tests and the fuzzer check the engine's columns
// against it.

#include "LineModel.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fixture {

struct CsvField {
    std::u32string text;  // quotes taken off, "" as one ", line breaks kept
    std::int64_t width = 0;  // its widest line
};

struct CsvRecord {
    std::vector<CsvField> fields;
    std::uint64_t startLine = 0;  // from 1, counting line ends inside quotes too
};

struct CsvModel {
    engine::Encoding encoding = engine::Encoding::Utf8;
    char delimiter = ',';
    std::vector<CsvRecord> records;      // the header too, when there is one
    std::uint64_t unclosedQuoteLine = 0;  // the line a quote opens that never closes
};

inline std::int64_t widestLine(const std::u32string& text)
{
    std::int64_t widest = 0, line = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            widest = std::max(widest, line);
            line = 0;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += widthOf(text[i]);
        }
    }
    return std::max(widest, line);
}

// Reads the characters as records; semicolons: set when a semicolon stands
// outside quotes in the first record.
inline CsvModel csvRead(const std::u32string& c, char32_t delimiter, bool* semicolons = nullptr)
{
    CsvModel m;
    std::size_t i = 0;
    std::uint64_t line = 1;
    const auto lineEnd = [&](std::size_t at) { return c[at] == '\r' || c[at] == '\n'; };
    // Past a line end at i: CR LF is one.
    const auto skipLineEnd = [&] {
        if (c[i] == '\r' && i + 1 < c.size() && c[i + 1] == '\n')
            ++i;
        ++i;
        ++line;
    };
    while (i < c.size()) {
        CsvRecord record;
        record.startLine = line;
        for (;;) {
            CsvField field;
            if (i < c.size() && c[i] == '"') {
                const std::uint64_t opened = line;
                ++i;
                for (;;) {
                    if (i == c.size()) {
                        m.unclosedQuoteLine = opened;
                        return m;
                    }
                    if (c[i] == '"') {
                        if (i + 1 < c.size() && c[i + 1] == '"') {
                            field.text += U'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (lineEnd(i)) {
                        const std::size_t from = i;
                        skipLineEnd();
                        field.text.append(c, from, i - from);
                        continue;
                    }
                    field.text += c[i++];
                }
            }
            // Unquoted text, or what follows a closing quote.
            while (i < c.size() && c[i] != delimiter && !lineEnd(i)) {
                if (semicolons && m.records.empty() && c[i] == ';')
                    *semicolons = true;
                field.text += c[i++];
            }
            field.width = widestLine(field.text);
            record.fields.push_back(std::move(field));
            if (i < c.size() && c[i] == delimiter) {
                ++i;
                continue;
            }
            if (i < c.size())
                skipLineEnd();
            break;
        }
        m.records.push_back(std::move(record));
    }
    return m;
}

// A delimited file: its byte-order mark and encoding as the line model
// finds them, then its records. semicolonsIfNoCommas: a first record with
// no comma between fields and a semicolon outside quotes means semicolons.
inline CsvModel csvModel(std::string bytes, char delimiter, bool semicolonsIfNoCommas = false)
{
    engine::Encoding encoding = model(bytes).encoding;
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);
    else if (engine::isUtf16(encoding))
        bytes.erase(0, 2);
    if (engine::isUtf16(encoding) && bytes.size() % 2 == 1)
        bytes.pop_back();  // half a code unit at the end of a file is no character
    const std::u32string characters = modelDecode(bytes, encoding);
    if (semicolonsIfNoCommas) {
        bool semicolons = false;
        const CsvModel asCommas = csvRead(characters, ',', &semicolons);
        const bool commas = !asCommas.records.empty() && asCommas.records.front().fields.size() > 1;
        delimiter = !commas && semicolons ? ';' : ',';
    }
    CsvModel m = csvRead(characters, static_cast<unsigned char>(delimiter));
    m.encoding = encoding;
    m.delimiter = delimiter;
    return m;
}

// The value of a 1-based column in each record after the header: empty
// where a record has fewer fields.
inline std::vector<CsvField> csvColumn(const CsvModel& m, std::size_t column, bool header)
{
    std::vector<CsvField> values;
    for (std::size_t r = header ? 1 : 0; r < m.records.size(); ++r) {
        const auto& fields = m.records[r].fields;
        values.push_back(column <= fields.size() ? fields[column - 1] : CsvField{});
    }
    return values;
}

}  // namespace fixture
