#pragma once
// Hands out a stream in pieces, one to each measuring thread that asks. A
// piece ends after a line terminator where there is one near its end;
// otherwise inside a line, between two characters, and the next piece
// begins inside that line. The bytes after the cut open the next piece.

#include "InputStream.h"
#include "LineLoop.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace engine {

struct Piece {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    bool beginsInsideLine = false;
    std::uint64_t sequence = 0;  // 0, 1, 2... in stream order
};

// Where to end a piece of [data, data + size) that more bytes follow: just
// after the last line end, unless more than maxCarry bytes follow that;
// then near the end, between characters and never right after a CR.
struct Cut {
    std::size_t at = 0;
    bool insideLine = false;
};
Cut findCut(const unsigned char* data, std::size_t size, ReadMode mode, std::size_t maxCarry);

class PieceSource {
public:
    enum class State { Reading, Ended, Failed, GaveUp };

    // pace is asked after every read and while a read waits; false gives up.
    PieceSource(InputStream& in, std::size_t blockSize, std::function<bool(std::uint64_t bytesRead)> pace);

    // The buffer each thread keeps for its pieces.
    std::size_t bufferSize() const { return blockSize_ + maxCarry_; }

    // Reads the next piece into buffer (of bufferSize()). False when there
    // is none: the stream ended, failed or was given up; see state().
    bool next(unsigned char* buffer, Piece& piece);

    State state() const;
    // How the stream is read: known once the first piece is out.
    ReadMode mode() const;
    std::uint64_t bytesRead() const;

private:
    InputStream& in_;
    const std::size_t blockSize_;
    const std::size_t maxCarry_;
    const std::function<bool(std::uint64_t)> pace_;

    mutable std::mutex mutex_;
    State state_ = State::Reading;
    ReadMode mode_ = ReadMode::Open;
    bool first_ = true;
    bool insideLine_ = false;
    std::uint64_t sequence_ = 0;
    std::uint64_t bytesRead_ = 0;
    std::vector<unsigned char> carry_;
};

}  // namespace engine
