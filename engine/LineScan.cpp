#include "LineScan.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace engine::scan {

namespace {

constexpr std::uint64_t ones = 0x0101010101010101u;
constexpr std::uint64_t highBits = 0x8080808080808080u;

// The high bit of each byte of word that equals the byte in `repeated`;
// exact, with no false matches from carries between bytes.
std::uint64_t matchBytes(std::uint64_t word, std::uint64_t repeated)
{
    const std::uint64_t t = word ^ repeated;
    return ~(((t & ~highBits) + ~highBits) | t) & highBits;
}

// Number of bytes flagged in a matchBytes result (at most 8, so no overflow).
std::uint64_t countFlags(std::uint64_t flags)
{
    return ((flags >> 7) * ones) >> 56;
}

std::uint64_t loadWord(const unsigned char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);  // so a byte's successor sits 8 bits higher
    return word;
}

}  // namespace

bool countTerminatorsPortable(const unsigned char* data, std::size_t size, TerminatorCounts& counts)
{
    std::uint64_t high = 0;
    std::uint64_t crCarry = counts.lastWasCR ? 1 : 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const std::uint64_t word = loadWord(data + i);
        high |= word;
        const std::uint64_t lf = matchBytes(word, ones * '\n');
        const std::uint64_t cr = matchBytes(word, ones * '\r');
        counts.lf += countFlags(lf);
        if (cr | crCarry) {
            counts.cr += countFlags(cr);
            counts.crlf += countFlags(lf & ((cr << 8) | (crCarry << 7)));
            crCarry = cr >> 63;
        }
    }
    for (; i < size; ++i) {
        const unsigned char byte = data[i];
        high |= byte;
        if (byte == '\n') {
            ++counts.lf;
            counts.crlf += crCarry;
        }
        crCarry = byte == '\r';
        counts.cr += crCarry;
    }
    counts.lastWasCR = crCarry != 0;
    return (high & highBits) != 0;
}

#if defined(__SSE2__)

namespace {

// Sums the 16 byte counters of acc into a 64-bit total.
std::uint64_t sumBytes(__m128i acc)
{
    const __m128i sums = _mm_sad_epu8(acc, _mm_setzero_si128());
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums))
        + static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
}

}  // namespace

bool countTerminators(const unsigned char* data, std::size_t size, TerminatorCounts& counts)
{
    const __m128i lfs = _mm_set1_epi8('\n');
    const __m128i crs = _mm_set1_epi8('\r');
    __m128i high = _mm_setzero_si128();
    // The 16 bytes before the current vector, for pairing an LF with the CR
    // just before it; its last byte carries a CR over from the last block.
    __m128i before = counts.lastWasCR ? _mm_slli_si128(_mm_cvtsi32_si128('\r'), 15) : _mm_setzero_si128();
    int crCarry = counts.lastWasCR ? 1 : 0;

    std::size_t i = 0;
    while (i + 64 <= size) {
        // A round adds up to 4 to a byte counter, which holds 255: flush after 63.
        __m128i lfAcc = _mm_setzero_si128(), crAcc = _mm_setzero_si128(), pairAcc = _mm_setzero_si128();
        for (int round = 0; round < 63 && i + 64 <= size; ++round, i += 64) {
            const auto* p = reinterpret_cast<const __m128i*>(data + i);
            const __m128i v0 = _mm_loadu_si128(p), v1 = _mm_loadu_si128(p + 1);
            const __m128i v2 = _mm_loadu_si128(p + 2), v3 = _mm_loadu_si128(p + 3);
            high = _mm_or_si128(high, _mm_or_si128(_mm_or_si128(v0, v1), _mm_or_si128(v2, v3)));
            const __m128i lf0 = _mm_cmpeq_epi8(v0, lfs), lf1 = _mm_cmpeq_epi8(v1, lfs);
            const __m128i lf2 = _mm_cmpeq_epi8(v2, lfs), lf3 = _mm_cmpeq_epi8(v3, lfs);
            lfAcc = _mm_sub_epi8(lfAcc, _mm_add_epi8(_mm_add_epi8(lf0, lf1), _mm_add_epi8(lf2, lf3)));
            const __m128i cr0 = _mm_cmpeq_epi8(v0, crs), cr1 = _mm_cmpeq_epi8(v1, crs);
            const __m128i cr2 = _mm_cmpeq_epi8(v2, crs), cr3 = _mm_cmpeq_epi8(v3, crs);
            const __m128i anyCr = _mm_or_si128(_mm_or_si128(cr0, cr1), _mm_or_si128(cr2, cr3));
            // Most files have no CR at all: the pairing is only done near one.
            if ((_mm_movemask_epi8(anyCr) | crCarry) != 0) {
                crAcc = _mm_sub_epi8(crAcc, _mm_add_epi8(_mm_add_epi8(cr0, cr1), _mm_add_epi8(cr2, cr3)));
                const auto pairs = [&](__m128i v, __m128i lf, __m128i previous) {
                    const __m128i shifted = _mm_or_si128(_mm_slli_si128(v, 1), _mm_srli_si128(previous, 15));
                    return _mm_and_si128(lf, _mm_cmpeq_epi8(shifted, crs));
                };
                const __m128i pairs01 = _mm_add_epi8(pairs(v0, lf0, before), pairs(v1, lf1, v0));
                const __m128i pairs23 = _mm_add_epi8(pairs(v2, lf2, v1), pairs(v3, lf3, v2));
                pairAcc = _mm_sub_epi8(pairAcc, _mm_add_epi8(pairs01, pairs23));
                crCarry = _mm_movemask_epi8(cr3) >> 15;
            }
            before = v3;
        }
        counts.lf += sumBytes(lfAcc);
        counts.cr += sumBytes(crAcc);
        counts.crlf += sumBytes(pairAcc);
    }
    if (i > 0)
        counts.lastWasCR = data[i - 1] == '\r';
    const bool tailHigh = countTerminatorsPortable(data + i, size - i, counts);
    return tailHigh || _mm_movemask_epi8(high) != 0;
}

#else

bool countTerminators(const unsigned char* data, std::size_t size, TerminatorCounts& counts)
{
    return countTerminatorsPortable(data, size, counts);
}

#endif

namespace {

// The checker's states; each is stored as its bit offset (6 x index) in the rows.
enum Utf8State : unsigned { Accept, Error, Need1, Need2, Need3, AfterE0, AfterED, AfterF0, AfterF4, stateCount };

constexpr unsigned nextState(unsigned state, unsigned byte)
{
    const bool continuation = byte >= 0x80 && byte <= 0xBF;
    switch (state) {
    case Accept:
        if (byte < 0x80)
            return Accept;
        if (byte >= 0xC2 && byte <= 0xDF)
            return Need1;
        if (byte == 0xE0)
            return AfterE0;  // A0..BF next, or it would be overlong
        if (byte == 0xED)
            return AfterED;  // 80..9F next, or it would be a surrogate
        if (byte >= 0xE1 && byte <= 0xEF)
            return Need2;
        if (byte == 0xF0)
            return AfterF0;  // 90..BF next, or it would be overlong
        if (byte >= 0xF1 && byte <= 0xF3)
            return Need3;
        if (byte == 0xF4)
            return AfterF4;  // 80..8F next, or it would pass U+10FFFF
        return Error;
    case Need1:
        return continuation ? Accept : Error;
    case Need2:
        return continuation ? Need1 : Error;
    case Need3:
        return continuation ? Need2 : Error;
    case AfterE0:
        return byte >= 0xA0 && byte <= 0xBF ? Need1 : Error;
    case AfterED:
        return byte >= 0x80 && byte <= 0x9F ? Need1 : Error;
    case AfterF0:
        return byte >= 0x90 && byte <= 0xBF ? Need2 : Error;
    case AfterF4:
        return byte >= 0x80 && byte <= 0x8F ? Need2 : Error;
    default:
        return Error;
    }
}

constexpr std::array<std::uint64_t, 256> utf8Rows = [] {
    std::array<std::uint64_t, 256> rows{};
    for (unsigned byte = 0; byte < 256; ++byte)
        for (unsigned state = 0; state < stateCount; ++state)
            rows[byte] |= std::uint64_t{nextState(state, byte) * 6} << (state * 6);
    return rows;
}();

static_assert(Utf8Checker::accept == Accept * 6 && Utf8Checker::error == Error * 6);

std::uint64_t stepBytes(std::uint64_t state, const unsigned char* data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        state = utf8Rows[data[i]] >> (state & 63);
    return state & 63;
}

#if defined(__SSE2__)

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

// Checks the whole 16-byte vectors of [data, data + size), which starts
// between characters; a sequence the last vector cuts short is not an error
// here. Returns the bytes checked, or 0 with bad set.
std::size_t checkVectors(const unsigned char* data, std::size_t size, bool& bad)
{
    const __m128i continuationCeiling = _mm_set1_epi8(-64);  // 80..BF are below it, signed
    const __m128i e0 = _mm_set1_epi8(static_cast<char>(0xE0)), ed = _mm_set1_epi8(static_cast<char>(0xED));
    const __m128i f0 = _mm_set1_epi8(static_cast<char>(0xF0)), f4 = _mm_set1_epi8(static_cast<char>(0xF4));
    const __m128i allSet = _mm_set1_epi8(-1);
    __m128i before = _mm_setzero_si128();
    __m128i errors = _mm_setzero_si128();  // nonzero bytes where something is wrong
    std::size_t i = 0;
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        // ASCII with no sequence open from before: nothing to check.
        if (_mm_movemask_epi8(v) == 0 && (_mm_movemask_epi8(before) & 0xE000) == 0) {
            before = v;
            continue;
        }
        const __m128i prev1 = shiftIn<1>(v, before), prev2 = shiftIn<2>(v, before), prev3 = shiftIn<3>(v, before);
        // A continuation byte exactly where a lead byte calls for one.
        const __m128i wanted = _mm_or_si128(_mm_or_si128(atLeast(prev1, 0xC0), atLeast(prev2, 0xE0)), atLeast(prev3, 0xF0));
        const __m128i continuation = _mm_cmpgt_epi8(continuationCeiling, v);
        errors = _mm_or_si128(errors, _mm_xor_si128(wanted, continuation));
        // Lead bytes that are never valid: C0, C1 (overlong) and F5..FF.
        errors = _mm_or_si128(errors, _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(0xC0))),
                                                   _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(0xC1)))));
        errors = _mm_or_si128(errors, _mm_subs_epu8(v, f4));
        // The second byte's narrower range after E0, F0 (overlong forms),
        // ED (surrogates) and F4 (past U+10FFFF): below a floor or above a
        // ceiling leaves a nonzero saturated difference. The floor is A0
        // after E0, 90 after F0, else 0; the ceiling 9F after ED, 8F after
        // F4, else FF (FF less 60, 70 or 0).
        const __m128i floor = _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(prev1, e0), _mm_set1_epi8(static_cast<char>(0xA0))),
                                           _mm_and_si128(_mm_cmpeq_epi8(prev1, f0), _mm_set1_epi8(static_cast<char>(0x90))));
        const __m128i ceiling = _mm_xor_si128(_mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(prev1, ed), _mm_set1_epi8(0x60)),
                                                           _mm_and_si128(_mm_cmpeq_epi8(prev1, f4), _mm_set1_epi8(0x70))),
                                              allSet);
        errors = _mm_or_si128(errors, _mm_subs_epu8(floor, v));
        errors = _mm_or_si128(errors, _mm_subs_epu8(v, ceiling));
        before = v;
    }
    bad = _mm_movemask_epi8(_mm_cmpeq_epi8(errors, _mm_setzero_si128())) != 0xFFFF;
    return bad ? 0 : i;
}

#endif

}  // namespace

void Utf8Checker::feed(const unsigned char* data, std::size_t size)
{
    // Finish a character the last piece began.
    std::size_t i = 0;
    std::uint64_t state = state_;
    while (i < size && state != accept && state != error)
        state = utf8Rows[data[i++]] >> state & 63;
    if (state == error) {
        state_ = error;
        return;
    }
#if defined(__SSE2__)
    if (state == accept) {
        bool bad = false;
        const std::size_t checked = checkVectors(data + i, size - i, bad);
        if (bad) {
            state_ = error;
            return;
        }
        // Back up to a lead byte whose sequence the vectors cut short; the
        // state machine takes it from there, checking it whole.
        const std::size_t end = i + checked;
        std::size_t restart = end;
        for (std::size_t back = 1; back <= 3 && back <= checked; ++back) {
            const unsigned char byte = data[end - back];
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 0;
            if (length > back)
                restart = end - back;
        }
        i = restart;
    }
#endif
    state_ = stepBytes(state, data + i, size - i);
}

char32_t windows1252(unsigned char byte)
{
    static constexpr std::array<char16_t, 32> c1 = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
    };
    if (byte >= 0x80 && byte <= 0x9F)
        return c1[byte - 0x80];
    return byte;
}

BlockReader::~BlockReader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int BlockReader::open(const std::string& path)
{
    do
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        return error_ = errno;
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return error_ = errno;
    // A directory opens fine and only fails at read(); say so up front.
    if (S_ISDIR(info.st_mode))
        return error_ = EISDIR;
    fileSize_ = static_cast<std::uint64_t>(info.st_size);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return 0;
}

std::ptrdiff_t BlockReader::next(std::size_t keep)
{
    if (keep > 0)
        std::memmove(buffer_, buffer_ + filled_ - keep, keep);
    // Fill the whole block unless the file ends, so block boundaries fall
    // at fixed offsets.
    std::size_t got = 0;
    while (got < blockSize) {
        const ssize_t n = ::read(fd_, buffer_ + keep + got, blockSize - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error_ = errno;
            filled_ = 0;
            return -1;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    filled_ = keep + got;
    return static_cast<std::ptrdiff_t>(got);
}

}  // namespace engine::scan
