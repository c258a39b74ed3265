#include "RecordLoopImpl.h"

#include "Utf8.h"

namespace engine {

void RecordLoop::Impl::measure(const unsigned char* data, std::size_t size, bool skipHeader,
                               const RecordLayout& layout, const RecordEdges& edges, Encoding& reading,
                               PieceResult& out, StreamTally& tally)
{
    // A piece ends between characters, so it is UTF-8 or not as a whole.
    if (reading == Encoding::Utf8
        && !fontview::isUtf8(std::string_view(reinterpret_cast<const char*>(data), size))) {
        reading = Encoding::Windows1252;
        out.brokeUtf8 = true;
    }
    reading_ = reading;
    pieceStart_ = data;
    out_ = &out;
    layout_ = &layout;
    // The header names the columns, and a record an earlier piece began
    // is counted when the pieces are joined: neither is counted here.
    firstAside_ = skipHeader || edges.entry.inside;
    endsInside_ = edges.endsInside;
    resuming_ = false;
    growing_ = layout.growing;
    headerFields_ = layout.header ? layout.headerNames.size() : SIZE_MAX;
    counter_.start(out, tally, reading, layout.delimiter);
    setColumns(layout.growing ? 0 : layout.columns.size());
    out.columns = slots_;

    const csv::Classes classes(layout.delimiter);
    if (isUtf16(reading))
        records(csv::Utf16Units{reading == Encoding::Utf16BE}, classes, data, data + size, edges.entry);
    else if (fonts_ == 1)
        records8<true>(classes, data, data + size, edges.entry);
    else
        records8<false>(classes, data, data + size, edges.entry);
    counter_.finish();
    out_ = nullptr;
}

void RecordLoop::Impl::setColumns(std::size_t count)
{
    slots_ = count;
    slotOf_.assign(1, -1);
    columns_.resize(count);
    for (std::size_t s = 0; s < count; ++s) {
        const std::size_t column = layout_->growing ? s + 1 : layout_->columns[s];
        columns_[s] = column;
        if (slotOf_.size() <= column)
            slotOf_.resize(column + 1, -1);
        slotOf_[column] = static_cast<int>(s);
    }
    values_.resize(count * fonts());
    spans_.resize(count);
    counter_.reserve(count * fonts());
}

void RecordLoop::Impl::addColumns(std::size_t columns)
{
    const std::size_t before = slots_;
    setColumns(columns);
    out_->columns = columns;
    for (std::size_t s = before; s < columns; ++s)
        for (std::size_t f = 0; f < fonts(); ++f)
            counter_.countEmpty(s * fonts() + f, out_->lines, out_->firstRecords);
}

template <class Units>
void RecordLoop::Impl::records(const Units& units, const csv::Classes& classes, const unsigned char* const data,
                               const unsigned char* const end, const RecordEntry& entry)
{
    constexpr std::size_t step = Units::size;
    const bool open = reading_ == Encoding::Utf8;
    csv::State state = csv::State::FieldStart;
    if (entry.inside) {
        resume(data, entry);
        state = entry.state;
    } else {
        startRecord<false>(data);
    }
    std::uint64_t openedOn = 0;  // of the last quote that opened a field in the piece
    const auto text = [&](const unsigned char* from, const unsigned char* to) {
        if (slot_ < 0)
            return;
        ValueWidth* const values = &values_[static_cast<std::size_t>(slot_) * fonts()];
        for (std::size_t f = 0; f < fonts(); ++f) {
            if constexpr (step == 2)
                kernels_[f].span16(from, to, units.bigEndian, values[f].line);
            else
                kernels_[f].span8(from, to, open, values[f].line);  // the piece is checked: no break
        }
    };
    const auto onStep = [&](csv::Action action, const unsigned char* at) {
        switch (action) {
        case csv::Action::Quote:
            if (state == csv::State::Quoted) {  // it opens the field
                quoted_ = true;
                openedOn = out_->physicalLines + 1;
            }
            break;
        case csv::Action::LineBreak:
            lineBreak<false>();
            break;
        case csv::Action::EndField:
            endField(at);
            ++field_;
            startField<false>(at + step);
            break;
        case csv::Action::EndRecord:
            endField(at);
            ++out_->physicalLines;
            endRecord<false>(open);
            startRecord<false>(at + step);
            break;
        case csv::Action::EndRest:
            startRecord<false>(at + step);  // the record begins after the LF of its CR LF
            break;
        case csv::Action::Char:
        case csv::Action::BreakRest:
            break;
        }
        return true;
    };
    const unsigned char* const stop = csv::walk(units, classes, state, data, end, text, onStep);
    // Inside quotes, or on a quote the next piece may double.
    if (!csv::mayEndIn(state) || (endsInside_ && state == csv::State::QuoteInQuoted))
        return endInQuotes(end, openedOn);
    if (endsInside_)
        return takePart(resuming_ ? out_->headRecord : out_->tailRecord, false, end);
    // The last record of the file, without a line end. Half a UTF-16
    // code unit at the very end of a file is no character.
    if (resuming_ || end - recordStart_ >= static_cast<std::ptrdiff_t>(step)) {
        endField(stop);
        endRecord<false>(open);
    }
}

RecordLoop::RecordLoop(const std::vector<const FontWidths*>& fonts, std::optional<std::int64_t> maxWidth)
    : impl_(std::make_unique<Impl>(fonts, maxWidth))
{
}

RecordLoop::~RecordLoop() = default;

void RecordLoop::measure(const unsigned char* data, std::size_t size, bool skipHeader, const RecordLayout& layout,
                         const RecordEdges& edges, Encoding& reading, PieceResult& out, StreamTally& tally)
{
    impl_->measure(data, size, skipHeader, layout, edges, reading, out, tally);
}

}  // namespace engine
