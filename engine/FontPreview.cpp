#include "FontPreview.h"

#include "CurrentFont.h"
#include "SelectedFont.h"
#include "Utf8.h"

#include <cmath>
#include <vector>

namespace engine {

namespace {

// The name drawn at scale times its size, each character placed at scale
// times the position the measured (1x) widths give it. Positions are
// rounded from the running total, so rounding never adds up along the line.
void drawScaled(BitmapDC& preview, const std::string& text, const LOGFONTA& lf, double scale)
{
    const std::u32string characters = fontview::decodeUtf8(text);
    std::vector<std::int32_t> advances(characters.size());
    const auto at = [scale](long long position) { return static_cast<int>(std::lround(position * scale)); };
    long long measured = 5;
    {
        const SelectedFont measuring(&preview, CurrentFont);
        for (std::size_t i = 0; i < characters.size(); ++i) {
            std::int32_t width = 0;
            GetCharWidth32A(&preview, characters[i], characters[i], &width);
            advances[i] = at(measured + width) - at(measured);
            measured += width;
        }
    }

    LOGFONTA large = lf;
    large.lfHeight = static_cast<std::int32_t>(std::lround(lf.lfHeight * scale));
    large.lfWidth = static_cast<std::int32_t>(std::lround(lf.lfWidth * scale));
    if (const HFONT font = CreateFontIndirectA(&large)) {
        {
            const SelectedFont drawing(&preview, font);
            ExtTextOutA(&preview, at(5), at(5), 0, nullptr, text.c_str(), static_cast<unsigned>(text.size()),
                        advances.data());
        }
        DeleteObject(font);
    }
}

}  // namespace

void drawFontPreview(BitmapDC& preview, HDC screen, const FontSelections& selections, LOGFONTA& lf, double scale)
{
    preview.clear();
    lf = createCurrentFont(selections, GetDeviceCaps(screen, LOGPIXELSY));
    if (CurrentFont == 0)
        return;  // nothing to show; the measurement will say so

    if (scale != 1.0 && scale > 0) {
        drawScaled(preview, selections.faceText, lf, scale);
        return;
    }
    const SelectedFont drawing(&preview, CurrentFont);
    // The whole name is drawn: the count is its length in bytes.
    TextOutA(&preview, 5, 5, selections.faceText.c_str(), static_cast<int>(selections.faceText.size()));
}

}  // namespace engine
