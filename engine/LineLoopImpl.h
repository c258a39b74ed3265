#pragma once
// The measuring loop's state and its byte-at-a-time paths; the 64-byte
// path is in LineChunk.cpp. Only the loop's own files include this.

#include "LineCounter.h"
#include "LineLoop.h"
#include "TextEncoding.h"
#include "Utf8Check.h"
#include "Utf8.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace engine {

class LineLoop::Impl {
public:
    Impl(const FontWidths& font, std::optional<std::int64_t> maxWidth)
        : widths_(font), asciiPairs_(font.pairTables().ascii.get()), pairTables_(&font.pairTables()),
          segmentBytes_(maxWidth ? recordTextBytes : WidestLines::textBytes), counter_(maxWidth)
    {
        const WidthTable& table = font.table();
        // One load per byte decides: a width to add, or -1 for the rest
        // (terminators, controls, bytes >= 0x80, negative widths).
        open_.fill(-1);
        for (int code = firstTableCode; code <= lastTableCode; ++code)
            if (table[code - firstTableCode] >= 0)
                open_[code] = table[code - firstTableCode];
        for (unsigned byte = 0; byte < 256; ++byte) {
            single1252_[byte] = widths_(windows1252(static_cast<unsigned char>(byte)));
            const bool plain = byte != '\n' && byte != '\r' && single1252_[byte] >= 0 && single1252_[byte] <= INT32_MAX;
            fixed1252_[byte] = plain ? static_cast<std::int32_t>(single1252_[byte]) : -1;
        }
    }

    void measure(const unsigned char* data, std::size_t size, bool beginsInsideLine, ReadMode& mode,
                 PieceResult& out, StreamTally& tally)
    {
        out_ = &out;
        counter_.start(out, tally);
        mode_ = mode;
        inHead_ = beginsInsideLine;
        pieceStart_ = data;
        begin_ = data;
        resetLine();
        afterCR_ = false;
        const unsigned char* const end = data + size;
        if (mode_ == ReadMode::Utf16LE || mode_ == ReadMode::Utf16BE)
            scan16(data, end, mode_ == ReadMode::Utf16BE);
        else
            scan8(data, end);
        finishPiece(end);
        mode = mode_;
        out_ = nullptr;
    }

private:
    // ------------------------------------------------------------ lines

    void resetLine()
    {
        width_ = 0;
        utf8Extra_ = 0;
        extra1252_ = 0;
        high_ = false;
        recount_ = false;
    }

    LineValue value() const
    {
        if (recount_)  // UTF-8 broke in this line: it is Windows-1252 from its start
            return LineValue{width_ + extra1252_, width_ + extra1252_, false};
        if (high_ && mode_ == ReadMode::Open)
            return LineValue{width_ + utf8Extra_, width_ + extra1252_, true};
        return LineValue{width_, width_, false};
    }

    // Ends the line whose text ends at textEnd; the next begins at next.
    void endLine(const unsigned char* textEnd, const unsigned char* next)
    {
        const LineValue v = value();
        if (inHead_) {
            inHead_ = false;
            out_->head = Segment{true, true, v, LineCounter::text(begin_, textEnd, false, segmentBytes_)};
        } else {
            counter_.count(v, begin_, textEnd);
        }
        begin_ = next;
        resetLine();
    }

    void finishPiece(const unsigned char* end)
    {
        if (inHead_)
            out_->head = Segment{true, false, value(), LineCounter::text(begin_, end, false, segmentBytes_)};
        else if (begin_ < end)
            out_->tail = Segment{true, false, value(), LineCounter::text(begin_, end, false, segmentBytes_)};
        counter_.finish();
    }

    // The first byte that is not UTF-8: from here on the file is read as
    // Windows-1252, and so is the line it is in, from its start.
    void breakUtf8()
    {
        mode_ = ReadMode::Windows1252;
        recount_ = true;
        out_->brokeUtf8 = true;
    }

    // ------------------------------------------------------------ 8-bit
    //
    // A line's width is kept in three parts while the reading is open:
    // width_ for ASCII (the same in both readings), utf8Extra_ for the
    // characters outside ASCII read as UTF-8, extra1252_ for the bytes
    // >= 0x80 read as Windows-1252. Once the file is known to be
    // Windows-1252, every byte goes to width_.

    void scan8(const unsigned char* p, const unsigned char* const end)
    {
        for (;;) {
#if defined(__SSE2__)
            if (asciiPairs_) {
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
    bool decodeChunk(const unsigned char* p, std::uint64_t lead, std::int64_t* decoded, std::size_t& taken);
    template <bool High>
    void chunkLines(const unsigned char* p, std::uint64_t ends, std::uint64_t lead, std::uint64_t highMask,
                    const std::int64_t* decoded, std::size_t taken);

    void addToLine(std::int64_t ascii, std::int64_t decoded, std::int64_t extra, std::uint64_t highBytes)
    {
        if (mode_ == ReadMode::Open) {
            width_ += ascii;
            utf8Extra_ += decoded;
            extra1252_ += extra;
            high_ = high_ || highBytes != 0;
        } else {
            width_ += ascii + extra;
        }
    }
#endif

    // The byte at a time path, from p up to at least stop.
    void scanBytes(const unsigned char*& p, const unsigned char* const stop, const unsigned char* const end)
    {
        if (afterCR_) {
            afterCR_ = false;
            if (p < end && *p == '\n')
                begin_ = ++p;  // the second half of a CR LF the chunks split
        }
        std::int64_t width = width_;
        while (p < stop) {
            const std::int32_t* const fast = mode_ == ReadMode::Open ? open_.data() : fixed1252_.data();
            // Eight bytes at a time while all of them are plain characters.
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
                const unsigned char* const textEnd = p++;
                if (byte == '\r' && p < end && *p == '\n')
                    ++p;
                width_ = width;
                endLine(textEnd, p);
                width = 0;
            } else if (byte < 0x80) {
                width += controlWidth(byte);
                ++p;
            } else if (mode_ != ReadMode::Open) {
                width += single1252_[byte];  // a negative width: off the fast path
                ++p;
            } else {
                high_ = true;
                utf8Run(p, end);
            }
        }
        width_ = width;
    }

    // A control character or DEL: the same code in both readings.
    std::int64_t controlWidth(unsigned char byte)
    {
        const std::int64_t width = widths_(byte);
        if (width >= 0 && width <= INT32_MAX)
            open_[byte] = static_cast<std::int32_t>(width);  // its next occurrences take the fast path
        return width;
    }

    // A run of characters outside ASCII, as in most scripts' words, read
    // both ways. Stops at the first byte that breaks UTF-8.
    void utf8Run(const unsigned char*& p, const unsigned char* const end)
    {
        do {
            const unsigned lead = *p;
            const std::ptrdiff_t left = end - p;
            char32_t code;
            int length;
            // The two commonest forms inline; both are fully checked here.
            if (lead >= 0xC2 && lead < 0xE0 && left >= 2 && (p[1] & 0xC0) == 0x80) {
                code = (lead & 0x1F) << 6 | (p[1] & 0x3F);
                length = 2;
            } else if (lead >= 0xE1 && lead < 0xF0 && lead != 0xED && left >= 3
                       && ((p[1] & 0xC0) | (p[2] & 0xC0) >> 2) == 0xA0) {
                code = (lead & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F);
                length = 3;
            } else {
                length = fontview::decodeUtf8Sequence(p, end, code);
                if (length <= 0) {
                    // Not UTF-8, or cut short by the end of the data, which
                    // only ever comes at the end of the file.
                    breakUtf8();
                    return;
                }
            }
            utf8Extra_ += widths_(code);
            for (int i = 0; i < length; ++i)
                extra1252_ += single1252_[p[i]];
            p += length;
        } while (p < end && *p >= 0x80);
    }

    // ------------------------------------------------------------ UTF-16

    void scan16(const unsigned char* p, const unsigned char* const end, bool bigEndian)
    {
        const WidthTable& table = widths_.table();
        std::int64_t width = 0;
        while (end - p >= 2) {
            const std::uint16_t unit = utf16Unit(p, bigEndian);
            if (unit == '\n' || unit == '\r') {
                const unsigned char* const textEnd = p;
                p += 2;
                if (unit == '\r' && end - p >= 2 && utf16Unit(p, bigEndian) == '\n')
                    p += 2;
                width_ = width;
                endLine(textEnd, p);
                width = 0;
                continue;
            }
            p += 2;
            if (unit >= firstTableCode && unit <= lastTableCode) {
                width += table[unit - firstTableCode];
            } else if (unit >= 0xD800 && unit <= 0xDBFF && end - p >= 2) {
                const std::uint16_t low = utf16Unit(p, bigEndian);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    width += widths_(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
                    p += 2;
                } else {
                    width += widths_(unit);  // unpaired: the font has no glyph for it
                }
            } else {
                width += widths_(unit);
            }
        }
        if (p < end) {
            // Half a code unit at the very end of the file: no character, so
            // the font's missing glyph, as for an unpaired surrogate.
            width += widths_(0xDC00);
            p = end;
        }
        width_ = width;
    }

    ThreadWidths widths_;
    const std::int32_t* const asciiPairs_;  // null: no chunk path
    const PairTables* const pairTables_;
#if defined(__SSE2__)
    const utf8check::Check utf8Check_ = utf8check::best();
#endif
    const std::size_t segmentBytes_;
    std::array<std::int32_t, 256> open_;       // fast widths while the reading is open
    std::array<std::int32_t, 256> fixed1252_;  // fast widths once it is Windows-1252
    std::array<std::int64_t, 256> single1252_; // every byte's Windows-1252 width
    LineCounter counter_;

    // The piece in progress.
    PieceResult* out_ = nullptr;
    ReadMode mode_ = ReadMode::Open;
    const unsigned char* pieceStart_ = nullptr;
    bool inHead_ = false;                  // still in the line begun before the piece
    const unsigned char* begin_ = nullptr; // where the current line's text begins
    std::int64_t width_ = 0;               // the current line so far: see scan8
    std::int64_t utf8Extra_ = 0;
    std::int64_t extra1252_ = 0;
    bool high_ = false;                    // the current line has bytes >= 0x80
    bool recount_ = false;                 // UTF-8 broke in this line
    bool afterCR_ = false;                 // the chunks ended on a CR
};

}  // namespace engine
