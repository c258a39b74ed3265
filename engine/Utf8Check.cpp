#include "Utf8Check.h"

#if defined(__SSE2__)

#include <emmintrin.h>
#include <tmmintrin.h>

namespace engine::utf8check {

namespace {

__m128i load(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

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

// The bytes of v that break UTF-8, as nonzero bytes.
__m128i sse2Errors(__m128i v, __m128i before)
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
    return _mm_or_si128(errors, _mm_subs_epu8(v, ceiling));
}

// The SSSE3 way classifies each pair of neighbouring bytes by three
// 16-entry tables, on the first byte's high and low nibble and the second
// byte's high nibble; a bit set in all three names the fault the pair
// shows. Three- and four-byte sequences' later continuation bytes are
// matched against the leads two and three places before.
enum : unsigned char {
    tooShort = 1 << 0,    // a lead, then no continuation
    tooLong = 1 << 1,     // ASCII, then a continuation
    overlong3 = 1 << 2,   // E0 80..9F
    tooLarge = 1 << 3,    // F4 90..BF, F5..FF
    surrogate = 1 << 4,   // ED A0..BF
    overlong2 = 1 << 5,   // C0, C1
    overlong4 = 1 << 6,   // F0 80..8F, and F5..FF 80..8F
    twoContinuations = 1 << 7,
    carry = tooShort | tooLong | twoContinuations,  // the first byte's low nibble plays no part
};

__attribute__((target("ssse3"))) __m128i lookup(__m128i nibbles, const unsigned char (&table)[16])
{
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table)), nibbles);
}

__attribute__((target("ssse3"))) __m128i highNibbles(__m128i v)
{
    return _mm_and_si128(_mm_srli_epi16(v, 4), _mm_set1_epi8(0x0F));
}

__attribute__((target("ssse3"))) __m128i ssse3Errors(__m128i v, __m128i before)
{
    static constexpr unsigned char firstHigh[16] = {
        tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong,  // 0x: ASCII
        twoContinuations, twoContinuations, twoContinuations, twoContinuations,  // 8x..Bx
        tooShort | overlong2,                                                    // Cx
        tooShort,                                                                // Dx
        tooShort | overlong3 | surrogate,                                        // Ex
        tooShort | tooLarge | overlong4,                                         // Fx
    };
    static constexpr unsigned char firstLow[16] = {
        carry | overlong3 | overlong2 | overlong4,  // x0
        carry | overlong2,                          // x1
        carry,
        carry,
        carry | tooLarge,                           // x4
        carry | tooLarge | overlong4,               // x5..x7
        carry | tooLarge | overlong4,
        carry | tooLarge | overlong4,
        carry | tooLarge | overlong4,               // x8..xF
        carry | tooLarge | overlong4,
        carry | tooLarge | overlong4,
        carry | tooLarge | overlong4,
        carry | tooLarge | overlong4,
        carry | tooLarge | overlong4 | surrogate,   // xD
        carry | tooLarge | overlong4,
        carry | tooLarge | overlong4,
    };
    static constexpr unsigned char secondHigh[16] = {
        tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort,  // ASCII
        tooLong | overlong2 | twoContinuations | overlong3 | overlong4,                  // 80..8F
        tooLong | overlong2 | twoContinuations | overlong3 | tooLarge,                   // 90..9F
        tooLong | overlong2 | twoContinuations | surrogate | tooLarge,                   // A0..AF
        tooLong | overlong2 | twoContinuations | surrogate | tooLarge,                   // B0..BF
        tooShort, tooShort, tooShort, tooShort,                                          // a lead
    };
    const __m128i prev1 = _mm_alignr_epi8(v, before, 15);
    const __m128i pairs = _mm_and_si128(
        _mm_and_si128(lookup(highNibbles(prev1), firstHigh), lookup(_mm_and_si128(prev1, _mm_set1_epi8(0x0F)), firstLow)),
        lookup(highNibbles(v), secondHigh));
    // A continuation after a continuation is right only where a lead two
    // or three bytes back calls for it; pairs then holds twoContinuations
    // exactly there.
    const __m128i third = _mm_subs_epu8(_mm_alignr_epi8(v, before, 14), _mm_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m128i fourth = _mm_subs_epu8(_mm_alignr_epi8(v, before, 13), _mm_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m128i wanted = _mm_and_si128(_mm_or_si128(third, fourth), _mm_set1_epi8(static_cast<char>(0x80)));
    return _mm_xor_si128(pairs, wanted);
}

template <__m128i (*errors)(__m128i, __m128i)>
bool checkChunk(const unsigned char* p, const unsigned char* before)
{
    const __m128i v0 = load(p), v1 = load(p + 16), v2 = load(p + 32), v3 = load(p + 48);
    const __m128i all = _mm_or_si128(_mm_or_si128(errors(v0, load(before)), errors(v1, v0)),
                                     _mm_or_si128(errors(v2, v1), errors(v3, v2)));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(all, _mm_setzero_si128())) == 0xFFFF;
}

}  // namespace

bool sse2(const unsigned char* p, const unsigned char* before) { return checkChunk<sse2Errors>(p, before); }

__attribute__((target("ssse3"))) bool ssse3(const unsigned char* p, const unsigned char* before)
{
    const __m128i v0 = load(p), v1 = load(p + 16), v2 = load(p + 32), v3 = load(p + 48);
    const __m128i all = _mm_or_si128(_mm_or_si128(ssse3Errors(v0, load(before)), ssse3Errors(v1, v0)),
                                     _mm_or_si128(ssse3Errors(v2, v1), ssse3Errors(v3, v2)));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(all, _mm_setzero_si128())) == 0xFFFF;
}

bool hasSsse3() { return __builtin_cpu_supports("ssse3"); }

Check best() { return hasSsse3() ? ssse3 : sse2; }

}  // namespace engine::utf8check

#endif
