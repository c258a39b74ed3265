#pragma once
// The measuring loop of delimited text: in every record of a piece, the
// field of one column is a value, as wide as its widest line. A piece
// starts at a record's start and holds whole records.

#include "CharWidths.h"
#include "LineLoop.h"
#include "PieceSource.h"

#include <memory>
#include <optional>

namespace engine {

class RecordLoop {
public:
    RecordLoop(const FontWidths& font, std::optional<std::int64_t> maxWidth);
    ~RecordLoop();
    RecordLoop(const RecordLoop&) = delete;
    RecordLoop& operator=(const RecordLoop&) = delete;

    // Measures [data, data + size); its first record is skipped when it is
    // the header. mode may change from Open to Windows1252. Values are
    // counted into tally.
    void measure(const unsigned char* data, std::size_t size, bool skipHeader, const RecordLayout& layout,
                 ReadMode& mode, PieceResult& out, StreamTally& tally);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace engine
