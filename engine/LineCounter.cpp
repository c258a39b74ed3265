#include "LineCounter.h"

#include "CsvText.h"

#include <algorithm>

namespace engine {

void LineCounter::start(PieceResult& out, StreamTally& tally, Encoding encoding, char delimiter)
{
    out_ = &out;
    tally_ = &tally;
    encoding_ = encoding;
    delimiter_ = delimiter;
    reserve(candidates_.size());
}

void LineCounter::reserve(std::size_t targets)
{
    candidates_.resize(std::max(targets, candidates_.size()));
    if (tally_->targets.size() < candidates_.size())
        tally_->targets.resize(candidates_.size());
}

void LineCounter::finish()
{
    out_->widest.resize(std::max(out_->widest.size(), candidates_.size()));
    const auto text = [this](const TextSpan& span) { return this->text(span, WidestLines::textBytes); };
    for (std::size_t t = 0; t < candidates_.size(); ++t)
        candidates_[t].forEachWith(out_->widest[t], [&](Candidates& c, WidestLines& widest) { c.takeInto(widest, text); });
    out_ = nullptr;
    tally_ = nullptr;
}

std::string LineCounter::text(const TextSpan& span, std::size_t maxBytes) const
{
    if (span.quoted)
        return csv::fieldText(span.begin, span.end, encoding_, delimiter_, maxBytes, span.from);
    return std::string(reinterpret_cast<const char*>(span.begin), std::min<std::size_t>(span.end - span.begin, maxBytes));
}

}  // namespace engine
