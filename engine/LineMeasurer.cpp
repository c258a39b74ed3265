#include "LineMeasurer.h"

#include "LineScan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cstring>
#include <limits>
#include <memory>
#include <system_error>

namespace engine {

namespace {

using scan::BlockReader;

constexpr unsigned char utf8Bom[3] = {0xEF, 0xBB, 0xBF};

bool startsWithBom(const unsigned char* data, std::size_t size)
{
    return size >= 3 && data[0] == utf8Bom[0] && data[1] == utf8Bom[1] && data[2] == utf8Bom[2];
}

std::string systemMessage(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

// Calls the hook at the start of a pass and then at most every 30 ms: the
// clock is read once per block, never per line.
class ProgressPacer {
public:
    explicit ProgressPacer(const ProgressHook& hook) : hook_(hook) {}

    bool start(int pass, std::uint64_t bytesTotal)
    {
        progress_ = Progress{pass, 0, bytesTotal, 0};
        if (!hook_)
            return true;
        last_ = Clock::now();
        return hook_(progress_);
    }

    bool update(std::uint64_t bytesDone, std::uint64_t linesDone)
    {
        if (!hook_)
            return true;
        const auto now = Clock::now();
        if (now - last_ < interval)
            return true;
        last_ = now;
        progress_.bytesDone = bytesDone;
        progress_.linesDone = linesDone;
        return hook_(progress_);
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr auto interval = std::chrono::milliseconds(30);

    const ProgressHook& hook_;
    Progress progress_;
    Clock::time_point last_{};
};

struct Outcome {
    MeasureStatus status = MeasureStatus::Ok;
    int error = 0;  // for CannotRead
};

Outcome cannotRead(int error)
{
    return {MeasureStatus::CannotRead, error};
}

// Pass 1: the number of lines and the encoding.
struct LineCount {
    std::uint64_t lines = 0;
    Encoding encoding = Encoding::Utf8;
};

Outcome countLines(const std::string& path, unsigned char* buffer, ProgressPacer& pacer, LineCount& out)
{
    BlockReader reader(buffer);
    if (const int error = reader.open(path))
        return cannotRead(error);
    if (!pacer.start(1, reader.fileSize()))
        return {MeasureStatus::Cancelled};

    scan::TerminatorCounts counts;
    scan::Utf8Checker utf8;
    bool first = true;
    bool anyContent = false;
    unsigned char lastByte = 0;
    std::uint64_t done = 0;
    for (;;) {
        const std::ptrdiff_t got = reader.next(0);
        if (got < 0)
            return cannotRead(reader.error());
        if (got == 0)
            break;
        const unsigned char* data = reader.data();
        std::size_t size = static_cast<std::size_t>(got);
        if (first) {
            first = false;
            if (startsWithBom(data, size))
                data += 3, size -= 3;
        }
        const bool high = scan::countTerminators(data, size, counts);
        // A block without bytes >= 0x80 can only be wrong if it has to
        // finish a sequence begun in the last one.
        if ((high || !utf8.complete()) && !utf8.failed())
            utf8.feed(data, size);
        if (size > 0) {
            anyContent = true;
            lastByte = data[size - 1];
        }
        done += static_cast<std::uint64_t>(got);
        if (!pacer.update(done, counts.terminators()))
            return {MeasureStatus::Cancelled};
    }
    out.lines = counts.terminators() + (anyContent && lastByte != '\n' && lastByte != '\r' ? 1 : 0);
    out.encoding = utf8.complete() ? Encoding::Utf8 : Encoding::Windows1252;
    return {};
}

// The widths of characters outside the table, in front of CharWidths's own
// hash map: after the first time a character costs two array reads.
class OtherWidths {
public:
    explicit OtherWidths(CharWidths& widths) : widths_(widths)
    {
        unknownPage_.fill(unknown);
        pages_.fill(unknownPage_.data());
    }

    std::int64_t operator()(char32_t code)
    {
        const std::int64_t width = pages_[(code >> 8) & pageMask][code & 0xFF];
        return width != unknown ? width : resolve(code);
    }

private:
    // Covers every value a 4-byte sequence can carry, so a changed file
    // cannot index past the end.
    static constexpr std::size_t pageCount = 0x2000;
    static constexpr std::size_t pageMask = pageCount - 1;
    // Outside the range of a 32-bit width, so it never stands for one.
    static constexpr std::int64_t unknown = std::numeric_limits<std::int64_t>::min();
    using Page = std::array<std::int64_t, 256>;

    std::int64_t resolve(char32_t code)
    {
        const std::size_t page = (code >> 8) & pageMask;
        if (pages_[page] == unknownPage_.data()) {
            owned_.push_back(std::make_unique<Page>(unknownPage_));
            pages_[page] = owned_.back()->data();
        }
        return pages_[page][code & 0xFF] = widths_.other(code);
    }

    CharWidths& widths_;
    Page unknownPage_;  // shared by all pages with no character seen yet; never written
    std::array<std::int64_t*, pageCount> pages_;
    std::vector<std::unique_ptr<Page>> owned_;
};

// Pass 2: sums each line's character widths into a pre-sized array.
class LineWidthScanner {
public:
    enum class Step { Continue, TooManyLines, NotUtf8 };

    LineWidthScanner(CharWidths& widths, Encoding encoding, std::vector<std::int64_t>& lineWidths)
        : table_(widths.table()), others_(std::make_unique<OtherWidths>(widths)),
          windows1252_(encoding == Encoding::Windows1252), lines_(lineWidths.data()), capacity_(lineWidths.size())
    {
        // One load per byte decides: a width to add, or -1 for everything
        // else (terminators, controls, bytes >= 0x80). A negative width in
        // the font's table also lands on the slow path, which handles it.
        fast_.fill(-1);
        for (int code = firstTableCode; code <= lastTableCode; ++code)
            fast_[code] = table_[code - firstTableCode];
#if defined(__SSE2__)
        // Widths of byte pairs for 64-byte stretches of plain ASCII lines;
        // only when no sum of them can overflow.
        const bool small = std::all_of(table_.begin(), table_.end(), [](std::int32_t w) { return w >= 0 && w < (1 << 29); });
        if (small) {
            pairs_ = std::make_unique<std::int32_t[]>(65536);
            std::array<std::int32_t, 256> single{};  // terminators and the rest add nothing
            for (int code = firstTableCode; code <= lastTableCode; ++code)
                single[code] = table_[code - firstTableCode];
            for (unsigned first = 0; first < 256; ++first)
                for (unsigned second = 0; second < 256; ++second)
                    pairs_[first | second << 8] = single[first] + single[second];  // as loadLittle puts them
        }
#endif
    }

    // Measures [p, end). A UTF-8 sequence the end cuts short is left for the
    // next block: keep is set to its length.
    Step scan(const unsigned char* p, const unsigned char* const end, std::size_t& keep)
    {
        keep = 0;
        for (;;) {
#if defined(__SSE2__)
            if (pairs_) {
                while (end - p >= 68) {
                    const std::size_t taken = plainChunk(p);
                    if (taken == 0)
                        break;
                    p += taken;
                }
            }
#endif
            if (p == end)
                return Step::Continue;
            // Bytes the chunks cannot take, up to the next chunk; a
            // character may run a little past it.
            const Step step = scanBytes(p, end - p > 68 ? p + 64 : end, end, keep);
            if (step != Step::Continue || keep > 0 || p == end)
                return step;
        }
    }

    // Ends the last line when the file has no final terminator.
    bool finishLastLine() { return endLine(width_); }

    std::uint64_t lines() const { return count_; }

    void fill(LineMeasurement& out) const
    {
        out.LineCount = count_;
        out.TotalWidth = total_;
        out.MinWidth = count_ > 0 ? min_ : -1;
        out.MaxWidth = count_ > 0 ? max_ : -1;
    }

private:
    bool endLine(std::int64_t width)
    {
        if (count_ == capacity_)
            return false;
        lines_[count_++] = width;
        total_ += width;
        min_ = std::min(min_, width);
        max_ = std::max(max_, width);
        return true;
    }

#if defined(__SSE2__)
    // Eight bytes, the first in the low bits whatever the machine's order.
    static std::uint64_t loadLittle(const unsigned char* p)
    {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if constexpr (std::endian::native == std::endian::big)
            word = __builtin_bswap64(word);
        return word;
    }

    // The widths of the four byte pairs of a loadLittle word.
    std::int64_t pairWidths(std::uint64_t word) const
    {
        const std::int32_t* const pairs = pairs_.get();
        return (std::int64_t{pairs[word & 0xFFFF]} + pairs[(word >> 16) & 0xFFFF])
            + (std::int64_t{pairs[(word >> 32) & 0xFFFF]} + pairs[word >> 48]);
    }

    // Measures the 64 bytes at p unless one of them needs scanBytes (a
    // control character, DEL, or in Windows-1252 any byte >= 0x80). The
    // ASCII widths are summed a byte pair at a time into running totals with
    // no branch per byte; characters outside ASCII are added at their first
    // byte; each line's width is the difference of the totals at its ends.
    // Returns the bytes taken: 64, plus the rest of a character that
    // crosses the chunk's end (p + 67 < end), or 0 when left to scanBytes.
    std::size_t plainChunk(const unsigned char* p)
    {
        const __m128i lfs = _mm_set1_epi8('\n'), crs = _mm_set1_epi8('\r'), del = _mm_set1_epi8(0x7F);
        const __m128i offset = _mm_set1_epi8(0x60), controlFloor = _mm_set1_epi8(95);
        __m128i v[4];
        __m128i bad = _mm_setzero_si128(), anyCr = _mm_setzero_si128(), anyHigh = _mm_setzero_si128();
        std::uint64_t lf = 0;
        for (int k = 0; k < 4; ++k) {
            v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p) + k);
            const __m128i isLf = _mm_cmpeq_epi8(v[k], lfs), isCr = _mm_cmpeq_epi8(v[k], crs);
            // Adding 0x60 takes exactly the bytes 00..1F above 95 (signed).
            const __m128i control = _mm_cmpgt_epi8(_mm_add_epi8(v[k], offset), controlFloor);
            bad = _mm_or_si128(bad, _mm_andnot_si128(_mm_or_si128(isLf, isCr), control));
            bad = _mm_or_si128(bad, _mm_cmpeq_epi8(v[k], del));
            anyCr = _mm_or_si128(anyCr, isCr);
            anyHigh = _mm_or_si128(anyHigh, v[k]);
            lf |= static_cast<std::uint64_t>(_mm_movemask_epi8(isLf)) << (16 * k);
        }
        const bool high = _mm_movemask_epi8(anyHigh) != 0;
        if (_mm_movemask_epi8(bad) != 0 || (high && windows1252_))
            return 0;
        // Masks of CRs and of UTF-8 lead bytes (11xxxxxx) only when there are any.
        std::uint64_t cr = 0, lead = 0;
        if (_mm_movemask_epi8(anyCr) != 0)
            for (int k = 0; k < 4; ++k)
                cr |= static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v[k], crs))) << (16 * k);
        if (high)
            for (int k = 0; k < 4; ++k)
                lead |= static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_and_si128(v[k], _mm_add_epi8(v[k], v[k]))))
                    << (16 * k);

        // A line ends at each CR, and at each LF not right after a CR.
        const std::uint64_t ends = cr | (lf & ~((cr << 1) | (afterCR_ ? 1 : 0)));

        // totals[g]: the line's width so far plus the ASCII bytes before byte 8g.
        std::int64_t totals[9];
        std::int64_t running = width_;
        totals[0] = running;
        for (int g = 0; g < 8; ++g) {
            running += pairWidths(loadLittle(p + 8 * g));
            totals[g + 1] = running;
        }
        std::int64_t others = 0;  // characters outside ASCII so far
        std::int64_t lineStart = 0;
        std::size_t taken = 64;
        for (std::uint64_t events = ends | lead; events != 0; events &= events - 1) {
            const unsigned at = static_cast<unsigned>(std::countr_zero(events));
            if ((lead >> at) & 1) {
                unsigned length;
                others += (*others_)(decodeLead(p + at, length));
                taken = std::max<std::size_t>(taken, at + length);
                continue;
            }
            // The bytes of its group of 8 before the terminator; the ones
            // from it on become NULs, which are 0 wide here.
            const unsigned group = at / 8, before = at % 8;
            const std::uint64_t head = loadLittle(p + 8 * group) & ((std::uint64_t{1} << (8 * before)) - 1);
            const std::int64_t upTo = totals[group] + pairWidths(head) + others;
            if (!endLine(upTo - lineStart))
                return 0;  // scanBytes meets the same line end and reports it
            lineStart = upTo;
        }
        width_ = running + others - lineStart;
        afterCR_ = (cr >> 63) != 0;
        return taken;
    }

    // The code point of the sequence whose lead byte (>= 0xC0) is at p,
    // without branches; pass 1 found it valid. Reads 4 bytes.
    static char32_t decodeLead(const unsigned char* p, unsigned& length)
    {
        const std::uint32_t lead = p[0];
        length = 2 + (lead >= 0xE0) + (lead >= 0xF0);
        const std::uint32_t bytes = std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
        const std::uint32_t y = bytes >> (32 - 8 * length);  // the sequence, right-aligned
        const std::uint32_t bits = (y & 0x07000000) >> 6 | (y & 0x003F0000) >> 4 | (y & 0x00003F00) >> 2 | (y & 0x3F);
        // The mask drops the lead byte's marker bits that the compaction kept.
        return bits & ((1u << (5 * length + 1)) - 1);
    }
#endif

    // The byte at a time path, from p up to at least stop.
    Step scanBytes(const unsigned char*& p, const unsigned char* const stop, const unsigned char* const end,
                   std::size_t& keep)
    {
        if (afterCR_) {
            afterCR_ = false;
            if (*p == '\n')
                ++p;  // the second half of a CR LF split before here
        }
        const std::int32_t* const fast = fast_.data();
        std::int64_t width = width_;
        Step step = Step::Continue;
        while (p < stop) {
            // Eight bytes at a time while all of them are plain table characters.
            while (end - p >= 8) {
                const std::int64_t w0 = fast[p[0]], w1 = fast[p[1]], w2 = fast[p[2]], w3 = fast[p[3]];
                const std::int64_t w4 = fast[p[4]], w5 = fast[p[5]], w6 = fast[p[6]], w7 = fast[p[7]];
                if ((w0 | w1 | w2 | w3 | w4 | w5 | w6 | w7) < 0)
                    break;
                width += ((w0 + w1) + (w2 + w3)) + ((w4 + w5) + (w6 + w7));
                p += 8;
            }
            std::int64_t w;
            while (p < end && (w = fast[*p]) >= 0) {
                width += w;
                ++p;
            }
            if (p == end)
                break;

            const unsigned char byte = *p;
            if (byte == '\n' || byte == '\r') {
                if (!endLine(width)) {
                    step = Step::TooManyLines;
                    break;
                }
                width = 0;
                ++p;
                if (byte == '\r') {
                    if (p == end) {
                        afterCR_ = true;
                        break;
                    }
                    if (*p == '\n')
                        ++p;
                }
            } else if (byte < 0x80 || windows1252_) {
                width += slowByte(byte);
                ++p;
            } else {
                // A run of characters outside ASCII, as in most scripts' words.
                do {
                    const unsigned lead = *p;
                    const std::ptrdiff_t left = end - p;
                    char32_t code;
                    int length;
                    if (lead >= 0xC2 && lead < 0xE0 && left >= 2 && (p[1] & 0xC0) == 0x80) {
                        code = (lead & 0x1F) << 6 | (p[1] & 0x3F);
                        length = 2;
                    } else if (lead >= 0xE1 && lead < 0xF0 && lead != 0xED && left >= 3
                               && ((p[1] & 0xC0) | (p[2] & 0xC0) >> 2) == 0xA0) {
                        code = (lead & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F);
                        length = 3;
                    } else {
                        length = scan::decodeUtf8(p, end, code);
                        if (length <= 0) {
                            if (length == 0)
                                keep = static_cast<std::size_t>(left);
                            else
                                step = Step::NotUtf8;  // the file changed since pass 1 found it valid
                            width_ = width;
                            return step;
                        }
                    }
                    width += (*others_)(code);
                    p += length;
                } while (p < end && *p >= 0x80);
            }
        }
        width_ = width;
        return step;
    }

    // A single-byte character off the fast path: a control, DEL, a
    // Windows-1252 byte >= 0x80, or a table character of negative width.
    std::int64_t slowByte(unsigned char byte)
    {
        if (byte >= firstTableCode && byte <= lastTableCode)
            return table_[byte - firstTableCode];
        const std::int64_t width = (*others_)(windows1252_ ? scan::windows1252(byte) : char32_t{byte});
        if (width >= 0)
            fast_[byte] = static_cast<std::int32_t>(width);  // its next occurrences take the fast path
        return width;
    }

    const WidthTable& table_;
    std::unique_ptr<OtherWidths> others_;
    const bool windows1252_;
    std::array<std::int32_t, 256> fast_;
    std::unique_ptr<std::int32_t[]> pairs_;  // null: no chunk path

    std::int64_t* const lines_;
    const std::uint64_t capacity_;
    std::uint64_t count_ = 0;
    std::int64_t width_ = 0;  // of the line in progress
    bool afterCR_ = false;    // the last byte was a CR: an LF next is its partner
    std::int64_t total_ = 0;
    std::int64_t min_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t max_ = std::numeric_limits<std::int64_t>::min();
};

Outcome measureLines(const std::string& path, unsigned char* buffer, ProgressPacer& pacer, CharWidths& widths,
                     const LineCount& counted, LineMeasurement& out)
{
    BlockReader reader(buffer);
    if (const int error = reader.open(path))
        return cannotRead(error);
    if (!pacer.start(2, reader.fileSize()))
        return {MeasureStatus::Cancelled};

    out.LineWidths.assign(counted.lines, 0);  // sized once: no allocation per line
    LineWidthScanner scanner(widths, counted.encoding, out.LineWidths);
    bool first = true;
    bool anyContent = false;
    unsigned char lastByte = 0;
    std::size_t keep = 0;
    std::uint64_t done = 0;
    for (;;) {
        const std::size_t kept = keep;
        const std::ptrdiff_t got = reader.next(kept);
        if (got < 0)
            return cannotRead(reader.error());
        if (got == 0) {
            if (kept > 0)
                return {MeasureStatus::Changed};  // now ends inside a sequence pass 1 did not see
            break;
        }
        const unsigned char* fresh = reader.data() + kept;
        std::size_t freshSize = static_cast<std::size_t>(got);
        if (first) {
            first = false;
            if (startsWithBom(fresh, freshSize))
                fresh += 3, freshSize -= 3;
        }
        if (freshSize > 0) {
            anyContent = true;
            lastByte = fresh[freshSize - 1];
        }
        if (scanner.scan(fresh - kept, fresh + freshSize, keep) != LineWidthScanner::Step::Continue)
            return {MeasureStatus::Changed};
        done += static_cast<std::uint64_t>(got);
        if (!pacer.update(done, scanner.lines()))
            return {MeasureStatus::Cancelled};
    }
    if (anyContent && lastByte != '\n' && lastByte != '\r' && !scanner.finishLastLine())
        return {MeasureStatus::Changed};
    if (scanner.lines() != counted.lines)
        return {MeasureStatus::Changed};
    scanner.fill(out);
    out.encoding = counted.encoding;
    return {};
}

}  // namespace

MeasureResult measureFile(const std::string& path, CharWidths& widths, const ProgressHook& progress)
{
    // One buffer for both passes; every byte is read into before it is used.
    const std::unique_ptr<unsigned char[]> buffer(new unsigned char[scan::bufferSize]);
    ProgressPacer pacer(progress);

    LineCount counted;
    Outcome outcome = countLines(path, buffer.get(), pacer, counted);
    if (outcome.status == MeasureStatus::Ok && counted.lines == 0)
        outcome.status = MeasureStatus::Empty;

    MeasureResult result;
    result.data.encoding = counted.encoding;
    if (outcome.status == MeasureStatus::Ok)
        outcome = measureLines(path, buffer.get(), pacer, widths, counted, result.data);
    result.status = outcome.status;
    if (outcome.status == MeasureStatus::CannotRead)
        result.reason = systemMessage(outcome.error);
    if (outcome.status != MeasureStatus::Ok) {
        result.data = LineMeasurement{};
        result.data.encoding = counted.encoding;
    }
    return result;
}

}  // namespace engine
