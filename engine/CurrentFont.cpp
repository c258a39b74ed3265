#include "CurrentFont.h"

#include "FontDescription.h"

namespace engine {

CurrentFontHandle CurrentFont;

void CurrentFontHandle::replace(HFONT font)
{
    if (font == handle_)
        return;
    if (handle_ != 0)
        DeleteObject(handle_);
    handle_ = font;
}

LOGFONTA createCurrentFont(const FontSelections& selections, int logPixelsY)
{
    LOGFONTA lf{};
    describeFont(lf, selections, logPixelsY);
    // The old font goes first, so only one is ever alive.
    CurrentFont.release();
    CurrentFont.replace(CreateFontIndirectA(&lf));
    return lf;
}

}  // namespace engine
