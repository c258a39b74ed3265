#pragma once
// The loop over the records of delimited text: in every record of a piece,
// the field of each measured column is a value, as wide as its widest
// line, in each font. A piece may begin and end inside a record; what it
// has of such a record goes to its result's parts, for the combiner to
// join. Target t is column t / fonts in font t % fonts.

#include "CharWidths.h"
#include "Delimited.h"
#include "PieceResult.h"
#include "RecordCutter.h"

#include <memory>
#include <optional>
#include <vector>

namespace engine {

// Where a piece begins and ends: inside records or at their edges.
struct RecordEdges {
    RecordEntry entry;
    bool endsInside = false;
};

class RecordLoop {
public:
    RecordLoop(const std::vector<const FontWidths*>& fonts, std::optional<std::int64_t> maxWidth);
    ~RecordLoop();
    RecordLoop(const RecordLoop&) = delete;
    RecordLoop& operator=(const RecordLoop&) = delete;

    // Measures [data, data + size); its first record is skipped when it is
    // the header. reading may change from Utf8 to Windows1252. Values are
    // counted into tally.
    void measure(const unsigned char* data, std::size_t size, bool skipHeader, const RecordLayout& layout,
                 const RecordEdges& edges, Encoding& reading, PieceResult& out, StreamTally& tally);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace engine
