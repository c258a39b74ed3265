#pragma once
// Puts the pieces' results back in stream order: numbers their lines, joins
// the lines cut by a piece's edge and keeps the widest lines and the lines
// check mode reports. The distributions of whole lines go straight into
// each thread's own tally and are only added up at the end.

#include "LineLoop.h"
#include "StreamTally.h"

#include <atomic>
#include <map>
#include <mutex>
#include <optional>

namespace engine {

class PieceCombiner {
public:
    PieceCombiner(std::size_t segmentTextBytes, std::optional<std::int64_t> maxWidth)
        : segmentTextBytes_(segmentTextBytes), maxWidth_(maxWidth)
    {
    }

    // Takes a piece's result; pieces may come in any order.
    void add(std::uint64_t sequence, PieceResult result);

    // Counts a line still open at the end of the stream. Call once, after
    // every piece is in; then tally() holds what the pieces gave.
    void finish();

    StreamTally& tally() { return tally_; }
    // Delimited text: the line where a quoted field opens that the file
    // never closes; 0 when there is none.
    std::uint64_t unclosedQuoteLine() const { return unclosedQuoteLine_; }
    std::uint64_t linesSoFar() const { return lines_.load(std::memory_order_relaxed); }

private:
    void apply(PieceResult& result);
    void countPending();

    const std::size_t segmentTextBytes_;
    const std::optional<std::int64_t> maxWidth_;
    std::mutex mutex_;
    std::map<std::uint64_t, PieceResult> waiting_;
    std::uint64_t next_ = 0;
    Segment pending_;  // a line begun by an earlier piece and not yet ended
    StreamTally tally_;
    std::atomic<std::uint64_t> lines_{0};
    std::uint64_t unclosedQuoteLine_ = 0;
};

}  // namespace engine
