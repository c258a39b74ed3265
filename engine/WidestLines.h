#pragma once
// The widest lines of a file: the records that stick out. Kept as the ten
// widest, the earlier line first among equal widths, so the list is the
// same however the file was split up to be measured.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct WideLine {
    std::uint64_t line = 0;  // counted from 1; in delimited text the record, the header being 0
    std::int64_t width = 0;
    std::string text;  // the line's first bytes (see textBytes), or its decoded text
    std::uint64_t startLine = 0;  // delimited text: the line the record starts on
    std::size_t target = 0;       // check mode's lines: the target it is too wide for
    std::size_t column = 0;       // check mode's lines of delimited text: the target's column, from 1

    bool operator==(const WideLine&) const = default;
};

class WidestLines {
public:
    static constexpr std::size_t kept = 10;
    // A line's first textCharacters characters are shown, then "…" when
    // there is more: enough bytes for them in any encoding read, and a few
    // past them to tell.
    static constexpr std::size_t textCharacters = 4096;
    static constexpr std::size_t textBytes = 4 * textCharacters + 4;

    // Whether a line of this width could enter the list: a cheap test for
    // the measuring loop before it gathers the line's text.
    bool mayEnter(std::int64_t width) const { return width >= floor_; }

    // Offers a line; its text is cut to textBytes.
    void offer(std::uint64_t line, std::int64_t width, std::string_view text, std::uint64_t startLine = 0);
    void merge(const WidestLines& other);
    // Adds offsets to every line number and start line: for a part that
    // began after that many lines (and, in delimited text, physical lines).
    void shiftLines(std::uint64_t offset, std::uint64_t startLineOffset = 0);

    // Widest first.
    const std::vector<WideLine>& lines() const { return lines_; }
    std::vector<WideLine>& lines() { return lines_; }

private:
    void insert(WideLine entry);

    std::vector<WideLine> lines_;
    std::int64_t floor_ = std::numeric_limits<std::int64_t>::min();
};

}  // namespace engine
