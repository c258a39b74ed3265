// Fuzzes delimited text and passes of several targets: arbitrary bytes read
// as records, with small pieces on a few threads, must give every chosen
// column (or every column), in each of two fonts, exactly what a plain
// reading of RFC 4180 gives: the outcome, the encoding, and every value's
// width, line and text. A mismatch aborts, so the fuzzer keeps the input
// that caused it.
//
// The first two bytes of an input choose the threads, the piece size, the
// delimiter, the header, the columns (or every column) and the fonts; the
// rest is the file.

#include "CsvModel.h"
#include "Measure.h"
#include "Utf8.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "delimited measurement differs from the model: %s\n", what);
        std::abort();
    }
}

const engine::FontWidths& narrow()
{
    static const engine::FontWidths widths(fixture::makeTable(),
                                           [](char32_t code) { return static_cast<std::int32_t>(fixture::otherWidth(code)); });
    return widths;
}

// Twice as wide, so a target that took the other font's widths shows.
const engine::FontWidths& wide()
{
    static const engine::FontWidths widths(
        [] {
            engine::WidthTable table = fixture::makeTable();
            for (std::int32_t& w : table)
                w *= 2;
            return table;
        }(),
        [](char32_t code) { return static_cast<std::int32_t>(2 * fixture::otherWidth(code)); });
    return widths;
}

// A field's text as the engine keeps it from a UTF-8 file: its bytes, cut
// to the bytes a record's text keeps.
std::string utf8Text(const std::u32string& text)
{
    std::string out;
    for (const char32_t c : text)
        fontview::appendUtf8(out, c);
    return out.substr(0, engine::recordTextBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const unsigned choice = data[0] | data[1] << 8;
    static constexpr char delimiters[] = {',', ';', '\t', '|', ' ', 'a'};
    const char delimiter = delimiters[choice % 6];
    const bool header = (choice >> 3) & 1;
    const std::size_t columns = 1 + ((choice >> 4) & 3);
    const bool twoFonts = (choice >> 6) & 1;
    // Every column: as many as the header names, or as the most fields any
    // record has. Their empty values are counted but need not be listed.
    const bool everyColumn = (choice >> 15) & 1;

    engine::MeasureRequest request;
    request.fonts = {&narrow()};
    if (twoFonts)
        request.fonts.push_back(&wide());
    request.options.threads = 1 + ((choice >> 7) & 3);
    request.options.blockSize = 16 + 2 * ((choice >> 9) & 63);
    // Every value, in order; with every column, every value that is not empty.
    request.options.maxWidth = everyColumn ? 0 : std::numeric_limits<std::int64_t>::min();
    engine::DelimitedFormat format;
    format.delimiter = delimiter;
    format.header = header;
    format.allColumns = everyColumn;
    for (std::size_t c = 1; c <= columns && !everyColumn; ++c)
        format.columns.push_back(engine::ColumnChoice::byNumber(c));
    request.options.delimited = format;
    const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

    // The data file lives in memory; the engine opens it by name as any file.
    const int fd = ::memfd_create("data", MFD_CLOEXEC);
    require(fd >= 0, "memfd_create");
    require(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()), "write");
    request.source.path = "/proc/self/fd/" + std::to_string(fd);
    const engine::MeasureResult result = engine::measure(request);
    ::close(fd);

    const fixture::CsvModel expected = fixture::csvModel(bytes, delimiter);
    // A header that ends names the columns before any record is read.
    if (!everyColumn && header && !expected.records.empty() && columns > expected.records.front().fields.size()) {
        require(result.outcome == engine::Outcome::UnknownColumn, "a column past the header");
        return 0;
    }
    if (expected.unclosedQuoteLine != 0) {
        require(result.outcome == engine::Outcome::UnclosedQuote, "an unclosed quote");
        require(result.unclosedQuoteLine == expected.unclosedQuoteLine, "the unclosed quote's line");
        return 0;
    }
    const std::size_t records = expected.records.size() - (header && !expected.records.empty() ? 1 : 0);
    const std::size_t headerFields = header && !expected.records.empty() ? expected.records.front().fields.size() : 0;
    if (records == 0) {
        require(result.outcome == engine::Outcome::EmptyFile || result.outcome == engine::Outcome::UnknownColumn,
                "a file without records");
        return 0;
    }
    std::size_t widest = 0;
    for (std::size_t r = header ? 1 : 0; r < expected.records.size(); ++r)
        widest = std::max(widest, expected.records[r].fields.size());
    if (!everyColumn && (header ? columns > headerFields : columns > widest)) {
        require(result.outcome == engine::Outcome::UnknownColumn, "a column past the records");
        return 0;
    }
    require(result.outcome == engine::Outcome::Done, "outcome");
    require(result.tally.encoding == expected.encoding, "encoding");
    const std::size_t fonts = request.fonts.size();
    const std::size_t measured = !everyColumn ? columns : header ? headerFields : widest;
    require(result.tally.targets.size() == measured * fonts, "the columns measured");
    for (std::size_t c = 0; c < measured; ++c) {
        const std::vector<fixture::CsvField> values = fixture::csvColumn(expected, c + 1, header);
        for (std::size_t f = 0; f < fonts; ++f) {
            const engine::Measurement m = engine::resolve(result.tally, c * fonts + f, request.options.maxWidth);
            require(m.widths.lineCount() == values.size(), "values in the distribution");
            std::size_t listed = 0;
            for (std::size_t r = 0; r < values.size(); ++r) {
                const std::int64_t width = f == 0 ? values[r].width : 2 * values[r].width;
                if (everyColumn && width <= 0)
                    continue;
                require(listed < m.tooWide.size(), "value count");
                const engine::WideLine& value = m.tooWide[listed++];
                require(value.line == r + 1, "a value's record");
                require(value.startLine == expected.records[r + (header ? 1 : 0)].startLine, "a record's line");
                require(value.width == width, "a value's width");
                if (expected.encoding == engine::Encoding::Utf8)
                    require(value.text == utf8Text(values[r].text), "a value's text");
            }
            require(listed == m.tooWide.size(), "value count");
        }
    }
    return 0;
}
