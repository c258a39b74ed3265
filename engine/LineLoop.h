#pragma once
// The loop over lines: sums the character widths of every line of one
// piece of a stream, in each font at once. A piece holds whole lines,
// except that the first may have begun in the piece before and the last
// may go on in the next; those two come back as segments for the caller
// to join.

#include "CharWidths.h"
#include "PieceResult.h"
#include "TextEncoding.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace engine {

class LineLoop {
public:
    // One target for each font, in order. lanes: the fonts' lane tables,
    // made once for all the threads, or none.
    LineLoop(const std::vector<const FontWidths*>& fonts, std::optional<std::int64_t> maxWidth,
             const std::vector<struct LaneGroup>* lanes = nullptr);
    ~LineLoop();
    LineLoop(const LineLoop&) = delete;
    LineLoop& operator=(const LineLoop&) = delete;

    // Measures [data, data + size). reading may change from Utf8 to
    // Windows1252. Whole lines are counted into tally.
    void measure(const unsigned char* data, std::size_t size, bool beginsInsideLine, Encoding& reading,
                 PieceResult& out, StreamTally& tally);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace engine
