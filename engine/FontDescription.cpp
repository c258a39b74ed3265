#include "FontDescription.h"

#include "Utf8.h"

#include <charconv>
#include <cmath>
#include <climits>
#include <cstring>

namespace engine {

int pointSizeFromText(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (error != std::errc() || !std::isfinite(value))
        return 0;
    const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
    if (rounded >= INT_MAX)
        return INT_MAX;
    if (rounded <= INT_MIN)
        return INT_MIN;
    return static_cast<int>(rounded);
}

void copyFaceName(char (&field)[LF_FACESIZE], std::string_view name)
{
    const std::string_view fitting = fontview::cutUtf8(name, LF_FACESIZE - 1);
    std::memset(field, 0, LF_FACESIZE);
    std::memcpy(field, fitting.data(), fitting.size());
}

void describeFont(LOGFONTA& lf, const FontSelections& selections, int logPixelsY)
{
    lf.lfHeight = -MulDiv(pointSizeFromText(selections.sizeText), logPixelsY, 72);
    lf.lfWidth = selections.widthIndex;
    lf.lfItalic = selections.italic == 1 ? 1 : 0;
    lf.lfUnderline = selections.underline == 1 ? 1 : 0;
    lf.lfStrikeOut = selections.strikeOut == 1 ? 1 : 0;
    // The list position times 100: "Normal" gives 300, which still selects
    // the regular face.
    lf.lfWeight = selections.weightIndex * 100;
    lf.lfOutPrecision = 0;
    lf.lfClipPrecision = 0;
    lf.lfQuality = 0;
    lf.lfPitchAndFamily = 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    copyFaceName(lf.lfFaceName, selections.faceText);
}

}  // namespace engine
