#pragma once
// How wide to make a column of a table: the width its values fit in at a
// chosen share, or its header where that is wider, in pixels and in the
// units a spreadsheet sets a column's width in.
//
// A spreadsheet counts a column's width in characters of its default
// font's widest digit (the maximum digit width, MDW, in whole pixels). A
// width of T pixels is T / MDW characters, to the hundredth, as its Column
// Width box shows and its set-column calls take them; the file stores the
// width with the cell's padding (two pixels each side and one for the
// gridline), in 256ths of a character.

#include "CharWidths.h"
#include "WidthStatistics.h"

#include <array>
#include <cstdint>
#include <optional>

namespace engine {

// The shares a column can be sized for: the measured fits, and 100 for the
// longest value.
inline constexpr std::array<int, 8> sizingShares{50, 60, 70, 80, 90, 95, 99, 100};
inline constexpr int longestShare = 100;

// A column's pixels beside its text: two each side and the gridline.
inline constexpr std::int64_t cellPadding = 5;

struct SpreadsheetWidth {
    std::int64_t hundredths = 0;  // characters, times 100
    std::int64_t units = 0;       // the stored width, times 256

    double characters() const { return static_cast<double>(hundredths) / 100; }
    double width() const { return static_cast<double>(units) / 256; }
    bool operator==(const SpreadsheetWidth&) const = default;
};

// Characters Truncate(T / MDW * 100 + 0.5) / 100 and stored width
// Truncate((T + 5) / MDW * 256) / 256, exactly. An MDW below 1 counts as 1.
SpreadsheetWidth spreadsheetWidth(std::int64_t pixels, std::int64_t maxDigitWidth);

// The widest of the digits 0 to 9 in a font, in whole pixels.
std::int64_t maxDigitWidth(const FontWidths& font);

// The width a column's values are sized for at a share of sizingShares:
// its longest value for 100, else the measured fit. Nothing for another share.
std::optional<std::int64_t> fitWidth(const Statistics& statistics, int share);

// Whether a share is one of sizingShares.
bool isSizingShare(int share);

}  // namespace engine
