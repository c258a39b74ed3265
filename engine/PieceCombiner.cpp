#include "PieceCombiner.h"

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

void PieceCombiner::apply(PieceResult& result)
{
    if (result.brokeUtf8)
        tally_.validUtf8 = false;
    if (result.head.present) {
        pending_.present = true;
        pending_.value.append(result.head.value);
        if (pending_.text.size() < segmentTextBytes_)
            pending_.text.append(result.head.text, 0, segmentTextBytes_ - pending_.text.size());
        if (result.head.ended)
            countPending();
    }
    const std::uint64_t before = tally_.lineCount, linesBefore = tally_.physicalLines;
    LineTally* const readings[] = {&tally_.common, &tally_.utf8, &tally_.windows1252};
    for (std::size_t reading = 0; reading < result.widest.size(); ++reading) {
        result.widest[reading].shiftLines(before, linesBefore);
        readings[reading]->widest.merge(result.widest[reading]);
    }
    for (WideRecord& record : result.tooWide) {
        record.line += before;
        if (record.startLine != 0)
            record.startLine += linesBefore;
        tally_.tooWide.push_back(std::move(record));
    }
    if (result.unclosedQuoteLine != 0)
        unclosedQuoteLine_ = linesBefore + result.unclosedQuoteLine;
    tally_.lineCount += result.lines;
    tally_.physicalLines += result.physicalLines;
    if (result.tail.present)
        pending_ = std::move(result.tail);
    lines_.store(tally_.lineCount, std::memory_order_relaxed);
}

void PieceCombiner::countPending()
{
    const std::uint64_t line = ++tally_.lineCount;
    const LineValue& value = pending_.value;
    const std::string_view text = pending_.text;
    if (!value.dual) {
        tally_.common.widths.add(value.width);
        tally_.common.widest.offer(line, value.width, text);
    } else {
        tally_.utf8.widths.add(value.width);
        tally_.utf8.widest.offer(line, value.width, text);
        tally_.windows1252.widths.add(value.widthWindows1252);
        tally_.windows1252.widest.offer(line, value.widthWindows1252, text);
    }
    if (maxWidth_ && std::max(value.width, value.widthWindows1252) > *maxWidth_)
        tally_.tooWide.push_back(WideRecord{line, 0, value.width, value.widthWindows1252,
                                            std::string(text.substr(0, recordTextBytes))});
    pending_ = Segment{};
}

void PieceCombiner::finish()
{
    const std::lock_guard lock(mutex_);
    if (pending_.present)
        countPending();
    lines_.store(tally_.lineCount, std::memory_order_relaxed);
}

}  // namespace engine
