// The one pass: threads take pieces of the stream in turn, measure them
// into tallies of their own, and the combiner puts the pieces in order.

#include "Measure.h"

#include "LineLoop.h"
#include "PieceCombiner.h"
#include "PieceSource.h"
#include "RecordLoop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace engine {

namespace {

// Calls the hook at the start and then at most every 30 ms.
class ProgressPacer {
public:
    ProgressPacer(const ProgressHook& hook, std::uint64_t bytesTotal, const PieceCombiner& combiner)
        : hook_(hook), bytesTotal_(bytesTotal), combiner_(combiner)
    {
    }

    // From the thread that holds the reader; never two at once.
    bool operator()(std::uint64_t bytesDone)
    {
        if (!hook_ || stopped_)
            return !stopped_;
        const auto now = Clock::now();
        if (started_ && now - last_ < interval)
            return true;
        started_ = true;
        last_ = now;
        if (!hook_(Progress{bytesDone, bytesTotal_, combiner_.linesSoFar()}))
            stopped_ = true;
        return !stopped_;
    }

    bool stopped() const { return stopped_; }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr auto interval = std::chrono::milliseconds(30);

    const ProgressHook& hook_;
    const std::uint64_t bytesTotal_;
    const PieceCombiner& combiner_;
    bool started_ = false;
    bool stopped_ = false;
    Clock::time_point last_{};
};

struct SharedState {
    std::atomic<bool> brokeUtf8{false};   // some piece found a byte that is not UTF-8
    std::atomic<bool> outOfMemory{false};
};

// A thread's loop: plain lines or the records of delimited text.
struct Loops {
    std::unique_ptr<LineLoop> lines;
    std::unique_ptr<RecordLoop> records;
};

// One measuring thread: takes pieces until there are none.
void measurePieces(PieceSource& source, PieceCombiner& combiner, Loops& loops, SharedState& shared,
                   StreamTally& tally)
{
    try {
        std::vector<unsigned char> buffer;
        Piece piece;
        while (!shared.outOfMemory.load() && source.next(buffer, piece)) {
            ReadMode mode = source.mode();
            if (mode == ReadMode::Open && shared.brokeUtf8.load(std::memory_order_relaxed))
                mode = ReadMode::Windows1252;
            PieceResult result;
            if (loops.records)
                loops.records->measure(piece.data, piece.size, piece.beginsWithHeader, source.layout(), mode, result,
                                       tally);
            else
                loops.lines->measure(piece.data, piece.size, piece.beginsInsideLine, mode, result, tally);
            if (result.brokeUtf8)
                shared.brokeUtf8.store(true, std::memory_order_relaxed);
            combiner.add(piece.sequence, std::move(result));
        }
    } catch (const std::bad_alloc&) {
        shared.outOfMemory.store(true);
    }
}

std::string systemMessage(int error) { return std::error_code(error, std::generic_category()).message(); }

}  // namespace

unsigned measuringThreads(unsigned requested)
{
    if (requested > 0)
        return std::min(requested, 256u);
    return std::clamp(std::thread::hardware_concurrency(), 1u, 64u);
}

MeasureResult measure(const DataSource& source, const FontWidths& widths, const MeasureOptions& options)
{
    MeasureResult result;
    try {
        InputStream in;
        if (const int error = in.open(source)) {
            result.status = MeasureStatus::CannotRead;
            result.reason = systemMessage(error);
            return result;
        }

        const unsigned threadCount = measuringThreads(options.threads);
        const DelimitedFormat* const format = options.delimited ? &*options.delimited : nullptr;
        std::vector<Loops> loops(threadCount);
        for (Loops& loop : loops) {
            if (format)
                loop.records = std::make_unique<RecordLoop>(widths, options.maxWidth);
            else
                loop.lines = std::make_unique<LineLoop>(widths, options.maxWidth);
        }
        const std::size_t segmentBytes = options.maxWidth ? recordTextBytes : WidestLines::textBytes;
        PieceCombiner combiner(segmentBytes, options.maxWidth);
        ProgressPacer pacer(options.progress, in.size(), combiner);
        PieceSource pieces(in, options.blockSize, [&pacer](std::uint64_t bytes) { return pacer(bytes); }, format);
        if (!pacer(0)) {
            result.status = MeasureStatus::Cancelled;
            return result;
        }

        SharedState shared;
        std::vector<StreamTally> tallies(threadCount);
        std::vector<std::thread> threads;
        for (unsigned i = 1; i < threadCount; ++i) {
            try {
                threads.emplace_back(measurePieces, std::ref(pieces), std::ref(combiner), std::ref(loops[i]),
                                     std::ref(shared), std::ref(tallies[i]));
            } catch (const std::system_error&) {
                break;  // fewer threads than asked for: the work is the same
            }
        }
        measurePieces(pieces, combiner, loops[0], shared, tallies[0]);
        for (std::thread& thread : threads)
            thread.join();

        if (pieces.state() == PieceSource::State::Failed) {
            result.status = MeasureStatus::CannotRead;
            result.reason = systemMessage(in.error());
            return result;
        }
        if (shared.outOfMemory.load())
            throw std::bad_alloc();
        result.layout = pieces.layout();
        if (pieces.state() == PieceSource::State::UnknownColumn) {
            result.status = MeasureStatus::UnknownColumn;
            return result;
        }
        if (pieces.state() == PieceSource::State::RecordTooLong) {
            result.status = MeasureStatus::RecordTooLong;
            return result;
        }
        if (pieces.state() == PieceSource::State::GaveUp || pacer.stopped()) {
            result.status = MeasureStatus::Cancelled;
            return result;
        }
        if (in.changed(pieces.bytesRead())) {
            result.status = MeasureStatus::Changed;
            return result;
        }

        combiner.finish();
        if (combiner.unclosedQuoteLine() != 0) {
            result.status = MeasureStatus::UnclosedQuote;
            result.unclosedQuoteLine = combiner.unclosedQuoteLine();
            return result;
        }
        StreamTally& tally = combiner.tally();
        switch (pieces.mode()) {
        case ReadMode::Utf16LE: tally.kind = StreamTally::Kind::Utf16LE; break;
        case ReadMode::Utf16BE: tally.kind = StreamTally::Kind::Utf16BE; break;
        default: tally.kind = StreamTally::Kind::EightBit; break;
        }
        for (const StreamTally& own : tallies) {
            tally.common.widths.merge(own.common.widths);
            tally.utf8.widths.merge(own.utf8.widths);
            tally.windows1252.widths.merge(own.windows1252.widths);
        }
        if (tally.lineCount == 0) {
            result.status = MeasureStatus::Empty;
            return result;
        }
        result.tally = std::move(tally);
    } catch (const std::bad_alloc&) {
        result = MeasureResult{};
        result.status = MeasureStatus::OutOfMemory;
    }
    return result;
}

}  // namespace engine
