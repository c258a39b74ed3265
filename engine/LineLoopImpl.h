#pragma once
// The loop over lines: its state and its byte-at-a-time paths; the
// 64-byte path is in LineChunk.cpp. Only the loop's own files include this.
//
// Where a line ends, whether its bytes break UTF-8 and which characters it
// holds are found once; only the sums are made for each font.

#include "FontKernel.h"
#include "LaneTables.h"
#include "LineCounter.h"
#include "LineLoop.h"
#include "Utf8Check.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

class LineLoop::Impl {
public:
    Impl(const std::vector<const FontWidths*>& fonts, std::optional<std::int64_t> maxWidth,
         const std::vector<LaneGroup>* lanes)
        : segmentBytes_(maxWidth ? recordTextBytes : WidestLines::textBytes), counter_(maxWidth)
    {
        if (lanes)
            for (const LaneGroup& group : *lanes)
                laneSums_.push_back(LaneSums{&group, {}, {}, 0, 0, 0});
        kernels_.reserve(fonts.size());
        for (const FontWidths* font : fonts) {
            kernels_.emplace_back(*font);
            chunkable_ = chunkable_ && font->pairTables().ascii != nullptr;
        }
        fonts_ = kernels_.size();
        lines_.resize(fonts.size());
        chunkFonts_.resize(fonts.size());
    }

    void measure(const unsigned char* data, std::size_t size, bool beginsInsideLine, Encoding& reading,
                 PieceResult& out, StreamTally& tally)
    {
        out_ = &out;
        counter_.start(out, tally, reading);
        counter_.reserve(fontCount());
        reading_ = reading;
        inHead_ = beginsInsideLine;
        pieceStart_ = data;
        begin_ = data;
        resetLine();
        afterCR_ = false;
        const unsigned char* const end = data + size;
        if (isUtf16(reading_))
            scan16(data, end, reading_ == Encoding::Utf16BE);
        else
            scan8(data, end);
        finishPiece(end);
        reading = reading_;
        out_ = nullptr;
    }

private:
    // ------------------------------------------------------------ lines

    std::size_t fontCount() const { return fonts_; }

    // Single: one font, known when the loop is compiled.
    template <bool Single = false>
    void resetLine()
    {
        LineWidth* const lines = lines_.data();
        for (std::size_t f = 0; f < (Single ? 1 : fontCount()); ++f)
            lines[f].clear();
        recount_ = false;
    }

    LineValue value(std::size_t font) const
    {
        const LineWidth& line = lines_[font];
        if (recount_)  // UTF-8 broke in this line: it is Windows-1252 from its start
            return line.valueAsWindows1252();
        return line.value(line.high && reading_ == Encoding::Utf8);
    }

    Segment segment(bool ended, const unsigned char* textEnd) const
    {
        Segment s{true, ended, {}, counter_.text({begin_, textEnd, false}, segmentBytes_)};
        for (std::size_t f = 0; f < fontCount(); ++f)
            s.values.push_back(value(f));
        return s;
    }

    // Ends the line whose text ends at textEnd; the next begins at next.
    template <bool Single = false>
    [[gnu::always_inline]] void endLine(const unsigned char* textEnd, const unsigned char* next)
    {
        if (inHead_) [[unlikely]] {
            inHead_ = false;
            out_->head = segment(true, textEnd);
        } else {
            const std::uint64_t line = ++out_->lines;
            for (std::size_t f = 0; f < (Single ? 1 : fontCount()); ++f)
                counter_.count(f, value(f), {begin_, textEnd, false}, line);
        }
        begin_ = next;
        resetLine<Single>();
    }

    void finishPiece(const unsigned char* end)
    {
        if (inHead_)
            out_->head = segment(false, end);
        else if (begin_ < end)
            out_->tail = segment(false, end);
        counter_.finish();
    }

    // The first byte that is not UTF-8: from here on the file is read as
    // Windows-1252, and so is the line it is in, from its start.
    void breakUtf8()
    {
        reading_ = Encoding::Windows1252;
        recount_ = true;
        out_->brokeUtf8 = true;
    }

    // ------------------------------------------------------------ 8-bit

    void scan8(const unsigned char* p, const unsigned char* const end)
    {
        for (;;) {
#if defined(__SSE2__)
            if (chunkable_) {
                while (end - p >= 68) {
                    const std::size_t taken = chunk(p);
                    if (taken == 0)
                        break;
                    p += taken;
                }
            }
#endif
            if (p == end)
                return;
            // Bytes the chunks cannot take, up to the next chunk; a
            // character may run a little past it.
            scanBytes(p, end - p > 68 ? p + 64 : end, end);
            if (p == end)
                return;
        }
    }

#if defined(__SSE2__)
    // Measures the 64 bytes at p when it can: see LineChunk.cpp.
    std::size_t chunk(const unsigned char* p);
    bool decodeChunk(const unsigned char* p, std::uint64_t lead, std::size_t& taken);
    template <bool High, bool Single>
    void chunkLines(const unsigned char* p, std::uint64_t ends, std::uint64_t lead, std::uint64_t highMask,
                    std::size_t taken);
    template <bool High>
    void chunkLanes(const unsigned char* p, std::uint64_t ends, std::uint64_t lead, std::uint64_t highMask,
                    std::size_t taken);

    void addToLine(LineWidth& line, std::int64_t ascii, std::int64_t decoded, std::int64_t extra,
                   std::uint64_t highBytes) const
    {
        if (reading_ == Encoding::Utf8) {
            line.common += ascii;
            line.utf8 += decoded;
            line.windows1252 += extra;
            line.high = line.high || highBytes != 0;
        } else {
            line.common += ascii + extra;
        }
    }
#endif

    // The byte at a time path, from p up to at least stop: runs of
    // characters up to a line end are summed by each font's kernel.
    void scanBytes(const unsigned char*& p, const unsigned char* const stop, const unsigned char* const end)
    {
        if (afterCR_) {
            afterCR_ = false;
            if (p < end && *p == '\n')
                begin_ = ++p;  // the second half of a CR LF the chunks split
        }
        while (p < stop) {
            const unsigned char* run = lineEnd(p, stop, end);
            const bool open = reading_ == Encoding::Utf8;
            for (std::size_t f = 0; f < fontCount(); ++f) {
                const unsigned char* const broke = kernels_[f].span8(p, run, open, lines_[f]);
                if (broke != run) {
                    // The same byte breaks UTF-8 for every font: the rest of
                    // the run, and of the file, is Windows-1252.
                    if (f == 0)
                        breakUtf8();
                    kernels_[f].span8(broke, run, false, lines_[f]);
                }
            }
            p = run;
            if (p < end && (*p == '\n' || *p == '\r')) {
                const unsigned char* const textEnd = p++;
                if (*textEnd == '\r' && p < end && *p == '\n')
                    ++p;
                endLine(textEnd, p);
            }
        }
    }

    // The next line end in [p, end), looked for up to stop; past stop
    // only to finish the character that crosses it.
    const unsigned char* lineEnd(const unsigned char* p, const unsigned char* stop, const unsigned char* end) const
    {
        while (p < stop && *p != '\n' && *p != '\r')
            ++p;
        if (p == stop && reading_ == Encoding::Utf8)
            while (p < end && (*p & 0xC0) == 0x80)
                ++p;
        return p;
    }

    // ------------------------------------------------------------ UTF-16

    void scan16(const unsigned char* p, const unsigned char* const end, bool bigEndian)
    {
        while (p < end) {
            const unsigned char* run = p;
            while (end - run >= 2) {
                const std::uint16_t unit = utf16Unit(run, bigEndian);
                if (unit == '\n' || unit == '\r')
                    break;
                run += 2;
            }
            if (end - run < 2)
                run = end;  // half a code unit at the very end of the file belongs to the run
            for (std::size_t f = 0; f < fontCount(); ++f)
                kernels_[f].span16(p, run, bigEndian, lines_[f]);
            p = run;
            if (p == end)
                break;
            const unsigned char* const textEnd = p;
            const std::uint16_t unit = utf16Unit(p, bigEndian);
            p += 2;
            if (unit == '\r' && end - p >= 2 && utf16Unit(p, bigEndian) == '\n')
                p += 2;
            endLine(textEnd, p);
        }
    }

    std::vector<FontKernel> kernels_;
    std::size_t fonts_ = 0;
    bool chunkable_ = true;  // every font has pair tables
#if defined(__SSE2__)
    const utf8check::Check utf8Check_ = utf8check::best();
#endif
    const std::size_t segmentBytes_;
    LineCounter counter_;

    // The 64-byte path's sums for each font: see chunkLines.
    struct ChunkSums {
        std::uint64_t sums[9];
        std::int64_t decoded[33];
        std::int64_t pastEnd;
        std::uint64_t start;
        std::int64_t startDecoded;
    };
    std::vector<ChunkSums> chunkFonts_;
    // The same, four fonts in each of the lanes' running sums.
    struct LaneSums {
        const LaneGroup* group;
        std::uint64_t ascii[9];
        std::uint64_t high[9];
        std::uint64_t pastEnd;
        std::uint64_t startAscii;
        std::uint64_t startHigh;
        // The chunk's characters outside ASCII, summed in the lanes unless
        // one is unpackable (eachFont): then in chunkFonts_, font by font.
        std::uint64_t decoded[33] = {};
        std::uint64_t startDecoded = 0;
        bool eachFont = false;
        LaneCharacters characters{};
    };
    std::vector<LaneSums> laneSums_;  // empty: each font on its own
    char32_t codes_[32];  // the characters outside ASCII of a chunk
    unsigned leads_ = 0;

    // The piece in progress.
    PieceResult* out_ = nullptr;
    Encoding reading_ = Encoding::Utf8;
    const unsigned char* pieceStart_ = nullptr;
    bool inHead_ = false;                  // still in the line begun before the piece
    const unsigned char* begin_ = nullptr; // where the current line's text begins
    std::vector<LineWidth> lines_;         // the current line so far, for each font
    bool recount_ = false;                 // UTF-8 broke in this line
    bool afterCR_ = false;                 // the chunks ended on a CR
};

}  // namespace engine
