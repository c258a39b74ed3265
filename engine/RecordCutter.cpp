#include "RecordCutter.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace engine {

using csv::State;

RecordCutter::RecordCutter(char delimiter, Encoding encoding) : classes_(delimiter), encoding_(encoding) {}

void RecordCutter::restart()
{
    scanned_ = 0;
    state_ = State::FieldStart;
    fields_ = 0;
    countingFields_ = true;
    lastEnd_.reset();
    firstEnd_.reset();
    crEnd_.reset();
}

void RecordCutter::resume(const RecordEntry& entry)
{
    restart();
    state_ = entry.state;
    fields_ = entry.field - 1;
}

void RecordCutter::setEnd(std::size_t after)
{
    if (!firstEnd_)
        firstEnd_ = after;
    lastEnd_ = after;
}

// What followed the CR that ended the last record was no LF.
void RecordCutter::confirmCR()
{
    if (crEnd_)
        setEnd(*crEnd_);
    crEnd_.reset();
}

// A record ends just after its line end: after the LF of a CR LF, so a
// CR's end is known only once the next byte is seen.
void RecordCutter::recordEnd(std::size_t after, bool byCR)
{
    confirmCR();
    if (byCR)
        crEnd_ = after;
    else
        setEnd(after);
}

void RecordCutter::scanUnits(const unsigned char* data, std::size_t from, std::size_t to)
{
    const auto onStep = [&](csv::Action action, const unsigned char* at) {
        const std::size_t unit = isUtf16(encoding_) ? 2 : 1;
        const std::size_t after = static_cast<std::size_t>(at - data) + unit;
        if (action == csv::Action::EndField)
            ++fields_;
        if (action == csv::Action::EndRecord) {
            countingFields_ = false;
            recordEnd(after, state_ == State::AfterCR);
        } else if (action == csv::Action::EndRest) {
            crEnd_.reset();
            setEnd(after);
        } else {
            confirmCR();
        }
        return true;
    };
    const auto onText = [&](const unsigned char*, const unsigned char*) { confirmCR(); };
    const unsigned char* end;
    if (isUtf16(encoding_))
        end = csv::walk(csv::Utf16Units{encoding_ == Encoding::Utf16BE}, classes_, state_, data + from, data + to,
                        onText, onStep);
    else
        end = csv::walk(csv::ByteUnits{}, classes_, state_, data + from, data + to, onText, onStep);
    scanned_ = static_cast<std::size_t>(end - data);
}

#if defined(__SSE2__)
namespace {

std::uint64_t byteMask(const __m128i* v, __m128i wanted)
{
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k)
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v[k], wanted))))
            << (16 * k);
    return mask;
}

}  // namespace

// The 64-byte blocks from data + at by the parity of their quotes: a
// quote toggles between inside and outside, so whether a byte is inside
// quotes is the parity of the quotes before it. That holds when every
// quote plays the part its parity gives it: one that opens follows a
// delimiter, a line end or a quote (the second of a doubled pair), and one
// that closes comes before one of them. Returns where the blocks stop: at
// the first block where a quote does not, or where fewer than 64 bytes are
// left.
std::size_t RecordCutter::parityBlocks(const unsigned char* data, std::size_t at, std::size_t size)
{
    // What the grammar's state says of the bytes before the first block.
    bool inside = state_ == State::Quoted || state_ == State::QuotedAfterCR;
    bool previousEdge = state_ != State::Unquoted;  // inside quotes it is not asked
    bool pendingClose = state_ == State::QuoteInQuoted;
    const __m128i quotes = _mm_set1_epi8('"'), lfs = _mm_set1_epi8('\n'), crs = _mm_set1_epi8('\r');
    const __m128i delimiters = _mm_set1_epi8(static_cast<char>(classes_.delimiter()));
    const std::size_t start = at;
    for (; size - at >= 64; at += 64) {
        const unsigned char* const block = data + at;
        __m128i v[4];
        for (int k = 0; k < 4; ++k)
            v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block) + k);
        const std::uint64_t q = byteMask(v, quotes), lf = byteMask(v, lfs), cr = byteMask(v, crs);
        const std::uint64_t delimited = byteMask(v, delimiters);
        const std::uint64_t edges = q | lf | cr | delimited;
        if (pendingClose && !(edges & 1))
            break;
        // parity bit i: the quotes up to and including byte i, odd or even.
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
        const std::uint64_t edgeAfter = edges >> 1;  // bit 63 is checked with the next byte, as pendingClose
        if ((opening & ~edgeBefore) != 0 || (closing & ~edgeAfter & ~(std::uint64_t{1} << 63)) != 0)
            break;

        // The fields so far of a record that has not ended since the scan
        // began: delimiters outside quotes.
        if (countingFields_) {
            const std::uint64_t fieldEnds = delimited & ~before;
            if (((lf | cr) & ~before) != 0)
                countingFields_ = false;
            else if (fieldEnds != 0)  // a long record is most often a long quoted field
                fields_ += static_cast<std::size_t>(std::popcount(fieldEnds));
        }

        // A CR last of all before this block: an LF here ends the same record.
        if (block[0] != '\n')
            confirmCR();
        crEnd_.reset();
        // Line ends outside quotes; a CR followed by an LF ends with the LF.
        std::uint64_t ends = (lf | (cr & ~(lf >> 1))) & ~before;
        if ((ends >> 63) != 0 && block[63] == '\r') {
            crEnd_ = at + 64;
            ends &= ~(std::uint64_t{1} << 63);
        }
        if (ends) {
            if (!firstEnd_)
                firstEnd_ = at + 1 + static_cast<std::size_t>(std::countr_zero(ends));
            lastEnd_ = at + 64 - static_cast<std::size_t>(std::countl_zero(ends));
        }
        inside = (parity >> 63) != 0;
        previousEdge = (edges >> 63) != 0;
        pendingClose = (closing >> 63) != 0;
    }
    if (at == start)
        return at;
    // The grammar's state after the last block taken.
    const unsigned char last = data[at - 1];
    if (inside)
        state_ = last == '\r' ? State::QuotedAfterCR : State::Quoted;
    else if (last == '"')
        state_ = State::QuoteInQuoted;
    else if (last == '\r')
        state_ = State::AfterCR;
    else if (last == '\n' || last == classes_.delimiter())
        state_ = State::FieldStart;
    else
        state_ = State::Unquoted;
    return at;
}
#else
std::size_t RecordCutter::parityBlocks(const unsigned char*, std::size_t at, std::size_t) { return at; }
#endif

void RecordCutter::scan(const unsigned char* data, std::size_t size, bool atEnd)
{
    if (isUtf16(encoding_)) {
        scanUnits(data, scanned_, size);
    } else {
        while (size - scanned_ >= 64) {
            scanned_ = parityBlocks(data, scanned_, size);
            if (size - scanned_ >= 64) {
                // A block the quotes' parity cannot read: the grammar reads it.
                const std::size_t at = scanned_;
                scanUnits(data, at, at + 64);
                scanned_ = at + 64;
            }
        }
        if (scanned_ < size)
            scanUnits(data, scanned_, size);
    }
    // A CR that more bytes follow, or that ends the data, ends its record.
    if (crEnd_ && (*crEnd_ < size || atEnd))
        confirmCR();
}

}  // namespace engine
