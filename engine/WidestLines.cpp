#include "WidestLines.h"

#include <algorithm>

namespace engine {

namespace {

// Wider first; among equal widths the earlier line.
bool before(const WideLine& a, const WideLine& b)
{
    return a.width != b.width ? a.width > b.width : a.line < b.line;
}

}  // namespace

void WidestLines::offer(std::uint64_t line, std::int64_t width, std::string_view text, std::uint64_t startLine)
{
    if (!mayEnter(width))
        return;
    insert(WideLine{line, width, std::string(text.substr(0, textBytes)), startLine});
}

void WidestLines::insert(WideLine entry)
{
    if (lines_.size() == kept && !before(entry, lines_.back()))
        return;
    lines_.insert(std::upper_bound(lines_.begin(), lines_.end(), entry, before), std::move(entry));
    if (lines_.size() > kept)
        lines_.pop_back();
    if (lines_.size() == kept)
        floor_ = lines_.back().width;
}

void WidestLines::merge(const WidestLines& other)
{
    for (const WideLine& entry : other.lines_)
        insert(entry);
}

void WidestLines::shiftLines(std::uint64_t offset, std::uint64_t startLineOffset)
{
    for (WideLine& entry : lines_) {
        entry.line += offset;
        if (entry.startLine != 0)
            entry.startLine += startLineOffset;
    }
}

}  // namespace engine
