// The 64-byte path of the loop over lines: printable ASCII and, while the
// reading is UTF-8, checked UTF-8, summed without a branch per byte. Where
// the lines end and which characters the chunk holds is found once; each
// font then sums its widths.

#include "LineLoopImpl.h"
#include "Utf8.h"
#include "Utf8Check.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include <array>
#include <bit>
#include <cstring>

namespace engine {

namespace {

// Eight bytes, the first in the low bits whatever the machine's order.
std::uint64_t loadLittle(const unsigned char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    return word;
}

// The widths of the four byte pairs of a loadLittle word: of ASCII alone,
// or packed with the Windows-1252 widths of its other bytes (PairTables).
template <bool High>
std::uint64_t pairWidths(const PairTables& pairs, std::uint64_t word)
{
    if constexpr (High) {
        const std::uint64_t* const both = pairs.both.get();
        return (both[word & 0xFFFF] + both[(word >> 16) & 0xFFFF]) + (both[(word >> 32) & 0xFFFF] + both[word >> 48]);
    } else {
        const std::int32_t* const ascii = pairs.ascii.get();
        return static_cast<std::uint64_t>((ascii[word & 0xFFFF] + ascii[(word >> 16) & 0xFFFF])
                                          + (ascii[(word >> 32) & 0xFFFF] + ascii[word >> 48]));
    }
}

std::int64_t lowHalf(std::uint64_t packed) { return static_cast<std::int64_t>(packed & 0xFFFFFFFF); }
std::int64_t highHalf(std::uint64_t packed) { return static_cast<std::int64_t>(packed >> 32); }

std::uint64_t mask64(const __m128i* v, __m128i (*test)(__m128i))
{
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k)
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(test(v[k])))) << (16 * k);
    return mask;
}

// Four bytes, the first in the low bits, in a 64-bit word.
std::uint64_t loadLittle4(const unsigned char* p)
{
    return std::uint64_t{p[0]} | std::uint64_t{p[1]} << 8 | std::uint64_t{p[2]} << 16 | std::uint64_t{p[3]} << 24;
}

// The bits set in bits; without a popcnt instruction in the baseline,
// std::popcount would call the runtime library.
unsigned bitCount(std::uint64_t bits)
{
    bits -= (bits >> 1) & 0x5555555555555555;
    bits = (bits & 0x3333333333333333) + ((bits >> 2) & 0x3333333333333333);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0F;
    return static_cast<unsigned>((bits * 0x0101010101010101) >> 56);
}

// The smallest code point each length of sequence may hold.
constexpr std::array<char32_t, 5> leastCode{0, 0, 0x80, 0x800, 0x10000};

}  // namespace

// Measures the 64 bytes at p, which begin between characters, unless one
// of them needs scanBytes: a control character or DEL, or, while the
// reading is UTF-8, a byte that breaks it. Returns the bytes taken: 64,
// plus the rest of a character that crosses the chunk's end, or 0 to leave
// them all to scanBytes.
std::size_t LineLoop::Impl::chunk(const unsigned char* p)
{
    const __m128i lfs = _mm_set1_epi8('\n'), crs = _mm_set1_epi8('\r'), del = _mm_set1_epi8(0x7F);
    const __m128i offset = _mm_set1_epi8(0x60), controlFloor = _mm_set1_epi8(95);
    __m128i v[4];
    __m128i bad = _mm_setzero_si128(), anyCr = _mm_setzero_si128(), anyHigh = _mm_setzero_si128();
    std::uint64_t lf = 0;
    for (int k = 0; k < 4; ++k) {
        v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p) + k);
        const __m128i isLf = _mm_cmpeq_epi8(v[k], lfs), isCr = _mm_cmpeq_epi8(v[k], crs);
        // Adding 0x60 takes exactly the bytes 00..1F above 95 (signed).
        const __m128i control = _mm_cmpgt_epi8(_mm_add_epi8(v[k], offset), controlFloor);
        bad = _mm_or_si128(bad, _mm_andnot_si128(_mm_or_si128(isLf, isCr), control));
        bad = _mm_or_si128(bad, _mm_cmpeq_epi8(v[k], del));
        anyCr = _mm_or_si128(anyCr, isCr);
        anyHigh = _mm_or_si128(anyHigh, v[k]);
        lf |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(isLf))) << (16 * k);
    }
    if (_mm_movemask_epi8(bad) != 0)
        return 0;
    const bool high = _mm_movemask_epi8(anyHigh) != 0;
    std::uint64_t lead = 0;
    std::size_t taken = 64;
    leads_ = 0;
    if (high && reading_ == Encoding::Utf8) {
        // The bytes before a chunk are whole characters, or none.
        static constexpr unsigned char none[16] = {};
        if (!utf8Check_(p, p - pieceStart_ >= 16 ? p - 16 : none))
            return 0;
        lead = mask64(v, [](__m128i x) { return _mm_and_si128(x, _mm_add_epi8(x, x)); });  // 11xxxxxx
        if (!decodeChunk(p, lead, taken))
            return 0;
    }
    std::uint64_t cr = 0;
    if (_mm_movemask_epi8(anyCr) != 0)
        cr = mask64(v, [](__m128i x) { return _mm_cmpeq_epi8(x, _mm_set1_epi8('\r')); });

    // A line ends at each CR, and at each LF not right after a CR.
    const std::uint64_t ends = cr | (lf & ~((cr << 1) | (afterCR_ ? 1 : 0)));
    afterCR_ = (cr >> 63) != 0;
    const bool single = fontCount() == 1;
    const std::uint64_t highMask = high ? mask64(v, [](__m128i x) { return x; }) : 0;
    if (!laneSums_.empty())
        high ? chunkLanes<true>(p, ends, lead, highMask, taken) : chunkLanes<false>(p, ends, 0, 0, 64);
    else if (high)
        single ? chunkLines<true, true>(p, ends, lead, highMask, taken)
               : chunkLines<true, false>(p, ends, lead, highMask, taken);
    else
        single ? chunkLines<false, true>(p, ends, 0, 0, 64) : chunkLines<false, false>(p, ends, 0, 0, 64);
    return taken;
}

// Finds the characters outside ASCII of the 64 bytes at p, already
// checked, whose lead bytes are lead. The last may run past the chunk: it
// is checked here, and taken then includes its rest. The chunk is followed
// by at least 4 bytes.
bool LineLoop::Impl::decodeChunk(const unsigned char* p, std::uint64_t lead, std::size_t& taken)
{
    const unsigned last = 63 - static_cast<unsigned>(std::countl_zero(lead | 1));
    unsigned length;
    const char32_t code = fontview::decodeCheckedUtf8Sequence(p + last, length);
    const unsigned past = last + length > 64 ? last + length - 64 : 0;
    if (past > 0) {
        // The check of the 64 bytes stops at their end: its lead is valid,
        // its bytes past the chunk are continuation bytes, and its value has
        // no overlong form, is no surrogate and is at most U+10FFFF.
        const std::uint64_t within = (std::uint64_t{1} << (8 * past)) - 1;
        const bool continued = (loadLittle4(p + 64) & 0xC0C0C0C0 & within) == (0x80808080 & within);
        if (p[last] > 0xF4 || !continued || code < leastCode[length] || code > 0x10FFFF || (code >> 11) == 0x1B)
            return false;
        taken = 64 + past;
    }
    for (std::uint64_t rest = lead; rest != 0; rest &= rest - 1)
        codes_[leads_++] = fontview::decodeCheckedUtf8Sequence(p + std::countr_zero(rest), length);
    return true;
}

// The lines of a chunk that chunk() has checked: each font's widths are
// summed a byte pair at a time into running totals with no branch per
// byte, and each line's width is the difference of the totals at its
// ends. High: the chunk has bytes >= 0x80. Single: one font.
template <bool High, bool Single>
void LineLoop::Impl::chunkLines(const unsigned char* p, std::uint64_t ends, std::uint64_t lead,
                                std::uint64_t highMask, std::size_t taken)
{
    const std::size_t fonts = Single ? 1 : fontCount();
    // For each font: sums[g], the widths of the bytes before byte 8g,
    // packed as in PairTables; decoded[k], the widths of the first k
    // characters outside ASCII read as UTF-8 (a lead byte needs a byte
    // after it, so a chunk has at most 32); pastEnd, the Windows-1252
    // widths of the bytes of a character past the chunk.
    ChunkSums local;  // one font's on the stack, where nothing else can reach it
    ChunkSums* const each = Single ? &local : chunkFonts_.data();
    for (std::size_t f = 0; f < fonts; ++f) {
        ChunkSums& c = each[f];
        const PairTables& pairs = kernels_[f].tables().pairs;
        c.sums[0] = 0;
        for (int g = 0; g < 8; ++g)
            c.sums[g + 1] = c.sums[g] + pairWidths<High>(pairs, loadLittle(p + 8 * g));
        c.pastEnd = 0;
        c.decoded[0] = 0;
        if constexpr (High) {
            if (taken > 64)
                c.pastEnd = highHalf(
                    pairWidths<true>(pairs, loadLittle4(p + 64) & ((std::uint64_t{1} << (8 * (taken - 64))) - 1)));
            for (unsigned k = 0; k < leads_; ++k)
                c.decoded[k + 1] = c.decoded[k] + kernels_[f].character(codes_[k]);
        }
        c.start = 0;
        c.startDecoded = 0;
    }

    unsigned startAt = 0;
    for (std::uint64_t rest = ends; rest != 0; rest &= rest - 1) {
        const unsigned at = static_cast<unsigned>(std::countr_zero(rest));
        const std::uint64_t below = (std::uint64_t{1} << at) - 1;
        // The bytes of its group of 8 before the terminator; the ones
        // from it on become NULs, which are 0 wide here.
        const unsigned group = at / 8;
        const std::uint64_t head = loadLittle(p + 8 * group) & ((std::uint64_t{1} << (8 * (at % 8))) - 1);
        const unsigned decodedUpTo = High ? bitCount(lead & below) : 0;
        const std::uint64_t highBytes = High ? (highMask & below) >> startAt : 0;
        for (std::size_t f = 0; f < fonts; ++f) {
            ChunkSums& c = each[f];
            const std::uint64_t up = c.sums[group] + pairWidths<High>(kernels_[f].tables().pairs, head);
            const std::int64_t upDecoded = c.decoded[decodedUpTo];
            addToLine(lines_[f], lowHalf(up - c.start), upDecoded - c.startDecoded, highHalf(up - c.start), highBytes);
            c.start = up;
            c.startDecoded = upDecoded;
        }
        // The chunk is followed by at least 4 bytes, so the byte after
        // a CR can be looked at.
        const bool pair = p[at] == '\r' && p[at + 1] == '\n';
        endLine<Single>(p + at, p + at + (pair ? 2 : 1));
        startAt = at + 1;
    }
    const std::uint64_t highBytes = High && startAt < 64 ? highMask >> startAt : 0;
    for (std::size_t f = 0; f < fonts; ++f) {
        const ChunkSums& c = each[f];
        addToLine(lines_[f], lowHalf(c.sums[8] - c.start), c.decoded[leads_] - c.startDecoded,
                  highHalf(c.sums[8] - c.start) + c.pastEnd, highBytes);
    }
}

// The same for several fonts, four at a time in the lanes of one sum: each
// byte pair is read once for the four, and each line's width in each font
// is its lane of the difference of the running sums at its ends.
template <bool High>
void LineLoop::Impl::chunkLanes(const unsigned char* p, std::uint64_t ends, std::uint64_t lead,
                                std::uint64_t highMask, std::size_t taken)
{
    const auto sum = [](const std::uint64_t* table, std::uint64_t word) {
        return (table[word & 0xFFFF] + table[(word >> 16) & 0xFFFF]) + (table[(word >> 32) & 0xFFFF] + table[word >> 48]);
    };
    // For each group: the running sums before each group of 8 bytes, of
    // ASCII and of the bytes >= 0x80.
    for (LaneSums& g : laneSums_) {
        g.ascii[0] = g.high[0] = 0;
        for (int k = 0; k < 8; ++k) {
            const std::uint64_t word = loadLittle(p + 8 * k);
            g.ascii[k + 1] = g.ascii[k] + sum(g.group->ascii.get(), word);
            if constexpr (High)
                g.high[k + 1] = g.high[k] + sum(g.group->high.get(), word);
        }
        g.pastEnd = High && taken > 64
                        ? sum(g.group->high.get(), loadLittle4(p + 64) & ((std::uint64_t{1} << (8 * (taken - 64))) - 1))
                        : 0;
        g.startAscii = g.startHigh = 0;
    }
    // Each group's widths of the chunk's characters outside ASCII, one read
    // for its fonts; font by font where a character does not fit the lanes.
    for (LaneSums& g : laneSums_) {
        if (!High || leads_ == 0)
            break;
        FontKernel* const fonts = &kernels_[g.group->first];
        g.decoded[0] = g.startDecoded = 0;
        g.eachFont = false;
        for (unsigned k = 0; k < leads_ && !g.eachFont; ++k) {
            const std::uint64_t packed = g.characters.widths(codes_[k], fonts, g.group->count);
            g.eachFont = packed == LaneCharacters::unpackable;
            g.decoded[k + 1] = g.decoded[k] + packed;
        }
        for (std::size_t i = 0; g.eachFont && i < g.group->count; ++i) {
            ChunkSums& c = chunkFonts_[g.group->first + i];
            c.decoded[0] = 0;
            for (unsigned k = 0; k < leads_; ++k)
                c.decoded[k + 1] = c.decoded[k] + fonts[i].character(codes_[k]);
            c.startDecoded = 0;
        }
    }

    const auto add = [&](std::uint64_t asciiUp, std::uint64_t highUp, unsigned decodedUpTo, std::uint64_t highBytes,
                         LaneSums& g, std::int64_t pastEnd) {
        const std::uint64_t asciiPart = asciiUp - g.startAscii, highPart = highUp - g.startHigh;
        const bool decodes = High && leads_ > 0;
        const std::uint64_t decodedPart = decodes && !g.eachFont ? g.decoded[decodedUpTo] - g.startDecoded : 0;
        for (std::size_t i = 0; i < g.group->count; ++i) {
            const std::size_t f = g.group->first + i;
            std::int64_t decoded = lane(decodedPart, i);
            if (decodes && g.eachFont) {
                ChunkSums& c = chunkFonts_[f];
                decoded = c.decoded[decodedUpTo] - c.startDecoded;
                c.startDecoded = c.decoded[decodedUpTo];
            }
            addToLine(lines_[f], lane(asciiPart, i), decoded, lane(highPart, i) + lane(pastEnd, i), highBytes);
        }
        g.startAscii = asciiUp;
        g.startHigh = highUp;
        if (decodes && !g.eachFont)
            g.startDecoded = g.decoded[decodedUpTo];
    };

    unsigned startAt = 0;
    for (std::uint64_t rest = ends; rest != 0; rest &= rest - 1) {
        const unsigned at = static_cast<unsigned>(std::countr_zero(rest));
        const std::uint64_t below = (std::uint64_t{1} << at) - 1;
        const unsigned group = at / 8;
        const std::uint64_t head = loadLittle(p + 8 * group) & ((std::uint64_t{1} << (8 * (at % 8))) - 1);
        const unsigned decodedUpTo = High ? bitCount(lead & below) : 0;
        const std::uint64_t highBytes = High ? (highMask & below) >> startAt : 0;
        for (LaneSums& g : laneSums_)
            add(g.ascii[group] + sum(g.group->ascii.get(), head),
                High ? g.high[group] + sum(g.group->high.get(), head) : 0, decodedUpTo, highBytes, g, 0);
        const bool pair = p[at] == '\r' && p[at + 1] == '\n';
        endLine(p + at, p + at + (pair ? 2 : 1));
        startAt = at + 1;
    }
    const std::uint64_t highBytes = High && startAt < 64 ? highMask >> startAt : 0;
    for (LaneSums& g : laneSums_)
        add(g.ascii[8], g.high[8], leads_, highBytes, g, static_cast<std::int64_t>(g.pastEnd));
}

}  // namespace engine

#endif
