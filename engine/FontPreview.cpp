#include "FontPreview.h"

#include "CurrentFont.h"
#include "FontDescription.h"

namespace engine {

void drawFontPreview(BitmapDC& preview, HDC screen, const FontSelections& selections, LOGFONTA& lf)
{
    preview.clear();
    releaseCurrentFont();
    describeFont(lf, selections, GetDeviceCaps(screen, LOGPIXELSY));
    storeCurrentFont(CreateFontIndirectA(&lf));
    if (CurrentFont == 0)
        return;  // nothing to show; the measurement will say so

    const HGDIOBJ previous = SelectObject(&preview, CurrentFont);
    // The whole name is drawn: the count is its length in bytes.
    TextOutA(&preview, 5, 5, selections.faceText.c_str(), static_cast<int>(selections.faceText.size()));
    SelectObject(&preview, previous);
}

}  // namespace engine
