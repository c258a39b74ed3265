#include "ColumnSizing.h"

#include <algorithm>

namespace engine {

SpreadsheetWidth spreadsheetWidth(std::int64_t pixels, std::int64_t maxDigitWidth)
{
    const std::int64_t mdw = std::max<std::int64_t>(maxDigitWidth, 1);
    // Whole numbers throughout: T / MDW * 100 + 0.5 is (200 T + MDW) / (2 MDW),
    // and C++ division truncates toward zero as Truncate does.
    return SpreadsheetWidth{(200 * pixels + mdw) / (2 * mdw), (pixels + cellPadding) * 256 / mdw};
}

std::int64_t maxDigitWidth(const FontWidths& font)
{
    const WidthTable& table = font.table();
    return *std::max_element(table.begin() + ('0' - firstTableCode), table.begin() + ('9' - firstTableCode) + 1);
}

bool isSizingShare(int share)
{
    return std::find(sizingShares.begin(), sizingShares.end(), share) != sizingShares.end();
}

std::optional<std::int64_t> fitWidth(const Statistics& statistics, int share)
{
    if (share == longestShare)
        return statistics.MaxWidth;
    const auto at = std::find(fitShares.begin(), fitShares.end(), share);
    if (at == fitShares.end())
        return std::nullopt;
    return statistics.exactFits[static_cast<std::size_t>(at - fitShares.begin())];
}

}  // namespace engine
