#include "RecordCutter.h"

#include "TextEncoding.h"

#include <cstring>

#include <string.h>  // memrchr

namespace engine {

namespace {

// The last line end in [from, to): just after an LF, or after a CR that
// is followed by something other than LF (or by nothing, at the end).
std::optional<std::size_t> lastLineEnd(const unsigned char* data, std::size_t from, std::size_t to, std::size_t size,
                                       bool atEnd)
{
    if (to <= from)
        return std::nullopt;
    const auto* lf = static_cast<const unsigned char*>(::memrchr(data + from, '\n', to - from));
    const std::size_t afterLf = lf ? static_cast<std::size_t>(lf - data) + 1 : from;
    for (std::size_t i = to; i-- > afterLf;) {
        if (data[i] != '\r')
            continue;
        if (i + 1 < size || atEnd)
            return i + 1;  // an LF after it would have been found first
    }
    if (lf)
        return afterLf;
    return std::nullopt;
}

RecordCut cut8(const unsigned char* data, std::size_t size, unsigned char delimiter, bool atEnd)
{
    RecordCut cut;
    std::size_t pos = 0, outsideFrom = 0;
    for (;;) {
        // Outside quotes: only a quote at a field's start opens one.
        const auto* quote = static_cast<const unsigned char*>(std::memchr(data + pos, '"', size - pos));
        if (!quote) {
            if (auto end = lastLineEnd(data, outsideFrom, size, size, atEnd))
                cut.lastEnd = end;
            return cut;
        }
        const std::size_t q = static_cast<std::size_t>(quote - data);
        const unsigned char before = q == 0 ? '\n' : data[q - 1];
        if (before != delimiter && before != '\n' && before != '\r') {
            pos = q + 1;  // an ordinary character inside an unquoted field
            continue;
        }
        if (auto end = lastLineEnd(data, outsideFrom, q, size, true))
            cut.lastEnd = end;
        // Inside quotes until a quote that is not doubled.
        std::size_t inside = q + 1;
        for (;;) {
            const auto* next = static_cast<const unsigned char*>(std::memchr(data + inside, '"', size - inside));
            if (!next || static_cast<std::size_t>(next - data) + 1 == size) {
                // No closing quote yet, or one that may be the first of a
                // doubled pair: the field goes on past these bytes.
                if (!next || !atEnd) {
                    cut.insideQuotes = true;
                    cut.openedAt = q;
                    return cut;
                }
            }
            const std::size_t at = static_cast<std::size_t>(next - data);
            if (at + 1 < size && data[at + 1] == '"') {
                inside = at + 2;
                continue;
            }
            pos = outsideFrom = at + 1;
            break;
        }
    }
}

RecordCut cut16(const unsigned char* data, std::size_t size, bool bigEndian, char16_t delimiter, bool atEnd)
{
    RecordCut cut;
    const std::size_t units = size / 2;
    const auto unit = [&](std::size_t i) { return utf16Unit(data + 2 * i, bigEndian); };
    bool inside = false;
    std::size_t openedAt = 0;
    char16_t before = '\n';
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t u = unit(i);
        if (inside) {
            if (u == '"') {
                if (i + 1 == units && !atEnd)
                    break;  // may be the first of a doubled pair
                if (i + 1 < units && unit(i + 1) == '"')
                    ++i;
                else
                    inside = false;
            }
        } else if (u == '"' && (before == delimiter || before == '\n' || before == '\r')) {
            inside = true;
            openedAt = 2 * i;
        } else if (u == '\n' || (u == '\r' && (i + 1 < units ? unit(i + 1) != '\n' : atEnd))) {
            cut.lastEnd = 2 * (i + 1);
        }
        before = u;
    }
    cut.insideQuotes = inside;
    cut.openedAt = openedAt;
    return cut;
}

}  // namespace

RecordCut findRecordCut(const unsigned char* data, std::size_t size, ReadMode mode, char delimiter, bool atEnd)
{
    if (mode == ReadMode::Utf16LE || mode == ReadMode::Utf16BE)
        return cut16(data, size, mode == ReadMode::Utf16BE, static_cast<char16_t>(delimiter), atEnd);
    return cut8(data, size, static_cast<unsigned char>(delimiter), atEnd);
}

std::optional<std::size_t> firstRecordEnd(const unsigned char* data, std::size_t size, ReadMode mode, bool atEnd)
{
    const bool utf16 = mode == ReadMode::Utf16LE || mode == ReadMode::Utf16BE;
    const std::size_t step = utf16 ? 2 : 1;
    const std::size_t units = size / step;
    const auto unit = [&](std::size_t i) -> char16_t {
        return utf16 ? utf16Unit(data + 2 * i, mode == ReadMode::Utf16BE) : data[i];
    };
    bool inside = false;
    char16_t before = '\n';
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t u = unit(i);
        if (inside) {
            if (u == '"') {
                if (i + 1 < units && unit(i + 1) == '"')
                    ++i;
                else
                    inside = false;
            }
        } else if (u == '"' && (before == ',' || before == ';' || before == '\t' || before == '\n')) {
            inside = true;
        } else if (u == '\n') {
            return step * (i + 1);
        } else if (u == '\r') {
            if (i + 1 < units)
                return step * (unit(i + 1) == '\n' ? i + 2 : i + 1);
            if (atEnd)
                return step * (i + 1);
            return std::nullopt;
        }
        before = u;
    }
    return std::nullopt;
}

}  // namespace engine
