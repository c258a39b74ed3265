#pragma once
// The low-level pieces of measureFile: block reading, counting line
// terminators, checking and decoding UTF-8, the Windows-1252 mapping. Kept
// apart from LineMeasurer.cpp so the tests can check the vectorised code
// against the plain one and place bytes exactly at block boundaries.

#include <cstddef>
#include <cstdint>
#include <string>

namespace engine::scan {

// Both passes read the file in blocks of this size into one buffer.
constexpr std::size_t blockSize = std::size_t{1} << 20;

// A UTF-8 sequence cut short by a block end is carried into the next block,
// so the buffer holds a few bytes more than a block.
constexpr std::size_t bufferSize = blockSize + 8;

struct TerminatorCounts {
    std::uint64_t lf = 0;
    std::uint64_t cr = 0;
    std::uint64_t crlf = 0;   // a CR directly followed by an LF: one terminator, not two
    bool lastWasCR = false;   // links a CR at one block's end to an LF at the next one's start

    std::uint64_t terminators() const { return lf + cr - crlf; }
};

// Adds the terminators in [data, data + size) to counts. Returns whether
// any byte is >= 0x80 (only then is UTF-8 validation needed).
bool countTerminators(const unsigned char* data, std::size_t size, TerminatorCounts& counts);

// The same, a machine word at a time; the fallback without SSE2 and the
// reference the vectorised version is tested against.
bool countTerminatorsPortable(const unsigned char* data, std::size_t size, TerminatorCounts& counts);

// The code point of a byte read as Windows-1252. The five bytes the code
// page leaves undefined stand for the C1 controls of the same value.
char32_t windows1252(unsigned char byte);

// Decodes the sequence at p, whose lead byte is >= 0x80. Returns its length
// (2..4), 0 when end cuts a so far valid sequence short, or -1 when it is
// not UTF-8 (overlong forms, surrogates and code points past U+10FFFF
// included).
inline int decodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& code)
{
    const unsigned lead = p[0];
    int length;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    char32_t value;
    if (lead < 0xC2) {
        return -1;  // a stray continuation byte or an overlong 2-byte form
    } else if (lead < 0xE0) {
        length = 2, value = lead & 0x1F;
    } else if (lead < 0xF0) {
        length = 3, value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead < 0xF5) {
        length = 4, value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return -1;
    }
    const std::ptrdiff_t available = end - p;
    for (int i = 1; i < length; ++i) {
        if (i >= available)
            return 0;
        const unsigned byte = p[i];
        if (byte < low || byte > high)
            return -1;
        low = 0x80, high = 0xBF;
        value = (value << 6) | (byte & 0x3F);
    }
    code = value;
    return length;
}

// Checks UTF-8 fed in pieces, so a sequence may straddle two blocks. With
// SSE2 whole 16-byte vectors are checked at once; the edges, and everything
// without SSE2, go through a state machine that packs the next state for
// every (state, byte) into one 64-bit word per byte.
class Utf8Checker {
public:
    void feed(const unsigned char* data, std::size_t size);
    bool failed() const { return state_ == error; }
    // Valid so far and not inside a sequence.
    bool complete() const { return state_ == accept; }

    static constexpr std::uint64_t accept = 0;
    static constexpr std::uint64_t error = 6;

private:
    std::uint64_t state_ = accept;
};

// One pass's reading of a file: opened afresh, read in blocks into a buffer
// the caller owns (of bufferSize bytes), closed when the pass ends.
class BlockReader {
public:
    explicit BlockReader(unsigned char* buffer) : buffer_(buffer) {}
    ~BlockReader();
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // 0, or the errno that stopped it.
    int open(const std::string& path);
    std::uint64_t fileSize() const { return fileSize_; }

    // Moves the last `keep` bytes (at most 3) of the current block to the
    // front and reads up to blockSize bytes after them. Returns the number
    // of new bytes, 0 at the end of the file, or -1 on a read error.
    std::ptrdiff_t next(std::size_t keep);

    const unsigned char* data() const { return buffer_; }
    std::size_t size() const { return filled_; }  // kept bytes included
    int error() const { return error_; }

private:
    unsigned char* buffer_;
    int fd_ = -1;
    int error_ = 0;
    std::size_t filled_ = 0;
    std::uint64_t fileSize_ = 0;
};

}  // namespace engine::scan
