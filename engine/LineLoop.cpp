#include "LineLoop.h"

#include "LineCounter.h"

#include "TextEncoding.h"
#include "Utf8.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstring>

namespace engine {

namespace {

std::string textOf(const unsigned char* begin, const unsigned char* end, std::size_t maxBytes)
{
    return LineCounter::text(begin, end, false, maxBytes);
}

}  // namespace

class LineLoop::Impl {
public:
    Impl(const FontWidths& font, std::optional<std::int64_t> maxWidth)
        : widths_(font), asciiPairs_(font.pairTables().ascii.get()), highPairs_(font.pairTables().high.get()),
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
            out_->head = Segment{true, true, v, textOf(begin_, textEnd, segmentBytes_)};
        } else {
            counter_.count(v, begin_, textEnd);
        }
        begin_ = next;
        resetLine();
    }

    void finishPiece(const unsigned char* end)
    {
        if (inHead_)
            out_->head = Segment{true, false, value(), textOf(begin_, end, segmentBytes_)};
        else if (begin_ < end)
            out_->tail = Segment{true, false, value(), textOf(begin_, end, segmentBytes_)};
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
    static std::int64_t pairWidths(const std::int32_t* pairs, std::uint64_t word)
    {
        return (std::int64_t{pairs[word & 0xFFFF]} + pairs[(word >> 16) & 0xFFFF])
            + (std::int64_t{pairs[(word >> 32) & 0xFFFF]} + pairs[word >> 48]);
    }

    static std::uint64_t mask64(const __m128i* v, __m128i (*test)(__m128i))
    {
        std::uint64_t mask = 0;
        for (int k = 0; k < 4; ++k)
            mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(test(v[k])))) << (16 * k);
        return mask;
    }

    // v's bytes moved n places later, the first n from the end of before.
    template <int n>
    static __m128i shiftIn(__m128i v, __m128i before)
    {
        return _mm_or_si128(_mm_slli_si128(v, n), _mm_srli_si128(before, 16 - n));
    }

    // Unsigned v >= floor, as a mask.
    static __m128i atLeast(__m128i v, int floor)
    {
        return _mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(static_cast<char>(floor))), v);
    }

    // Whether the bytes of v, with before the 16 bytes ahead of them, are
    // UTF-8 as far as they go; a sequence v cuts short is checked later.
    static bool utf8Vector(__m128i v, __m128i before)
    {
        const __m128i prev1 = shiftIn<1>(v, before), prev2 = shiftIn<2>(v, before), prev3 = shiftIn<3>(v, before);
        // A continuation byte exactly where a lead byte calls for one.
        const __m128i wanted = _mm_or_si128(_mm_or_si128(atLeast(prev1, 0xC0), atLeast(prev2, 0xE0)), atLeast(prev3, 0xF0));
        const __m128i continuation = _mm_cmpgt_epi8(_mm_set1_epi8(-64), v);  // 80..BF, signed
        __m128i errors = _mm_xor_si128(wanted, continuation);
        // Lead bytes that are never valid: C0, C1 (overlong) and F5..FF.
        errors = _mm_or_si128(errors, _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(-2)), _mm_set1_epi8(static_cast<char>(0xC0))));
        errors = _mm_or_si128(errors, _mm_subs_epu8(v, _mm_set1_epi8(static_cast<char>(0xF4))));
        // The second byte's narrower range after E0, F0 (overlong forms),
        // ED (surrogates) and F4 (past U+10FFFF): below a floor or above a
        // ceiling leaves a nonzero saturated difference.
        const auto is = [&prev1](int lead) { return _mm_cmpeq_epi8(prev1, _mm_set1_epi8(static_cast<char>(lead))); };
        const __m128i floor = _mm_or_si128(_mm_and_si128(is(0xE0), _mm_set1_epi8(static_cast<char>(0xA0))),
                                           _mm_and_si128(is(0xF0), _mm_set1_epi8(static_cast<char>(0x90))));
        const __m128i ceiling = _mm_xor_si128(_mm_or_si128(_mm_and_si128(is(0xED), _mm_set1_epi8(0x60)),
                                                           _mm_and_si128(is(0xF4), _mm_set1_epi8(0x70))),
                                              _mm_set1_epi8(-1));
        errors = _mm_or_si128(errors, _mm_subs_epu8(floor, v));
        errors = _mm_or_si128(errors, _mm_subs_epu8(v, ceiling));
        return _mm_movemask_epi8(_mm_cmpeq_epi8(errors, _mm_setzero_si128())) == 0xFFFF;
    }

    // Measures the 64 bytes at p, which begin between characters, unless one
    // of them needs scanBytes: a control character or DEL, or, while the
    // reading is open, a byte that breaks UTF-8. Widths are summed a byte
    // pair at a time into running totals with no branch per byte; each
    // line's width is the difference of the totals at its ends. Returns
    // the bytes taken: 64, plus the rest of a character that crosses the
    // chunk's end, or 0 to leave them all to scanBytes.
    std::size_t chunk(const unsigned char* p)
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
            lf |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(isLf))) << (16 * k);
        }
        if (_mm_movemask_epi8(bad) != 0)
            return 0;
        const bool high = _mm_movemask_epi8(anyHigh) != 0;
        const bool open = mode_ == ReadMode::Open;
        std::uint64_t highMask = 0, lead = 0;
        std::size_t taken = 64;
        if (high) {
            if (!highPairs_)
                return 0;
            highMask = mask64(v, [](__m128i x) { return x; });
            if (open) {
                __m128i before = _mm_setzero_si128();
                if (p - pieceStart_ >= 16)
                    before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16));
                for (int k = 0; k < 4; ++k) {
                    // ASCII with no sequence still open from before: nothing to check.
                    const bool plain = _mm_movemask_epi8(v[k]) == 0 && (_mm_movemask_epi8(before) & 0xE000) == 0;
                    if (!plain && !utf8Vector(v[k], before))
                        return 0;
                    before = v[k];
                }
                lead = mask64(v, [](__m128i x) { return _mm_and_si128(x, _mm_add_epi8(x, x)); });  // 11xxxxxx
                // A character that runs past the chunk is checked whole.
                if (lead >> 61) {
                    const unsigned at = 63 - static_cast<unsigned>(std::countl_zero(lead));
                    char32_t code;
                    const int length = fontview::decodeUtf8Sequence(p + at, p + at + 4, code);
                    if (length <= 0)
                        return 0;
                    taken = std::max<std::size_t>(taken, at + static_cast<std::size_t>(length));
                }
            }
        }
        std::uint64_t cr = 0;
        if (_mm_movemask_epi8(anyCr) != 0)
            cr = mask64(v, [](__m128i x) { return _mm_cmpeq_epi8(x, _mm_set1_epi8('\r')); });

        // A line ends at each CR, and at each LF not right after a CR.
        const std::uint64_t ends = cr | (lf & ~((cr << 1) | (afterCR_ ? 1 : 0)));

        // ascii[g], extra[g]: the widths of the bytes before byte 8g, of
        // ASCII and of bytes >= 0x80 read as Windows-1252.
        std::int64_t ascii[9], extra[9];
        ascii[0] = extra[0] = 0;
        for (int g = 0; g < 8; ++g) {
            const std::uint64_t word = loadLittle(p + 8 * g);
            ascii[g + 1] = ascii[g] + pairWidths(asciiPairs_, word);
            extra[g + 1] = extra[g] + (high ? pairWidths(highPairs_, word) : 0);
        }
        // Bytes of a character past the end of the chunk.
        for (std::size_t i = 64; i < taken; ++i)
            extra[8] += single1252_[p[i]];

        std::int64_t decoded = 0;  // characters outside ASCII read as UTF-8, so far
        std::int64_t startAscii = 0, startExtra = 0, startDecoded = 0;
        unsigned startAt = 0;
        for (std::uint64_t events = ends | lead; events != 0; events &= events - 1) {
            const unsigned at = static_cast<unsigned>(std::countr_zero(events));
            if ((lead >> at) & 1) {
                unsigned length;
                decoded += widths_(fontview::decodeCheckedUtf8Sequence(p + at, length));
                continue;
            }
            // The bytes of its group of 8 before the terminator; the ones
            // from it on become NULs, which are 0 wide here.
            const unsigned group = at / 8, before = at % 8;
            const std::uint64_t head = loadLittle(p + 8 * group) & ((std::uint64_t{1} << (8 * before)) - 1);
            const std::int64_t upAscii = ascii[group] + pairWidths(asciiPairs_, head);
            const std::int64_t upExtra = high ? extra[group] + pairWidths(highPairs_, head) : 0;
            addToLine(upAscii - startAscii, decoded - startDecoded, upExtra - startExtra,
                      (highMask >> startAt) & ((std::uint64_t{1} << (at - startAt)) - 1));
            // The chunk is followed by at least 4 bytes, so the byte after
            // a CR can be looked at.
            const bool pair = p[at] == '\r' && p[at + 1] == '\n';
            endLine(p + at, p + at + (pair ? 2 : 1));
            startAscii = upAscii, startExtra = upExtra, startDecoded = decoded;
            startAt = at + 1;
        }
        addToLine(ascii[8] - startAscii, decoded - startDecoded, extra[8] - startExtra,
                  startAt < 64 ? highMask >> startAt : 0);
        afterCR_ = (cr >> 63) != 0;
        return taken;
    }

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
    const std::int32_t* const highPairs_;   // null: chunks with bytes >= 0x80 go byte by byte
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

LineLoop::LineLoop(const FontWidths& font, std::optional<std::int64_t> maxWidth)
    : impl_(std::make_unique<Impl>(font, maxWidth))
{
}

LineLoop::~LineLoop() = default;

void LineLoop::measure(const unsigned char* data, std::size_t size, bool beginsInsideLine, ReadMode& mode,
                       PieceResult& out, StreamTally& tally)
{
    impl_->measure(data, size, beginsInsideLine, mode, out, tally);
}


}  // namespace engine
