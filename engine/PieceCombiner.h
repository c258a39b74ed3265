#pragma once
// Puts the pieces' results back in stream order: numbers their lines, joins
// the lines cut by a piece's edge and keeps the widest lines and the lines
// check mode reports, target by target. The distributions of whole lines
// go straight into each thread's own tally and are only added up at the
// end.

#include "PieceResult.h"
#include "StreamTally.h"
#include "TooWideStream.h"

#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>

namespace engine {

class PieceCombiner {
public:
    // fonts: the targets of a column (or of the lines) in a row. stream:
    // where check mode's lines go as soon as they can; without one they
    // stay in the tally. growing: every column, as far as records go.
    PieceCombiner(std::size_t segmentTextBytes, std::optional<std::int64_t> maxWidth, std::size_t fonts,
                  TooWideStream* stream = nullptr, bool growing = false)
        : segmentTextBytes_(segmentTextBytes), maxWidth_(maxWidth), fonts_(fonts), stream_(stream), growing_(growing)
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
    // Every column: how many the records have had.
    std::size_t columns() const { return columns_; }

private:
    void apply(PieceResult& result);
    void countPending();
    void countValue(std::size_t t, std::uint64_t line, std::uint64_t startLine, const LineValue& value,
                    std::string_view text);
    void joinRecord(RecordPart& part, std::uint64_t linesBefore);
    void countRecord();
    void readingKnown(Encoding encoding);
    void fillColumns(const PieceResult& result);
    void fillEmpty(std::size_t column, std::uint64_t count, const std::vector<RecordNumbers>& first,
                   std::uint64_t lineOffset, std::uint64_t startLineOffset);

    const std::size_t segmentTextBytes_;
    const std::optional<std::int64_t> maxWidth_;
    const std::size_t fonts_;
    TooWideStream* const stream_;
    const bool growing_;
    std::mutex mutex_;
    std::map<std::uint64_t, PieceResult> waiting_;
    std::uint64_t next_ = 0;
    Segment pending_;  // a line begun by an earlier piece and not yet ended
    // Delimited text: a record begun by an earlier piece and not yet ended,
    // with the line it starts on and the line of a quote open at its end.
    RecordPart pendingRecord_;
    std::uint64_t pendingQuoteLine_ = 0;
    StreamTally tally_;
    std::atomic<std::uint64_t> lines_{0};
    std::uint64_t unclosedQuoteLine_ = 0;
    std::size_t columns_ = 0;
    std::vector<RecordNumbers> firstRecords_;  // of the stream, for a column a later record adds
};

}  // namespace engine
