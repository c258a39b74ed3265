#include "Delimited.h"

#include "CsvGrammar.h"
#include "CsvText.h"
#include "InputStream.h"
#include "Utf8.h"

#include <cctype>
#include <vector>

namespace engine {

namespace {

std::u32string folded(const std::string& text)
{
    std::u32string out = fontview::decodeUtf8(text);
    for (char32_t& c : out)
        c = fontview::foldCase(c);
    return out;
}

std::string lowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

const unsigned char* bytesOf(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }

}  // namespace

char delimiterFor(std::string_view record, Encoding encoding, const DelimitedFormat& format)
{
    if (!format.semicolonsIfNoCommas)
        return format.delimiter;
    // The record read as comma-delimited: a comma that splits it keeps the
    // commas; else a semicolon outside quotes calls for semicolons.
    const csv::Classes classes(',');
    bool commas = false, semicolons = false;
    const std::size_t unit = isUtf16(encoding) ? 2 : 1;
    csv::State state = csv::State::FieldStart;
    for (std::size_t i = 0; i + unit <= record.size(); i += unit) {
        const unsigned char* const p = bytesOf(record) + i;
        const char32_t c = unit == 2 ? utf16Unit(p, encoding == Encoding::Utf16BE) : *p;
        const csv::Step s = csv::step(state, classes.of(c));
        commas = commas || s.action == csv::Action::EndField;
        semicolons = semicolons || (c == ';' && s.next == csv::State::Unquoted);
        state = s.next;
    }
    return !commas && semicolons ? ';' : ',';
}

HeaderRecord readHeaderRecord(std::string_view record, Encoding encoding, char delimiter)
{
    HeaderRecord header;
    header.delimiter = delimiter;
    if (!isUtf16(encoding))
        encoding = fontview::isUtf8(record) ? Encoding::Utf8 : Encoding::Windows1252;
    const csv::Classes classes(delimiter);
    const unsigned char* const begin = bytesOf(record);
    const unsigned char* const end = begin + record.size();
    const unsigned char* fieldBegin = begin;
    const auto addField = [&](const unsigned char* fieldEnd) {
        const std::string bytes = csv::fieldText(fieldBegin, fieldEnd, encoding, delimiter, record.size());
        header.names.push_back(decodeText(bytes, encoding, bytes.size()));
    };
    const unsigned char* recordEnd = end;
    const auto onStep = [&](csv::Action action, const unsigned char* at) {
        if (action == csv::Action::EndField) {
            addField(at);
            fieldBegin = at + (isUtf16(encoding) ? 2 : 1);
        } else if (action == csv::Action::EndRecord) {
            recordEnd = at;
            return false;
        }
        return true;
    };
    const auto ignore = [](const unsigned char*, const unsigned char*) {};
    csv::State state = csv::State::FieldStart;
    if (isUtf16(encoding))
        csv::walk(csv::Utf16Units{encoding == Encoding::Utf16BE}, classes, state, begin, end, ignore, onStep);
    else
        csv::walk(csv::ByteUnits{}, classes, state, begin, end, ignore, onStep);
    addField(recordEnd);
    return header;
}

std::optional<std::size_t> findColumn(const ColumnChoice& choice, const std::vector<std::string>& names, bool header)
{
    if (choice.number != 0) {
        if (header && choice.number > names.size())
            return std::nullopt;
        return choice.number;
    }
    if (header) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == choice.text)
                return i + 1;
        const std::u32string wanted = folded(choice.text);
        for (std::size_t i = 0; i < names.size(); ++i)
            if (folded(names[i]) == wanted)
                return i + 1;
    }
    const std::string& text = choice.text;
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return findColumn(ColumnChoice::byNumber(std::stoul(text)), names, header);
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
    const std::string_view data(reinterpret_cast<const char*>(bytes.data()) + mark.length, got - mark.length);
    const std::string_view asCommas =
        data.substr(0, *csv::firstRecordLength(bytesOf(data), data.size(), mark.encoding, ',', true));
    const char delimiter = delimiterFor(asCommas, mark.encoding, format);
    const std::size_t length = *csv::firstRecordLength(bytesOf(data), data.size(), mark.encoding, delimiter, true);
    return readHeaderRecord(data.substr(0, length), mark.encoding, delimiter);
}

bool isDelimitedName(std::string_view fileName)
{
    const std::string name = lowerCase(fileName);
    return name.ends_with(".csv") || name.ends_with(".tsv");
}

DelimitedFormat formatForName(std::string_view fileName)
{
    DelimitedFormat format;
    if (lowerCase(fileName).ends_with(".tsv")) {
        format.delimiter = '\t';
    } else {
        format.delimiter = ',';
        format.semicolonsIfNoCommas = true;
    }
    return format;
}

}  // namespace engine
