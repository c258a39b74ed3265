#include "RecordLoop.h"

#include "CsvGrammar.h"
#include "FontKernel.h"
#include "LineCounter.h"
#include "Utf8.h"

#include <algorithm>
#include <limits>

namespace engine {

namespace {

// The width of a value in progress: the widest of its lines, in both
// readings while the file's reading is open.
struct ValueWidth {
    LineWidth line;
    std::int64_t widest8 = std::numeric_limits<std::int64_t>::min();
    std::int64_t widest1252 = std::numeric_limits<std::int64_t>::min();
    bool high = false;

    void endLine()
    {
        widest8 = std::max(widest8, line.common + line.utf8);
        widest1252 = std::max(widest1252, line.common + line.windows1252);
        high = high || line.high;
        line.clear();
    }

    LineValue finish(bool open)
    {
        endLine();
        if (high && open)
            return LineValue{widest8, widest1252, true};
        return LineValue{widest8, widest8, false};
    }
};

}  // namespace

class RecordLoop::Impl {
public:
    Impl(const std::vector<const FontWidths*>& fonts, std::optional<std::int64_t> maxWidth) : counter_(maxWidth)
    {
        for (const FontWidths* font : fonts)
            kernels_.emplace_back(*font);
    }

    void measure(const unsigned char* data, std::size_t size, bool skipHeader, const RecordLayout& layout,
                 Encoding& reading, PieceResult& out, StreamTally& tally)
    {
        // Records are never cut, so a piece is UTF-8 or not as a whole.
        if (reading == Encoding::Utf8
            && !fontview::isUtf8(std::string_view(reinterpret_cast<const char*>(data), size))) {
            reading = Encoding::Windows1252;
            out.brokeUtf8 = true;
        }
        reading_ = reading;
        out_ = &out;
        layout_ = &layout;
        skipHeader_ = skipHeader;
        counter_.start(out, tally, reading, layout.delimiter);
        setColumns(layout.growing ? 0 : layout.columns.size());
        out.columns = slots_;

        const csv::Classes classes(layout.delimiter);
        if (isUtf16(reading))
            records(csv::Utf16Units{reading == Encoding::Utf16BE}, classes, data, data + size);
        else
            records(csv::ByteUnits{}, classes, data, data + size);
        counter_.finish();
        out_ = nullptr;
    }

private:
    std::size_t fonts() const { return kernels_.size(); }

    // Measures slots for the first count columns of the layout, or when
    // growing, for columns 1..count.
    void setColumns(std::size_t count)
    {
        slots_ = count;
        slotOf_.assign(1, -1);
        for (std::size_t s = 0; s < count; ++s) {
            const std::size_t column = layout_->growing ? s + 1 : layout_->columns[s];
            if (slotOf_.size() <= column)
                slotOf_.resize(column + 1, -1);
            slotOf_[column] = static_cast<int>(s);
        }
        values_.resize(count * fonts());
        spans_.resize(count);
        counter_.reserve(count * fonts());
    }

    int slotOf(std::size_t field) const { return field < slotOf_.size() ? slotOf_[field] : -1; }

    template <class Units>
    void records(const Units& units, const csv::Classes& classes, const unsigned char* const data,
                 const unsigned char* const end)
    {
        constexpr std::size_t step = Units::size;
        const bool open = reading_ == Encoding::Utf8;
        startRecord(data);
        csv::State state = csv::State::FieldStart;
        std::uint64_t openedOn = 0;
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
                ++out_->physicalLines;
                if (slot_ >= 0)
                    for (std::size_t f = 0; f < fonts(); ++f)
                        values_[static_cast<std::size_t>(slot_) * fonts() + f].endLine();
                break;
            case csv::Action::EndField:
                endField(at);
                ++field_;
                startField(at + step);
                break;
            case csv::Action::EndRecord:
                endField(at);
                ++out_->physicalLines;
                endRecord(open);
                startRecord(at + step);
                break;
            case csv::Action::EndRest:
                startRecord(at + step);  // the record begins after the LF of its CR LF
                break;
            case csv::Action::Char:
            case csv::Action::BreakRest:
                break;
            }
            return true;
        };
        const unsigned char* const stop = csv::walk(units, classes, state, data, end, text, onStep);
        if (!csv::mayEndIn(state)) {
            out_->unclosedQuoteLine = openedOn;  // the file ends inside the quotes
            return;
        }
        // The last record of the file, without a line end. Half a UTF-16
        // code unit at the very end of a file is no character.
        if (end - recordStart_ >= static_cast<std::ptrdiff_t>(step)) {
            endField(stop);
            endRecord(open);
        }
    }

    void startRecord(const unsigned char* at)
    {
        recordStart_ = at;
        startLine_ = out_->physicalLines + 1;
        field_ = 1;
        startField(at);
    }

    void startField(const unsigned char* at)
    {
        fieldBegin_ = at;
        quoted_ = false;
        if (layout_->growing && field_ > slots_)
            addColumns(field_);
        slot_ = slotOf(field_);
        if (slot_ >= 0)
            std::fill_n(&values_[static_cast<std::size_t>(slot_) * fonts()], fonts(), ValueWidth{});
    }

    void endField(const unsigned char* at)
    {
        if (slot_ >= 0)
            spans_[static_cast<std::size_t>(slot_)] = TextSpan{fieldBegin_, at, quoted_};
    }

    void endRecord(bool open)
    {
        if (skipHeader_) {
            skipHeader_ = false;  // the header names the columns; it is not a value
            return;
        }
        const std::uint64_t record = ++out_->lines;
        const std::size_t fields = field_;
        out_->fieldCount = std::max(out_->fieldCount, fields);
        if (layout_->header && fields > layout_->headerNames.size())
            ++out_->longRecords;
        if (layout_->growing && out_->firstRecords.size() < WidestLines::kept)
            out_->firstRecords.push_back({record, startLine_});
        for (std::size_t s = 0; s < slots_; ++s) {
            const std::size_t column = layout_->growing ? s + 1 : layout_->columns[s];
            for (std::size_t f = 0; f < fonts(); ++f) {
                const std::size_t target = s * fonts() + f;
                // A record with fewer fields than the column has an empty value.
                if (column <= fields)
                    counter_.count(target, values_[target].finish(open), spans_[s], record, startLine_);
                else
                    counter_.count(target, LineValue{}, TextSpan{}, record, startLine_);
            }
        }
    }

    // Every column: a record with more fields than any before in the
    // piece. The records before it have empty values there.
    void addColumns(std::size_t columns)
    {
        const std::size_t before = slots_;
        setColumns(columns);
        out_->columns = columns;
        for (std::size_t s = before; s < columns; ++s)
            for (std::size_t f = 0; f < fonts(); ++f)
                counter_.countEmpty(s * fonts() + f, out_->lines, out_->firstRecords);
    }

    std::vector<FontKernel> kernels_;
    LineCounter counter_;

    // Slots: the columns measured, each with a value for each font.
    std::size_t slots_ = 0;
    std::vector<int> slotOf_;  // a field's slot, or -1
    std::vector<ValueWidth> values_;
    std::vector<TextSpan> spans_;

    // The piece in progress.
    PieceResult* out_ = nullptr;
    const RecordLayout* layout_ = nullptr;
    Encoding reading_ = Encoding::Utf8;
    bool skipHeader_ = false;
    const unsigned char* recordStart_ = nullptr;
    std::uint64_t startLine_ = 0;
    std::size_t field_ = 1;
    const unsigned char* fieldBegin_ = nullptr;
    bool quoted_ = false;
    int slot_ = -1;
};

RecordLoop::RecordLoop(const std::vector<const FontWidths*>& fonts, std::optional<std::int64_t> maxWidth)
    : impl_(std::make_unique<Impl>(fonts, maxWidth))
{
}

RecordLoop::~RecordLoop() = default;

void RecordLoop::measure(const unsigned char* data, std::size_t size, bool skipHeader, const RecordLayout& layout,
                         Encoding& reading, PieceResult& out, StreamTally& tally)
{
    impl_->measure(data, size, skipHeader, layout, reading, out, tally);
}

}  // namespace engine
