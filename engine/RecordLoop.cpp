#include "RecordLoop.h"

#include "LineCounter.h"
#include "TextEncoding.h"
#include "Utf8.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace engine {

namespace {

// The code units of a piece: bytes, or UTF-16 in either order.
struct Bytes {
    static constexpr std::size_t size = 1;
    char32_t at(const unsigned char* p) const { return *p; }
};

struct Utf16Units {
    static constexpr std::size_t size = 2;
    bool bigEndian = false;
    char32_t at(const unsigned char* p) const { return utf16Unit(p, bigEndian); }
};

// The first byte at or after p that is one of a, b or c, or end; 16 bytes
// at a time where it can.
const unsigned char* findAny(const unsigned char* p, const unsigned char* end, unsigned char a, unsigned char b,
                             unsigned char c)
{
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(static_cast<char>(a)), vb = _mm_set1_epi8(static_cast<char>(b));
    const __m128i vc = _mm_set1_epi8(static_cast<char>(c));
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)), _mm_cmpeq_epi8(v, vc));
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)))
            return p + std::countr_zero(mask);
    }
#endif
    while (p < end && *p != a && *p != b && *p != c)
        ++p;
    return p;
}

// The width of the value in progress: its lines' widest, in both readings
// while the file's reading is open.
struct ValueWidth {
    std::int64_t line = 0;       // characters that read the same either way
    std::int64_t utf8Extra = 0;  // characters outside ASCII read as UTF-8
    std::int64_t extra1252 = 0;  // the same bytes read as Windows-1252
    bool high = false;           // a byte >= 0x80 while the reading is open
    std::int64_t widest8 = std::numeric_limits<std::int64_t>::min();
    std::int64_t widest1252 = std::numeric_limits<std::int64_t>::min();

    void endLine()
    {
        widest8 = std::max(widest8, line + utf8Extra);
        widest1252 = std::max(widest1252, line + extra1252);
        line = utf8Extra = extra1252 = 0;
    }

    LineValue finish()
    {
        endLine();
        if (high)
            return LineValue{widest8, widest1252, true};
        return LineValue{widest8, widest8, false};
    }
};

}  // namespace

class RecordLoop::Impl {
public:
    Impl(const FontWidths& font, std::optional<std::int64_t> maxWidth)
        : widths_(font), counter_(maxWidth), pairs_(font.pairTables().ascii.get())
    {
        const WidthTable& table = font.table();
        ascii_.fill(-1);
        for (int code = firstTableCode; code <= lastTableCode; ++code)
            if (table[code - firstTableCode] >= 0)
                ascii_[code] = table[code - firstTableCode];
        for (unsigned byte = 0; byte < 256; ++byte)
            single1252_[byte] = widths_(windows1252(static_cast<unsigned char>(byte)));
    }

    void measure(const unsigned char* data, std::size_t size, bool skipHeader, const RecordLayout& layout,
                 ReadMode& mode, PieceResult& out, StreamTally& tally)
    {
        // Records are never cut, so a piece is UTF-8 or not as a whole, and
        // its characters can then be decoded without checking each again.
        if (mode == ReadMode::Open
            && !fontview::isUtf8(std::string_view(reinterpret_cast<const char*>(data), size))) {
            mode = ReadMode::Windows1252;
            out.brokeUtf8 = true;
        }
        mode_ = mode;
        out_ = &out;
        delimiter_ = static_cast<unsigned char>(layout.delimiter);
        column_ = layout.column;
        counter_.start(out, tally);
        if (mode == ReadMode::Utf16LE || mode == ReadMode::Utf16BE)
            records(Utf16Units{mode == ReadMode::Utf16BE}, data, data + size, skipHeader);
        else
            records(Bytes{}, data, data + size, skipHeader);
        counter_.finish();
        out_ = nullptr;
    }

private:
    template <class Units>
    void records(const Units& units, const unsigned char* p, const unsigned char* const end, bool skipHeader)
    {
        constexpr std::size_t step = Units::size;
        while (end - p >= static_cast<std::ptrdiff_t>(step)) {
            const std::uint64_t startLine = out_->physicalLines + 1;
            ValueWidth value;
            const unsigned char* textBegin = p;
            const unsigned char* textEnd = p;
            bool quoted = false;
            for (std::size_t field = 1;; ++field) {
                const bool measured = field == column_;
                if (measured)
                    textBegin = textEnd = p;
                if (end - p >= static_cast<std::ptrdiff_t>(step) && units.at(p) == '"') {
                    const unsigned char *begin = nullptr, *finish = nullptr;
                    p = quotedField(units, p, end, measured ? &value : nullptr, begin, finish);
                    if (measured)
                        textBegin = begin, textEnd = finish, quoted = true;
                } else {
                    p = plainField(units, p, end, measured ? &value : nullptr);
                    if (measured)
                        textEnd = p;
                }
                if (end - p < static_cast<std::ptrdiff_t>(step))
                    break;  // the last record of the file, without a line end
                const char32_t c = units.at(p);
                p += step;
                if (c == delimiter_)
                    continue;
                // A line end: CR LF, LF or CR.
                ++out_->physicalLines;
                if (c == '\r' && end - p >= static_cast<std::ptrdiff_t>(step) && units.at(p) == '\n')
                    p += step;
                break;
            }
            if (skipHeader) {
                skipHeader = false;  // the header names the columns; it is not a value
                continue;
            }
            // A record with fewer fields than the column has an empty value.
            counter_.count(value.finish(), textBegin, textEnd, quoted, startLine);
        }
        // Half a UTF-16 code unit at the very end of a file is no character.
    }

    // Delimited bytes: an unquoted field found whole, then measured.
    const unsigned char* plainField(const Bytes& units, const unsigned char* p, const unsigned char* const end,
                                    ValueWidth* value)
    {
        const unsigned char* const fieldEnd = findAny(p, end, static_cast<unsigned char>(delimiter_), '\n', '\r');
        if (value)
            measureBytes(units, p, fieldEnd, *value);
        return fieldEnd;
    }

    // Measures [p, end), which holds no line end.
    void measureBytes(const Bytes& units, const unsigned char* p, const unsigned char* const end, ValueWidth& value)
    {
        constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
        while (p < end) {
            // Eight printable ASCII characters at a time, a pair per read.
            if (pairs_) {
                for (std::uint64_t word; end - p >= 8; p += 8) {
                    std::memcpy(&word, p, 8);
                    const std::uint64_t below = (word - 0x20 * ones) & ~word;  // a byte under 0x20
                    const std::uint64_t del = ((word ^ (0x7F * ones)) - ones) & ~(word ^ (0x7F * ones));
                    if (((word | below | del) & highs) != 0)
                        break;
                    if constexpr (std::endian::native == std::endian::big)
                        word = __builtin_bswap64(word);
                    value.line += (std::int64_t{pairs_[word & 0xFFFF]} + pairs_[(word >> 16) & 0xFFFF])
                        + (std::int64_t{pairs_[(word >> 32) & 0xFFFF]} + pairs_[word >> 48]);
                }
            }
            if (p < end)
                p = character(units, p, end, value);
        }
    }

    // Delimited bytes: a quoted field, its runs between quotes and line
    // ends found whole.
    const unsigned char* quotedField(const Bytes& units, const unsigned char* p, const unsigned char* const end,
                                     ValueWidth* value, const unsigned char*& textBegin, const unsigned char*& textEnd)
    {
        const std::uint64_t openedOn = out_->physicalLines + 1;
        textBegin = ++p;
        for (;;) {
            const unsigned char* const stop = findAny(p, end, '"', '\n', '\r');
            if (value)
                measureBytes(units, p, stop, *value);
            p = stop;
            if (p == end) {
                out_->unclosedQuoteLine = openedOn;  // the file ends inside the quotes
                textEnd = end;
                return end;
            }
            if (*p == '"') {
                if (end - p >= 2 && p[1] == '"') {
                    if (value)
                        character(units, p, end, *value);
                    p += 2;
                    continue;
                }
                textEnd = p++;
                break;
            }
            ++out_->physicalLines;
            if (value)
                value->endLine();
            p += *p == '\r' && end - p >= 2 && p[1] == '\n' ? 2 : 1;
        }
        return plainField(units, p, end, value);
    }

    // An unquoted field, up to the delimiter, a line end or the end.
    template <class Units>
    const unsigned char* plainField(const Units& units, const unsigned char* p, const unsigned char* const end,
                                    ValueWidth* value)
    {
        constexpr std::size_t step = Units::size;
        while (end - p >= static_cast<std::ptrdiff_t>(step)) {
            const char32_t c = units.at(p);
            if (c == delimiter_ || c == '\n' || c == '\r')
                break;
            p = value ? character(units, p, end, *value) : p + step;
        }
        return p;
    }

    // A quoted field from its opening quote: its text runs to the closing
    // quote, "" standing for one quote and line ends being data; anything
    // after the closing quote up to the delimiter belongs to it too.
    template <class Units>
    const unsigned char* quotedField(const Units& units, const unsigned char* p, const unsigned char* const end,
                                     ValueWidth* value, const unsigned char*& textBegin, const unsigned char*& textEnd)
    {
        constexpr std::size_t step = Units::size;
        const std::uint64_t openedOn = out_->physicalLines + 1;
        p += step;
        textBegin = p;
        for (;;) {
            if (end - p < static_cast<std::ptrdiff_t>(step)) {
                out_->unclosedQuoteLine = openedOn;  // the file ends inside the quotes
                textEnd = end;
                return end;
            }
            const char32_t c = units.at(p);
            if (c == '"') {
                if (end - p >= static_cast<std::ptrdiff_t>(2 * step) && units.at(p + step) == '"') {
                    if (value)
                        character(units, p, end, *value);
                    p += 2 * step;
                    continue;
                }
                textEnd = p;
                p += step;
                break;
            }
            if (c == '\n' || c == '\r') {
                ++out_->physicalLines;
                if (value)
                    value->endLine();
                p += step;
                if (c == '\r' && end - p >= static_cast<std::ptrdiff_t>(step) && units.at(p) == '\n')
                    p += step;
                continue;
            }
            p = value ? character(units, p, end, *value) : p + step;
        }
        return plainField(units, p, end, value);
    }

    // Measures the character at p into the value; returns what follows it.
    const unsigned char* character(const Bytes&, const unsigned char* p, const unsigned char* const end,
                                   ValueWidth& value)
    {
        const unsigned byte = *p;
        if (byte < 0x80) {
            value.line += ascii_[byte] >= 0 ? ascii_[byte] : widths_(byte);
            return p + 1;
        }
        if (mode_ != ReadMode::Open) {
            value.line += single1252_[byte];
            return p + 1;
        }
        // The piece is known to be UTF-8; the fast path reads four bytes.
        unsigned length;
        char32_t code = *p;  // never kept: the piece is checked
        if (end - p >= 4) {
            code = fontview::decodeCheckedUtf8Sequence(p, length);
        } else {
            const int decoded = fontview::decodeUtf8Sequence(p, end, code);
            length = decoded > 0 ? static_cast<unsigned>(decoded) : 1;
        }
        value.utf8Extra += widths_(code);
        length = std::min<unsigned>(length, static_cast<unsigned>(end - p));
        for (unsigned i = 0; i < length; ++i)
            value.extra1252 += single1252_[p[i]];
        value.high = true;
        return p + length;
    }

    const unsigned char* character(const Utf16Units& units, const unsigned char* p, const unsigned char* const end,
                                   ValueWidth& value)
    {
        const char32_t unit = units.at(p);
        if (unit >= 0xD800 && unit <= 0xDBFF && end - p >= 4) {
            const char32_t low = units.at(p + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                value.line += widths_(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                return p + 4;
            }
        }
        value.line += unit < 0x80 && ascii_[unit] >= 0 ? ascii_[unit] : widths_(unit);
        return p + 2;
    }

    ThreadWidths widths_;
    LineCounter counter_;
    std::array<std::int32_t, 128> ascii_;       // printable ASCII; -1 for the rest
    std::array<std::int64_t, 256> single1252_;  // every byte's Windows-1252 width
    const std::int32_t* const pairs_;           // byte pairs of printable ASCII, or null

    PieceResult* out_ = nullptr;
    ReadMode mode_ = ReadMode::Open;
    char32_t delimiter_ = ',';
    std::size_t column_ = 1;
};

RecordLoop::RecordLoop(const FontWidths& font, std::optional<std::int64_t> maxWidth)
    : impl_(std::make_unique<Impl>(font, maxWidth))
{
}

RecordLoop::~RecordLoop() = default;

void RecordLoop::measure(const unsigned char* data, std::size_t size, bool skipHeader, const RecordLayout& layout,
                         ReadMode& mode, PieceResult& out, StreamTally& tally)
{
    impl_->measure(data, size, skipHeader, layout, mode, out, tally);
}

}  // namespace engine
