#include "PieceCombiner.h"

#include <algorithm>

namespace engine {

void PieceCombiner::add(std::uint64_t sequence, PieceResult result)
{
    const std::lock_guard lock(mutex_);
    if (sequence != next_) {
        waiting_.emplace(sequence, std::move(result));
        return;
    }
    apply(result);
    ++next_;
    for (auto found = waiting_.find(next_); found != waiting_.end(); found = waiting_.find(next_)) {
        apply(found->second);
        waiting_.erase(found);
        ++next_;
    }
}

// The whole stream's reading is known: UTF-16 from the start, or
// Windows-1252 once a byte anywhere broke UTF-8.
void PieceCombiner::readingKnown(Encoding encoding)
{
    if (tally_.encoding == encoding)
        return;
    tally_.encoding = encoding;
    if (stream_)
        stream_->decide(encoding);
}

void PieceCombiner::apply(PieceResult& result)
{
    if (result.brokeUtf8 || result.reading == Encoding::Windows1252)
        readingKnown(Encoding::Windows1252);
    else if (isUtf16(result.reading))
        readingKnown(result.reading);
    if (result.head.present) {
        pending_.present = true;
        if (pending_.values.empty())
            pending_.values.resize(result.head.values.size());
        for (std::size_t t = 0; t < result.head.values.size(); ++t)
            pending_.values[t].append(result.head.values[t]);
        if (pending_.text.size() < segmentTextBytes_)
            pending_.text.append(result.head.text, 0, segmentTextBytes_ - pending_.text.size());
        if (result.head.ended)
            countPending();
    }
    if (result.headRecord.present)
        joinRecord(result.headRecord, tally_.physicalLines);
    const std::uint64_t before = tally_.lineCount, linesBefore = tally_.physicalLines;
    if (growing_)
        fillColumns(result);
    for (std::size_t t = 0; t < result.widest.size(); ++t)
        result.widest[t].forEachWith(tally_.target(t), [&](WidestLines& theirs, LineTally& own) {
            theirs.shiftLines(before, linesBefore);
            own.widest.merge(theirs);
        });
    for (WideRecord& record : result.tooWide) {
        record.line += before;
        if (record.startLine != 0)
            record.startLine += linesBefore;
        if (stream_)
            stream_->add(std::move(record), tally_.encoding);
        else
            tally_.tooWide.push_back(std::move(record));
    }
    if (result.unclosedQuoteLine != 0)
        unclosedQuoteLine_ = linesBefore + result.unclosedQuoteLine;
    if (result.unclosedQuoteBefore)
        unclosedQuoteLine_ = pendingQuoteLine_;
    if (result.tailRecord.present) {
        pendingRecord_ = std::move(result.tailRecord);
        pendingRecord_.startLine += linesBefore;
        if (pendingRecord_.inQuotes)
            pendingQuoteLine_ = linesBefore + pendingRecord_.quoteLine;
    }
    tally_.lineCount += result.lines;
    tally_.physicalLines += result.physicalLines;
    tally_.longRecords += result.longRecords;
    tally_.fieldCount = std::max(tally_.fieldCount, result.fieldCount);
    if (result.tail.present)
        pending_ = std::move(result.tail);
    lines_.store(tally_.lineCount, std::memory_order_relaxed);
}

// Every column: a record has as many fields as it has, so a column that
// one piece has and another has not is empty in the other's records.
void PieceCombiner::fillColumns(const PieceResult& result)
{
    const std::uint64_t before = tally_.lineCount, linesBefore = tally_.physicalLines;
    for (std::size_t column = result.columns + 1; column <= columns_; ++column)
        fillEmpty(column, result.lines, result.firstRecords, before, linesBefore);
    for (std::size_t column = columns_ + 1; column <= result.columns; ++column)
        fillEmpty(column, before, firstRecords_, 0, 0);
    columns_ = std::max(columns_, result.columns);
    for (const RecordNumbers& r : result.firstRecords)
        if (firstRecords_.size() < WidestLines::kept)
            firstRecords_.push_back({before + r.record, linesBefore + r.startLine});
}

void PieceCombiner::fillEmpty(std::size_t column, std::uint64_t count, const std::vector<RecordNumbers>& first,
                              std::uint64_t lineOffset, std::uint64_t startLineOffset)
{
    if (count == 0)
        return;
    for (std::size_t f = 0; f < fonts_; ++f) {
        LineTally& lines = tally_.target((column - 1) * fonts_ + f).common;
        lines.widths.add(0, count);
        for (const RecordNumbers& r : first)
            if (r.record <= count)
                lines.widest.offer(lineOffset + r.record, 0, {}, startLineOffset + r.startLine);
    }
}

void PieceCombiner::countPending()
{
    const std::uint64_t line = ++tally_.lineCount;
    for (std::size_t t = 0; t < pending_.values.size(); ++t)
        countValue(t, line, 0, pending_.values[t], pending_.text);
    pending_ = Segment{};
}

// A value the pieces joined, counted for target t as the loops count theirs.
void PieceCombiner::countValue(std::size_t t, std::uint64_t line, std::uint64_t startLine, const LineValue& value,
                               std::string_view text)
{
    TargetTally& target = tally_.target(t);
    if (!value.dual) {
        target.common.widths.add(value.width);
        target.common.widest.offer(line, value.width, text, startLine);
    } else {
        target.utf8.widths.add(value.width);
        target.utf8.widest.offer(line, value.width, text, startLine);
        target.windows1252.widths.add(value.widthWindows1252);
        target.windows1252.widest.offer(line, value.widthWindows1252, text, startLine);
    }
    if (maxWidth_ && std::max(value.width, value.widthWindows1252) > *maxWidth_) {
        WideRecord record{t, line, startLine, value.width, value.widthWindows1252, value.dual,
                          std::string(text.substr(0, recordTextBytes))};
        if (stream_)
            stream_->add(std::move(record), tally_.encoding);
        else
            tally_.tooWide.push_back(std::move(record));
    }
}

// A piece goes on with the record in progress: the value of the field it
// began in goes on from where the record's last piece left it; the values
// of the fields after it are the piece's own.
void PieceCombiner::joinRecord(RecordPart& part, std::uint64_t linesBefore)
{
    RecordPart& record = pendingRecord_;
    const std::size_t fonts = fonts_;
    if (part.columns.size() > record.columns.size()) {  // every column: the record's fields made more
        record.columns = part.columns;
        record.values.resize(part.values.size());
        record.texts.resize(part.texts.size());
    }
    for (std::size_t s = 0; s < record.columns.size(); ++s) {
        const std::size_t column = record.columns[s];
        if (column < part.firstField || column > part.lastField)
            continue;
        const bool goesOn = column == record.lastField;
        for (std::size_t t = s * fonts; t < (s + 1) * fonts; ++t) {
            if (goesOn)
                record.values[t].goOn(part.firstLines[t], part.firstBroke, part.values[t]);
            else
                record.values[t] = part.values[t];
        }
        std::string& text = record.texts[s];
        if (!goesOn)
            text.clear();
        text.append(part.texts[s], 0, recordTextBytes - std::min(recordTextBytes, text.size()));
    }
    record.lastField = part.lastField;
    if (part.inQuotes && part.quoteLine != 0)
        pendingQuoteLine_ = linesBefore + part.quoteLine;
    if (part.ended)
        countRecord();
}

// The record in progress has ended: each of its values is counted, an
// empty one for a column past its last field.
void PieceCombiner::countRecord()
{
    RecordPart& record = pendingRecord_;
    const std::uint64_t line = ++tally_.lineCount;
    if (growing_) {
        // Every column: the record is empty in the stream's columns past
        // its own, and the records before it in the columns it adds.
        const std::size_t columns = record.columns.size();
        for (std::size_t column = columns + 1; column <= columns_; ++column)
            fillEmpty(column, 1, {{1, record.startLine}}, line - 1, 0);
        for (std::size_t column = columns_ + 1; column <= columns; ++column)
            fillEmpty(column, line - 1, firstRecords_, 0, 0);
        columns_ = std::max(columns_, columns);
        if (firstRecords_.size() < WidestLines::kept)
            firstRecords_.push_back({line, record.startLine});
    }
    for (std::size_t s = 0; s < record.columns.size(); ++s) {
        const bool has = record.columns[s] <= record.lastField;
        const std::string_view text = has ? std::string_view(record.texts[s]) : std::string_view();
        for (std::size_t t = s * fonts_; t < (s + 1) * fonts_; ++t)
            countValue(t, line, record.startLine, has ? record.values[t].finish(true) : LineValue{}, text);
    }
    pendingRecord_ = RecordPart{};
}

void PieceCombiner::finish()
{
    const std::lock_guard lock(mutex_);
    if (pending_.present)
        countPending();
    lines_.store(tally_.lineCount, std::memory_order_relaxed);
    if (stream_)
        stream_->decide(tally_.encoding);
}

}  // namespace engine
