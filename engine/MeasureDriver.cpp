// The one pass: threads take pieces of the stream in turn, measure them
// into tallies of their own, and the combiner puts the pieces in order.

#include "Measure.h"

#include "LaneTables.h"
#include "LineLoop.h"
#include "PieceCombiner.h"
#include "PieceSource.h"
#include "RecordLoop.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <chrono>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include <malloc.h>
#include <pthread.h>

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

// What one measuring thread owns: its loop, its buffer and its tally,
// made before any thread starts, so that memory for fewer threads than
// asked for means fewer threads rather than no measurement.
struct Worker {
    std::unique_ptr<LineLoop> lines;
    std::unique_ptr<RecordLoop> records;
    PieceBuffer buffer;
    StreamTally tally;
    CharSet characters;
};

// One measuring thread: takes pieces until there are none.
void measurePieces(PieceSource& source, PieceCombiner& combiner, Worker& worker, SharedState& shared,
                   bool characters)
{
    try {
        Piece piece;
        while (!shared.outOfMemory.load() && source.next(worker.buffer, piece)) {
            Encoding reading = piece.encoding;
            if (reading == Encoding::Utf8 && shared.brokeUtf8.load(std::memory_order_relaxed))
                reading = Encoding::Windows1252;
            PieceResult result;
            if (worker.records)
                worker.records->measure(piece.data, piece.size, piece.beginsWithHeader, source.layout(),
                                        RecordEdges{piece.entry, piece.endsInsideRecord}, reading, result,
                                        worker.tally);
            else
                worker.lines->measure(piece.data, piece.size, piece.beginsInsideLine, reading, result, worker.tally);
            result.reading = reading;
            if (characters)
                worker.characters.add(piece.data, piece.size, piece.encoding);
            if (result.brokeUtf8)
                shared.brokeUtf8.store(true, std::memory_order_relaxed);
            combiner.add(piece.sequence, std::move(result));
        }
    } catch (const std::bad_alloc&) {
        shared.outOfMemory.store(true);
    }
}

// A thread's first allocation gives it an arena of its own, which takes
// 64 MiB of address space however little it holds; under a limit on
// address space that leaves no room for the data. The measuring threads
// allocate only a little for each piece, so they share the one arena.
void shareAllocatorArenas()
{
    static std::once_flag once;
    std::call_once(once, [] { ::mallopt(M_ARENA_MAX, 1); });
}

// A measuring thread with a stack of its own size: the loops need little,
// and a default stack of 8 MiB a thread would spend the address space that
// a limit allows on stacks rather than on data. False when the thread
// cannot be made.
class MeasuringThread {
public:
    template <class F>
    bool start(F&& work)
    {
        work_ = std::forward<F>(work);
        pthread_attr_t attributes;
        if (::pthread_attr_init(&attributes) != 0)
            return false;
        ::pthread_attr_setstacksize(&attributes, std::size_t{1} << 20);
        started_ = ::pthread_create(&thread_, &attributes, &MeasuringThread::run, this) == 0;
        ::pthread_attr_destroy(&attributes);
        return started_;
    }
    void join()
    {
        if (started_)
            ::pthread_join(thread_, nullptr);
        started_ = false;
    }
    ~MeasuringThread() { join(); }

private:
    static void* run(void* self)
    {
        static_cast<MeasuringThread*>(self)->work_();
        return nullptr;
    }

    std::function<void()> work_;
    pthread_t thread_{};
    bool started_ = false;
};

std::string systemMessage(int error) { return std::error_code(error, std::generic_category()).message(); }

// Whether memory is left for the pieces and results of one more thread
// beside what is already made: the room a thread's work may take asked for
// and given back at once.
bool roomForAnotherThread()
{
    constexpr std::size_t headroom = std::size_t{16} << 20;
    return std::unique_ptr<char[]>(new (std::nothrow) char[headroom]) != nullptr;
}

// As many workers as memory allows, up to count; at least one, or none
// when not even one fits.
std::vector<Worker> makeWorkers(unsigned count, const MeasureRequest& request, std::size_t bufferBytes,
                                const std::vector<LaneGroup>& lanes)
{
    std::vector<Worker> workers;
    try {
        workers.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            if (i > 0 && !roomForAnotherThread())
                break;
            Worker worker;
            if (request.options.delimited)
                worker.records = std::make_unique<RecordLoop>(request.fonts, request.options.maxWidth);
            else
                worker.lines = std::make_unique<LineLoop>(request.fonts, request.options.maxWidth, &lanes);
            worker.buffer.reserve(bufferBytes);
            workers.push_back(std::move(worker));
        }
    } catch (const std::bad_alloc&) {
        if (workers.empty())
            throw;
    }
    return workers;
}

MeasureResult failed(Outcome outcome, std::string reason = {})
{
    MeasureResult result;
    result.outcome = outcome;
    result.reason = std::move(reason);
    return result;
}

}  // namespace

unsigned measuringThreads(unsigned requested)
{
    if (requested > 0)
        return std::min(requested, 256u);
    return std::clamp(std::thread::hardware_concurrency(), 1u, 64u);
}

MeasureResult measure(const MeasureRequest& request)
{
    MeasureResult result;
    try {
        InputStream in;
        if (const int error = in.open(request.source))
            return failed(Outcome::Unreadable, systemMessage(error));

        const MeasureOptions& options = request.options;
        shareAllocatorArenas();
        const DelimitedFormat* const format = options.delimited ? &*options.delimited : nullptr;
        const unsigned wanted = measuringThreads(options.threads);
        const std::vector<LaneGroup> lanes = format ? std::vector<LaneGroup>() : makeLaneGroups(request.fonts);
        std::vector<Worker> workers =
            makeWorkers(wanted, request, options.blockSize + (std::size_t{1} << 16), lanes);

        // Check mode's lines name their column, from the layout the first
        // record gives: it is known before any record is measured.
        const PieceSource* source = nullptr;
        std::optional<TooWideStream> stream;
        if (options.maxWidth && options.tooWide)
            stream.emplace(*options.maxWidth, [&source, &options, fonts = request.fonts.size()](const WideLine& line) {
                if (!options.delimited || !source)
                    return options.tooWide(line);
                WideLine named = line;
                named.column = source->layout().column(line.target / std::max<std::size_t>(fonts, 1));
                options.tooWide(named);
            });
        const std::size_t segmentBytes = options.maxWidth ? recordTextBytes : WidestLines::textBytes;
        PieceCombiner combiner(segmentBytes, options.maxWidth, request.fonts.size(), stream ? &*stream : nullptr,
                               format && format->allColumns && !format->header);
        ProgressPacer pacer(options.progress, in.size(), combiner);
        PieceSource pieces(in, options.blockSize, [&pacer](std::uint64_t bytes) { return pacer(bytes); }, format,
                           options.copyTo);
        source = &pieces;
        if (!pacer(0))
            return failed(Outcome::Cancelled);

        SharedState shared;
        std::vector<MeasuringThread> threads(workers.size() - 1);
        unsigned started = 1;
        for (; started < workers.size(); ++started) {
            Worker& worker = workers[started];
            if (!roomForAnotherThread() ||
                !threads[started - 1].start([&] { measurePieces(pieces, combiner, worker, shared, options.characters); }))
                break;  // fewer threads than asked for: the work is the same
        }
        result.threads = started;
        result.fewerThreads = result.threads < wanted;
        measurePieces(pieces, combiner, workers[0], shared, options.characters);
        for (MeasuringThread& thread : threads)
            thread.join();

        if (pieces.state() == PieceSource::State::Failed)
            return failed(Outcome::Unreadable, systemMessage(in.error()));
        if (pieces.state() == PieceSource::State::CopyFailed)
            return failed(Outcome::Unreadable, "cannot keep a copy to read again: " + systemMessage(pieces.copyError()));
        if (shared.outOfMemory.load())
            throw std::bad_alloc();
        result.layout = pieces.layout();
        if (pieces.state() == PieceSource::State::UnknownColumn) {
            result.outcome = Outcome::UnknownColumn;
            result.unknownColumn = pieces.unknownColumn();
            return result;
        }
        if (pieces.state() == PieceSource::State::RecordTooLong)
            return failed(Outcome::RecordTooLong);
        if (pieces.state() == PieceSource::State::GaveUp || pacer.stopped())
            return failed(Outcome::Cancelled);
        if (in.changed(pieces.bytesRead()))
            return failed(Outcome::Changed);

        combiner.finish();
        if (combiner.unclosedQuoteLine() != 0) {
            result.outcome = Outcome::UnclosedQuote;
            result.unclosedQuoteLine = combiner.unclosedQuoteLine();
            return result;
        }
        StreamTally& tally = combiner.tally();
        if (isUtf16(pieces.encoding()))
            tally.encoding = pieces.encoding();
        for (const Worker& worker : workers) {
            tally.mergeWidths(worker.tally);
            result.characters.merge(worker.characters);
        }
        if (result.layout.growing) {
            for (std::size_t column = 1; column <= combiner.columns(); ++column)
                result.layout.columns.push_back(column);
        } else if (format && !format->header) {
            // Without a header, a column is known only by the records: one
            // that no record reaches names nothing.
            for (const std::size_t column : result.layout.columns)
                if (column > tally.fieldCount && tally.lineCount > 0) {
                    result.outcome = Outcome::UnknownColumn;
                    result.unknownColumn = ColumnChoice::byNumber(column);
                    return result;
                }
        }
        if (tally.lineCount == 0)
            return failed(Outcome::EmptyFile);
        result.tally = std::move(tally);
    } catch (const std::bad_alloc&) {
        result = failed(Outcome::OutOfMemory);
    }
    return result;
}

MeasureResult measure(const DataSource& source, const FontWidths& widths, const MeasureOptions& options)
{
    return measure(MeasureRequest{source, {&widths}, options});
}

}  // namespace engine
