// The 64-byte path of the measuring loop: printable ASCII and, while the
// reading is open, checked UTF-8, summed without a branch per byte.

#include "LineLoopImpl.h"

#if defined(__SSE2__)

#include <emmintrin.h>

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

// The widths of the four byte pairs of a loadLittle word.
std::int64_t pairWidths(const std::int32_t* pairs, std::uint64_t word)
{
    return (std::int64_t{pairs[word & 0xFFFF]} + pairs[(word >> 16) & 0xFFFF])
        + (std::int64_t{pairs[(word >> 32) & 0xFFFF]} + pairs[word >> 48]);
}

std::uint64_t mask64(const __m128i* v, __m128i (*test)(__m128i))
{
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k)
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(test(v[k])))) << (16 * k);
    return mask;
}

// v's bytes moved n places later, the first n from the end of before.
template <int n>
__m128i shiftIn(__m128i v, __m128i before)
{
    return _mm_or_si128(_mm_slli_si128(v, n), _mm_srli_si128(before, 16 - n));
}

// Unsigned v >= floor, as a mask.
__m128i atLeast(__m128i v, int floor)
{
    return _mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(static_cast<char>(floor))), v);
}

// Whether the bytes of v, with before the 16 bytes ahead of them, are
// UTF-8 as far as they go; a sequence v cuts short is checked later.
bool utf8Vector(__m128i v, __m128i before)
{
    const __m128i prev1 = shiftIn<1>(v, before), prev2 = shiftIn<2>(v, before), prev3 = shiftIn<3>(v, before);
    // A continuation byte exactly where a lead byte calls for one.
    const __m128i wanted = _mm_or_si128(_mm_or_si128(atLeast(prev1, 0xC0), atLeast(prev2, 0xE0)), atLeast(prev3, 0xF0));
    const __m128i continuation = _mm_cmpgt_epi8(_mm_set1_epi8(-64), v);  // 80..BF, signed
    __m128i errors = _mm_xor_si128(wanted, continuation);
    // Lead bytes that are never valid: C0, C1 (overlong) and F5..FF.
    errors = _mm_or_si128(errors, _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(-2)), _mm_set1_epi8(static_cast<char>(0xC0))));
    errors = _mm_or_si128(errors, _mm_subs_epu8(v, _mm_set1_epi8(static_cast<char>(0xF4))));
    // The second byte's narrower range after E0, F0 (overlong forms),
    // ED (surrogates) and F4 (past U+10FFFF): below a floor or above a
    // ceiling leaves a nonzero saturated difference.
    const auto is = [&prev1](int lead) { return _mm_cmpeq_epi8(prev1, _mm_set1_epi8(static_cast<char>(lead))); };
    const __m128i floor = _mm_or_si128(_mm_and_si128(is(0xE0), _mm_set1_epi8(static_cast<char>(0xA0))),
                                       _mm_and_si128(is(0xF0), _mm_set1_epi8(static_cast<char>(0x90))));
    const __m128i ceiling = _mm_xor_si128(_mm_or_si128(_mm_and_si128(is(0xED), _mm_set1_epi8(0x60)),
                                                       _mm_and_si128(is(0xF4), _mm_set1_epi8(0x70))),
                                          _mm_set1_epi8(-1));
    errors = _mm_or_si128(errors, _mm_subs_epu8(floor, v));
    errors = _mm_or_si128(errors, _mm_subs_epu8(v, ceiling));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(errors, _mm_setzero_si128())) == 0xFFFF;
}

}  // namespace

// Measures the 64 bytes at p, which begin between characters, unless one
// of them needs scanBytes: a control character or DEL, or, while the
// reading is open, a byte that breaks UTF-8. Widths are summed a byte
// pair at a time into running totals with no branch per byte; each
// line's width is the difference of the totals at its ends. Returns
// the bytes taken: 64, plus the rest of a character that crosses the
// chunk's end, or 0 to leave them all to scanBytes.
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
    const bool open = mode_ == ReadMode::Open;
    std::uint64_t highMask = 0, lead = 0;
    std::size_t taken = 64;
    if (high) {
        if (!highPairs_)
            return 0;
        highMask = mask64(v, [](__m128i x) { return x; });
        if (open) {
            __m128i before = _mm_setzero_si128();
            if (p - pieceStart_ >= 16)
                before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16));
            for (int k = 0; k < 4; ++k) {
                // ASCII with no sequence still open from before: nothing to check.
                const bool plain = _mm_movemask_epi8(v[k]) == 0 && (_mm_movemask_epi8(before) & 0xE000) == 0;
                if (!plain && !utf8Vector(v[k], before))
                    return 0;
                before = v[k];
            }
            lead = mask64(v, [](__m128i x) { return _mm_and_si128(x, _mm_add_epi8(x, x)); });  // 11xxxxxx
            // A character that runs past the chunk is checked whole.
            if (lead >> 61) {
                const unsigned at = 63 - static_cast<unsigned>(std::countl_zero(lead));
                char32_t code;
                const int length = fontview::decodeUtf8Sequence(p + at, p + at + 4, code);
                if (length <= 0)
                    return 0;
                taken = std::max<std::size_t>(taken, at + static_cast<std::size_t>(length));
            }
        }
    }
    std::uint64_t cr = 0;
    if (_mm_movemask_epi8(anyCr) != 0)
        cr = mask64(v, [](__m128i x) { return _mm_cmpeq_epi8(x, _mm_set1_epi8('\r')); });

    // A line ends at each CR, and at each LF not right after a CR.
    const std::uint64_t ends = cr | (lf & ~((cr << 1) | (afterCR_ ? 1 : 0)));

    // ascii[g], extra[g]: the widths of the bytes before byte 8g, of
    // ASCII and of bytes >= 0x80 read as Windows-1252.
    std::int64_t ascii[9], extra[9];
    ascii[0] = extra[0] = 0;
    for (int g = 0; g < 8; ++g) {
        const std::uint64_t word = loadLittle(p + 8 * g);
        ascii[g + 1] = ascii[g] + pairWidths(asciiPairs_, word);
        extra[g + 1] = extra[g] + (high ? pairWidths(highPairs_, word) : 0);
    }
    // Bytes of a character past the end of the chunk.
    for (std::size_t i = 64; i < taken; ++i)
        extra[8] += single1252_[p[i]];

    std::int64_t decoded = 0;  // characters outside ASCII read as UTF-8, so far
    std::int64_t startAscii = 0, startExtra = 0, startDecoded = 0;
    unsigned startAt = 0;
    for (std::uint64_t events = ends | lead; events != 0; events &= events - 1) {
        const unsigned at = static_cast<unsigned>(std::countr_zero(events));
        if ((lead >> at) & 1) {
            unsigned length;
            decoded += widths_(fontview::decodeCheckedUtf8Sequence(p + at, length));
            continue;
        }
        // The bytes of its group of 8 before the terminator; the ones
        // from it on become NULs, which are 0 wide here.
        const unsigned group = at / 8, before = at % 8;
        const std::uint64_t head = loadLittle(p + 8 * group) & ((std::uint64_t{1} << (8 * before)) - 1);
        const std::int64_t upAscii = ascii[group] + pairWidths(asciiPairs_, head);
        const std::int64_t upExtra = high ? extra[group] + pairWidths(highPairs_, head) : 0;
        addToLine(upAscii - startAscii, decoded - startDecoded, upExtra - startExtra,
                  (highMask >> startAt) & ((std::uint64_t{1} << (at - startAt)) - 1));
        // The chunk is followed by at least 4 bytes, so the byte after
        // a CR can be looked at.
        const bool pair = p[at] == '\r' && p[at + 1] == '\n';
        endLine(p + at, p + at + (pair ? 2 : 1));
        startAscii = upAscii, startExtra = upExtra, startDecoded = decoded;
        startAt = at + 1;
    }
    addToLine(ascii[8] - startAscii, decoded - startDecoded, extra[8] - startExtra,
              startAt < 64 ? highMask >> startAt : 0);
    afterCR_ = (cr >> 63) != 0;
    return taken;
}

}  // namespace engine

#endif
