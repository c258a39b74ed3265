#include "RecordCutter.h"

#include "TextEncoding.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
std::uint64_t byteMask(const __m128i* v, __m128i wanted)
{
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k)
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v[k], wanted))))
            << (16 * k);
    return mask;
}

// The fast way: a quote toggles between inside and outside, so whether a
// byte is inside quotes is the parity of the quotes before it, 64 bytes at
// a time. That holds when every quote plays the part its parity gives it:
// one that opens follows a delimiter, a line end or a quote (the second of
// a doubled pair), and one that closes comes before one of them. A quote
// inside an unquoted field breaks it; then nothing is returned and the
// careful way reads the bytes instead.
std::optional<RecordCut> cutByParity(const unsigned char* data, std::size_t size, unsigned char delimiter,
                                     bool atEnd)
{
    RecordCut cut;
    bool inside = false;      // at the start of the next group of 64
    bool previousEdge = true; // the byte before it is a delimiter, a line end or a quote (or none)
    std::uint64_t pendingClose = 0;  // the last group's quote at bit 63 that closes, to check against the next byte
    const __m128i quotes = _mm_set1_epi8('"'), lfs = _mm_set1_epi8('\n'), crs = _mm_set1_epi8('\r');
    const __m128i delimiters = _mm_set1_epi8(static_cast<char>(delimiter));
    std::size_t i = 0;
    std::optional<std::size_t> lastLineEnd;
    std::size_t openedAt = 0;
    for (; i + 64 <= size; i += 64) {
        __m128i v[4];
        for (int k = 0; k < 4; ++k)
            v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i) + k);
        const std::uint64_t q = byteMask(v, quotes);
        const std::uint64_t lf = byteMask(v, lfs), cr = byteMask(v, crs);
        const std::uint64_t edges = q | lf | cr | byteMask(v, delimiters);
        if (pendingClose && !(edges & 1))
            return std::nullopt;
        // parity[i]: the quotes up to and including byte i, odd or even.
        std::uint64_t parity = q;
        parity ^= parity << 1;
        parity ^= parity << 2;
        parity ^= parity << 4;
        parity ^= parity << 8;
        parity ^= parity << 16;
        parity ^= parity << 32;
        if (inside)
            parity = ~parity;
        const std::uint64_t before = (parity << 1) | (inside ? 1 : 0);  // inside just before each byte
        const std::uint64_t opening = q & ~before, closing = q & before;
        const std::uint64_t edgeBefore = (edges << 1) | (previousEdge ? 1 : 0);
        const std::uint64_t edgeAfter = edges >> 1;  // bit 63 waits for the next group
        if ((opening & ~edgeBefore) != 0 || (closing & ~edgeAfter & ~(std::uint64_t{1} << 63)) != 0)
            return std::nullopt;
        pendingClose = closing >> 63;
        // Line ends outside quotes; a CR followed by an LF ends with the LF.
        const std::uint64_t ends = (lf | (cr & ~(lf >> 1))) & ~before;
        if (ends)
            lastLineEnd = i + 64 - static_cast<std::size_t>(std::countl_zero(ends));
        if (opening)
            openedAt = i + 63 - static_cast<std::size_t>(std::countl_zero(opening));
        inside = (parity >> 63) != 0;
        previousEdge = (edges >> 63) != 0;
    }
    if (pendingClose && i < size) {
        const unsigned char next = data[i];
        if (next != '"' && next != '\n' && next != '\r' && next != delimiter)
            return std::nullopt;
    }
    // The last bytes, one at a time, by the same rules.
    for (; i < size; ++i) {
        const unsigned char c = data[i];
        const bool edgeBefore = i == 0 || previousEdge;
        if (c == '"') {
            if (!inside && !edgeBefore)
                return std::nullopt;
            if (inside) {
                const bool last = i + 1 == size;
                if (last && !atEnd)
                    return std::nullopt;  // may be half of a doubled pair
                const unsigned char next = last ? '\n' : data[i + 1];
                if (next != '"' && next != '\n' && next != '\r' && next != delimiter)
                    return std::nullopt;
            } else {
                openedAt = i;
            }
            inside = !inside;
        } else if (!inside && (c == '\n' || (c == '\r' && (i + 1 < size ? data[i + 1] != '\n' : atEnd)))) {
            lastLineEnd = i + 1;
        }
        previousEdge = c == '"' || c == '\n' || c == '\r' || c == delimiter;
    }
    // A CR at the very end of bytes that go on may be half of a CR LF.
    if (lastLineEnd && *lastLineEnd == size && data[size - 1] == '\r' && !atEnd)
        lastLineEnd = std::nullopt;
    cut.lastEnd = lastLineEnd;
    cut.insideQuotes = inside;
    cut.openedAt = openedAt;
    return cut;
}
#endif

// The careful way: reads from quote to quote, deciding for each whether it
// opens, closes or is an ordinary character.
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
#if defined(__SSE2__)
    if (const auto cut = cutByParity(data, size, static_cast<unsigned char>(delimiter), atEnd))
        return *cut;
#endif
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
