#pragma once
// The loop over records: its state and its 8-bit path. The UTF-16 walk
// and the set-up of a piece are in RecordLoop.cpp, what a piece keeps of
// a record that other pieces share in RecordParts.cpp. Only the loop's
// own files include this.

#include "CsvGrammar.h"
#include "FontKernel.h"
#include "LineCounter.h"
#include "RecordLoop.h"

#include <algorithm>
#include <limits>

namespace engine {

class RecordLoop::Impl {
public:
    Impl(const std::vector<const FontWidths*>& fonts, std::optional<std::int64_t> maxWidth) : counter_(maxWidth)
    {
        for (const FontWidths* font : fonts)
            kernels_.emplace_back(*font);
        fonts_ = kernels_.size();
    }

    void measure(const unsigned char* data, std::size_t size, bool skipHeader, const RecordLayout& layout,
                 const RecordEdges& edges, Encoding& reading, PieceResult& out, StreamTally& tally);

private:
    std::size_t fonts() const { return fonts_; }

    // The number of fonts, known when the loop is compiled for one font:
    // the common case, whose loops over fonts then vanish.
    template <bool oneFont>
    std::size_t fontCount() const
    {
        if constexpr (oneFont)
            return 1;
        else
            return fonts_;
    }

    // Measures slots for the first count columns of the layout, or when
    // growing, for columns 1..count.
    void setColumns(std::size_t count);

    int slotOf(std::size_t field) const { return field < slotOf_.size() ? slotOf_[field] : -1; }

    // Measures a run of a measured field's text in each font.
    template <bool oneFont>
    [[gnu::always_inline]] void text8(const unsigned char* from, const unsigned char* to, bool open)
    {
        const std::size_t fonts = fontCount<oneFont>();
        ValueWidth* const values = &values_[static_cast<std::size_t>(slot_) * fonts];
        for (std::size_t f = 0; f < fonts; ++f)
            kernels_[f].span8(from, to, open, values[f].line, pieceStart_);  // the piece is checked: no break
    }

    // A line break inside quotes: the value goes on on a new line. The
    // first in a field an earlier piece began ends a line whose start
    // that piece has: it is kept apart, to be joined to it.
    template <bool oneFont>
    void lineBreak()
    {
        ++out_->physicalLines;
        const std::size_t fonts = fontCount<oneFont>();
        if (slot_ < 0)
            return;
        ValueWidth* const values = &values_[static_cast<std::size_t>(slot_) * fonts];
        if (resuming_ && field_ == entryField_ && !firstBroke_) [[unlikely]] {
            firstBroke_ = true;
            for (std::size_t f = 0; f < fonts; ++f) {
                firstLines_[static_cast<std::size_t>(slot_) * fonts + f] = values[f].line;
                values[f].line.clear();
            }
            return;
        }
        for (std::size_t f = 0; f < fonts; ++f)
            values[f].endLine();
    }

    // Just past a line end at p: CR LF is one.
    static const unsigned char* pastLineEnd(const unsigned char* p, const unsigned char* end)
    {
        return p + (*p == '\r' && end - p >= 2 && p[1] == '\n' ? 2 : 1);
    }

    // A quoted field's text from p, just inside its quotes: each run up to
    // a quote or a line end taken whole. Returns just past its closing
    // quote, or nullptr when the piece ends inside the quotes, or on a
    // quote that the next piece may double.
    template <bool oneFont>
    [[gnu::always_inline]] const unsigned char* quotedRest(const unsigned char* p, const unsigned char* const end,
                                                           bool open)
    {
        for (;;) {
            const unsigned char* const stop = csv::findAny(p, end, '"', '\n', '\r');
            if (slot_ >= 0)
                text8<oneFont>(p, stop, open);
            p = stop;
            if (p == end)
                return nullptr;
            if (*p != '"') {
                lineBreak<oneFont>();
                p = pastLineEnd(p, end);
            } else if (end - p >= 2 && p[1] == '"') {
                if (slot_ >= 0)
                    text8<oneFont>(p + 1, p + 2, open);  // a doubled quote stands for one
                p += 2;
            } else if (end - p == 1 && endsInside_) {
                return nullptr;
            } else {
                return p + 1;  // the closing quote
            }
        }
    }

    // The rest of a field from p: text up to the delimiter or the line
    // end, then the next field or record. Returns where that begins, or
    // end when the piece ends first.
    template <bool oneFont>
    [[gnu::always_inline]] const unsigned char* unquotedRest(const unsigned char* p, const unsigned char* const end,
                                                             unsigned char delimiter, bool open)
    {
        const unsigned char* const stop = csv::findAny(p, end, delimiter, '\n', '\r');
        if (slot_ >= 0 && stop != p)  // nothing after a closing quote, as is usual
            text8<oneFont>(p, stop, open);
        p = stop;
        if (p == end)
            return end;
        endField(p);
        if (*p == delimiter) {
            ++field_;
            startField<oneFont>(++p);
        } else {
            ++out_->physicalLines;
            endRecord<oneFont>(open);
            p = pastLineEnd(p, end);
            startRecord<oneFont>(p);
        }
        return p;
    }

    // The records of 8-bit text: the grammar's walk, with each field's
    // runs found 16 bytes at a time and its shape taken whole. A field
    // that starts with a quote is quoted (FieldStart to Quoted); inside,
    // a quote closes it unless a second follows (QuoteInQuoted), and what
    // follows the closing quote is text up to the delimiter or the line end
    // (Unquoted), as for a field that is not quoted. A piece may begin
    // inside a record, in any of these states, and end inside one.
    template <bool oneFont>
    void records8(const csv::Classes& classes, const unsigned char* p, const unsigned char* const end,
                  const RecordEntry& entry)
    {
        const bool open = reading_ == Encoding::Utf8;
        const unsigned char delimiter = classes.delimiter();
        if (!entry.inside) {
            startRecord<oneFont>(p);
        } else {
            resume(p, entry);
            if (entry.state != csv::State::FieldStart) {
                bool inQuotes = entry.state == csv::State::Quoted;
                if (entry.state == csv::State::QuoteInQuoted && p < end && *p == '"') {
                    if (slot_ >= 0)
                        text8<oneFont>(p, p + 1, open);  // the second of a doubled quote
                    ++p;
                    inQuotes = true;
                }
                if (inQuotes) {
                    p = quotedRest<oneFont>(p, end, open);
                    if (!p)
                        return endInQuotes(end, 0);
                }
                p = unquotedRest<oneFont>(p, end, delimiter, open);
            }
        }
        while (p < end) {
            if (*p == '"') {
                quoted_ = true;
                const std::uint64_t openedOn = out_->physicalLines + 1;
                p = quotedRest<oneFont>(p + 1, end, open);
                if (!p)
                    return endInQuotes(end, openedOn);
            }
            p = unquotedRest<oneFont>(p, end, delimiter, open);
        }
        if (endsInside_) {
            takePart(resuming_ ? out_->headRecord : out_->tailRecord, false, end);
        } else if (resuming_ || recordStart_ < end) {
            // The last record of the file, without a line end.
            endField(end);
            endRecord<oneFont>(open);
        }
    }

    // The piece ends inside quotes that opened on line openedOn of the
    // piece, or before it (0): the record goes on in the next piece, or
    // the file ends inside the quotes.
    void endInQuotes(const unsigned char* end, std::uint64_t openedOn);

    // The piece begins inside a record, in field entry.field.
    void resume(const unsigned char* at, const RecordEntry& entry);

    // What the piece has of a record that an earlier or a later piece has
    // more of; at: where the piece's share ends.
    void takePart(RecordPart& part, bool ended, const unsigned char* at);

    // The records of UTF-16 text, by the grammar's walk.
    template <class Units>
    void records(const Units& units, const csv::Classes& classes, const unsigned char* const data,
                 const unsigned char* const end, const RecordEntry& entry);

    template <bool oneFont>
    void startRecord(const unsigned char* at)
    {
        recordStart_ = at;
        startLine_ = out_->physicalLines + 1;
        field_ = 1;
        startField<oneFont>(at);
    }

    template <bool oneFont>
    void startField(const unsigned char* at)
    {
        fieldBegin_ = at;
        quoted_ = false;
        if (growing_ && field_ > slots_)
            addColumns(field_);
        slot_ = slotOf(field_);
        if (slot_ >= 0)
            for (ValueWidth* v = &values_[static_cast<std::size_t>(slot_) * fontCount<oneFont>()],
                            *last = v + fontCount<oneFont>();
                 v < last; ++v)
                v->clear();
    }

    void endField(const unsigned char* at)
    {
        if (slot_ >= 0)
            spans_[static_cast<std::size_t>(slot_)] = TextSpan{fieldBegin_, at, quoted_};
    }

    template <bool oneFont>
    void endRecord(bool open)
    {
        if (firstAside_) [[unlikely]] {
            firstAside_ = false;
            if (resuming_)
                endHead();
            return;
        }
        const std::uint64_t record = ++out_->lines;
        const std::size_t fields = field_;
        if (fields > out_->fieldCount) [[unlikely]]
            out_->fieldCount = fields;
        if (fields > headerFields_) [[unlikely]]
            ++out_->longRecords;
        if (growing_ && out_->firstRecords.size() < WidestLines::kept)
            out_->firstRecords.push_back({record, startLine_});
        const std::size_t fonts = fontCount<oneFont>();
        for (std::size_t s = 0, target = 0; s < slots_; ++s) {
            // A record with fewer fields than the column has an empty value.
            if (columns_[s] <= fields) {
                for (std::size_t f = 0; f < fonts; ++f, ++target)
                    counter_.count(target, values_[target].finish(open), spans_[s], record, startLine_);
            } else {
                for (std::size_t f = 0; f < fonts; ++f, ++target)
                    counter_.count(target, LineValue{}, TextSpan{}, record, startLine_);
            }
        }
    }

    // The record an earlier piece began ends: the combiner counts it.
    void endHead();

    // Every column: a record with more fields than any before in the
    // piece. The records before it have empty values there.
    void addColumns(std::size_t columns);

    std::vector<FontKernel> kernels_;
    std::size_t fonts_ = 0;
    LineCounter counter_;

    // Slots: the columns measured, each with a value for each font.
    std::size_t slots_ = 0;
    std::vector<int> slotOf_;  // a field's slot, or -1
    std::vector<std::size_t> columns_;  // a slot's column
    std::vector<ValueWidth> values_;
    std::vector<TextSpan> spans_;

    // The piece in progress.
    PieceResult* out_ = nullptr;
    const RecordLayout* layout_ = nullptr;
    Encoding reading_ = Encoding::Utf8;
    const unsigned char* pieceStart_ = nullptr;
    bool firstAside_ = false;  // the piece's first record is not counted here
    bool growing_ = false;
    std::size_t headerFields_ = SIZE_MAX;  // fields past these belong to no column
    const unsigned char* recordStart_ = nullptr;
    std::uint64_t startLine_ = 0;
    std::size_t field_ = 1;
    const unsigned char* fieldBegin_ = nullptr;
    bool quoted_ = false;
    int slot_ = -1;

    // A piece that begins or ends inside a record.
    bool endsInside_ = false;
    bool resuming_ = false;  // the record in progress began in an earlier piece
    std::size_t entryField_ = 1;
    csv::State entryState_ = csv::State::FieldStart;  // where its text begins
    bool firstBroke_ = false;  // a line break in the field the piece began in
    std::vector<LineWidth> firstLines_;  // by target: that field's text up to it
};

}  // namespace engine
