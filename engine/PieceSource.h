#pragma once
// Hands out a stream in pieces, one to each measuring thread that asks. A
// piece of lines ends after a line terminator where there is one near its
// end; otherwise inside a line, between two characters, and the next piece
// begins inside that line. Delimited text is cut where a record ends, or,
// where no record ends for a whole read, inside a record, between
// characters, where the grammar's state and the field are known. The bytes
// after the cut open the next piece.

#include "Delimited.h"
#include "InputStream.h"
#include "PieceBuffer.h"
#include "RecordCutter.h"
#include "TextEncoding.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace engine {

struct Piece {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    bool beginsInsideLine = false;
    std::uint64_t sequence = 0;  // 0, 1, 2... in stream order
    bool beginsWithHeader = false;  // delimited text: its first record names the columns
    // Delimited text: where the piece begins inside a record that an
    // earlier piece began, and whether a later piece goes on with its last.
    RecordEntry entry;
    bool endsInsideRecord = false;
    // UTF-16 as marked, else Utf8: carried with the piece, since asking the
    // source would wait for a read another thread has begun.
    Encoding encoding = Encoding::Utf8;
};

// Where to end a piece of [data, data + size) that more bytes follow: just
// after the last line end, unless more than maxCarry bytes follow that;
// then near the end, between characters and never right after a CR.
struct Cut {
    std::size_t at = 0;
    bool insideLine = false;
};
Cut findCut(const unsigned char* data, std::size_t size, Encoding encoding, std::size_t maxCarry);

class PieceSource {
public:
    enum class State { Reading, Ended, Failed, GaveUp, UnknownColumn, RecordTooLong, CopyFailed };

    // The longest record of delimited text that is not cut: one must fit
    // in a piece.
    static constexpr std::size_t maxRecordBytes = std::size_t{64} << 20;

    // pace is asked after every read and while a read waits; false gives up.
    // With a format, the stream is delimited text cut at record ends.
    // copyTo: a file descriptor every byte read is written to, or -1.
    PieceSource(InputStream& in, std::size_t blockSize, std::function<bool(std::uint64_t bytesRead)> pace,
                const DelimitedFormat* format = nullptr, int copyTo = -1);

    // Reads the next piece into buffer, which grows as needed. False when
    // there is none: the stream ended, failed or was given up; see state().
    bool next(PieceBuffer& buffer, Piece& piece);

    State state() const;
    // UTF-16 as marked, else Utf8: known once the first piece is out.
    Encoding encoding() const;
    std::uint64_t bytesRead() const;
    // Delimited text: known once the first piece is out.
    const RecordLayout& layout() const { return layout_; }
    // For UnknownColumn: the column as the user named it.
    const ColumnChoice& unknownColumn() const { return unknownColumn_; }
    // For CopyFailed: the errno of the write.
    int copyError() const { return copyError_; }

private:
    bool readFirstRecord(const unsigned char* data, std::size_t size, bool last, bool& needMore);
    bool copyOut(const unsigned char* data, std::size_t size);

    InputStream& in_;
    const std::size_t blockSize_;
    const std::size_t maxCarry_;
    const std::function<bool(std::uint64_t)> pace_;
    const DelimitedFormat* const format_;
    const int copyTo_;
    int copyError_ = 0;

    mutable std::mutex mutex_;
    State state_ = State::Reading;
    Encoding encoding_ = Encoding::Utf8;
    bool first_ = true;
    bool layoutKnown_ = false;
    RecordLayout layout_;
    ColumnChoice unknownColumn_;
    std::optional<RecordCutter> commas_;  // the first record read as comma-delimited
    std::optional<RecordCutter> cutter_;
    bool insideLine_ = false;
    RecordEntry entry_;  // where the next piece begins
    std::uint64_t sequence_ = 0;
    std::uint64_t bytesRead_ = 0;
    std::vector<unsigned char> carry_;
};

}  // namespace engine
