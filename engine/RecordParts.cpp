#include "RecordLoopImpl.h"

namespace engine {

void RecordLoop::Impl::endInQuotes(const unsigned char* end, std::uint64_t openedOn)
{
    if (endsInside_) {
        RecordPart& part = resuming_ ? out_->headRecord : out_->tailRecord;
        takePart(part, false, end);
        part.inQuotes = true;
        part.quoteLine = openedOn;
    } else if (openedOn == 0) {
        out_->unclosedQuoteBefore = true;
    } else {
        out_->unclosedQuoteLine = openedOn;
    }
}

void RecordLoop::Impl::resume(const unsigned char* at, const RecordEntry& entry)
{
    resuming_ = true;
    entryField_ = entry.field;
    firstBroke_ = false;
    recordStart_ = at;
    startLine_ = 0;
    field_ = entry.field;
    startField<false>(at);  // every column: the columns up to this field are made here
    firstLines_.assign(values_.size(), LineWidth{});
    quoted_ = entry.state == csv::State::Quoted || entry.state == csv::State::QuoteInQuoted;
    entryState_ = quoted_ ? entry.state : csv::State::FieldStart;
}

void RecordLoop::Impl::takePart(RecordPart& part, bool ended, const unsigned char* at)
{
    part.present = true;
    part.ended = ended;
    part.firstField = resuming_ ? entryField_ : 1;
    part.lastField = field_;
    part.startLine = resuming_ ? 0 : startLine_;
    part.values = values_;
    part.firstBroke = resuming_ && firstBroke_;
    part.firstLines.assign(values_.size(), LineWidth{});
    part.columns = columns_;
    part.texts.resize(slots_);
    const std::size_t fonts = this->fonts();
    for (std::size_t s = 0; s < slots_; ++s) {
        const std::size_t column = columns_[s];
        if (column < part.firstField || column > part.lastField)
            continue;
        if (resuming_ && column == entryField_) {
            for (std::size_t t = s * fonts; t < (s + 1) * fonts; ++t) {
                part.firstLines[t] = firstBroke_ ? firstLines_[t] : values_[t].line;
                if (!firstBroke_)
                    part.values[t].line.clear();
            }
        }
        TextSpan span = column < field_ || ended ? spans_[s] : TextSpan{fieldBegin_, at, quoted_};
        if (resuming_ && column == entryField_)
            span.from = entryState_;
        part.texts[s] = counter_.text(span, recordTextBytes);
    }
}

void RecordLoop::Impl::endHead()
{
    takePart(out_->headRecord, true, nullptr);
    if (field_ > out_->fieldCount)
        out_->fieldCount = field_;
    if (field_ > headerFields_)
        ++out_->longRecords;
    resuming_ = false;
}

}  // namespace engine
