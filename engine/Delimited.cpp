#include "Delimited.h"

#include "InputStream.h"
#include "RecordCutter.h"
#include "Utf8.h"

#include <cctype>
#include <vector>

namespace engine {

namespace {

// The record's characters, decoded: UTF-16 as marked, else UTF-8 when the
// bytes are UTF-8, else Windows-1252.
std::u32string characters(std::string_view bytes, Encoding encoding)
{
    if (encoding != Encoding::Utf16LE && encoding != Encoding::Utf16BE)
        encoding = fontview::isUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1252;
    return fontview::decodeUtf8(decodeText(bytes, encoding, bytes.size()));
}

// Splits one record into its fields, by the rules of the file.
std::vector<std::u32string> fields(const std::u32string& record, char32_t delimiter)
{
    std::vector<std::u32string> out(1);
    enum { FieldStart, Unquoted, Quoted, AfterQuote } state = FieldStart;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const char32_t c = record[i];
        if (state == Quoted) {
            if (c == '"')
                state = AfterQuote;
            else
                out.back() += c;
            continue;
        }
        if (state == AfterQuote && c == '"') {
            out.back() += c;  // a doubled quote
            state = Quoted;
            continue;
        }
        if (c == '\n' || c == '\r')
            break;
        if (c == delimiter) {
            out.emplace_back();
            state = FieldStart;
        } else if (state == FieldStart && c == '"') {
            state = Quoted;
        } else {
            out.back() += c;
            state = Unquoted;
        }
    }
    return out;
}

std::string utf8(const std::u32string& text)
{
    std::string out;
    for (const char32_t c : text)
        fontview::appendUtf8(out, c);
    return out;
}

std::u32string folded(const std::string& text)
{
    std::u32string out = fontview::decodeUtf8(text);
    for (char32_t& c : out)
        c = fontview::foldCase(c);
    return out;
}

}  // namespace

HeaderRecord readHeaderRecord(std::string_view bytes, Encoding encoding, const DelimitedFormat& format)
{
    const std::u32string record = characters(bytes, encoding);
    HeaderRecord header;
    header.delimiter = format.delimiter;
    if (format.semicolonsIfNoCommas) {
        // Commas and semicolons outside quotes, as far as quotes can be told
        // before the delimiter is known.
        bool inside = false, commas = false, semicolons = false;
        for (const char32_t c : record) {
            if (c == '"')
                inside = !inside;
            else if (!inside && c == ',')
                commas = true;
            else if (!inside && c == ';')
                semicolons = true;
        }
        if (!commas && semicolons)
            header.delimiter = ';';
    }
    for (const std::u32string& field : fields(record, static_cast<unsigned char>(header.delimiter)))
        header.names.push_back(utf8(field));
    return header;
}

std::optional<std::size_t> findColumn(const DelimitedFormat& format, const std::vector<std::string>& names)
{
    if (!format.byName) {
        if (format.columnNumber >= 1)
            return format.columnNumber;
        return std::nullopt;
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == format.columnName)
            return i + 1;
    const std::u32string wanted = folded(format.columnName);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (folded(names[i]) == wanted)
            return i + 1;
    return std::nullopt;
}

std::optional<HeaderRecord> readFileHeader(const std::string& path, const DelimitedFormat& format)
{
    InputStream in;
    // Only a regular file: reading a pipe's first record would use it up.
    if (in.open(DataSource{path}) != 0 || in.size() == 0)
        return std::nullopt;
    std::vector<unsigned char> bytes(std::size_t{1} << 20);
    std::size_t got = 0;
    const InputStream::Read read = in.read(bytes.data(), bytes.size(), got, [] { return false; });
    if (read == InputStream::Read::Failed || got == 0)
        return std::nullopt;
    const ByteOrderMark mark = readByteOrderMark(bytes.data(), got);
    const ReadMode mode = !mark.utf16 ? ReadMode::Open
                          : mark.encoding == Encoding::Utf16BE ? ReadMode::Utf16BE
                                                               : ReadMode::Utf16LE;
    const unsigned char* data = bytes.data() + mark.length;
    const std::size_t size = got - mark.length;
    const std::size_t end = firstRecordEnd(data, size, mode, true).value_or(size);
    return readHeaderRecord(std::string_view(reinterpret_cast<const char*>(data), end),
                            mark.utf16 ? mark.encoding : Encoding::Utf8, format);
}

bool isDelimitedName(std::string_view fileName)
{
    std::string name(fileName);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name.ends_with(".csv") || name.ends_with(".tsv");
}

DelimitedFormat formatForName(std::string_view fileName)
{
    std::string name(fileName);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    DelimitedFormat format;
    if (name.ends_with(".tsv")) {
        format.delimiter = '\t';
    } else {
        format.delimiter = ',';
        format.semicolonsIfNoCommas = true;
    }
    return format;
}

}  // namespace engine
