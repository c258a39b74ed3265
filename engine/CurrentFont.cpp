#include "CurrentFont.h"

namespace engine {

HFONT CurrentFont = 0;

void releaseCurrentFont()
{
    if (CurrentFont != 0) {
        DeleteObject(CurrentFont);
        CurrentFont = 0;
    }
}

void storeCurrentFont(HFONT font)
{
    if (font == CurrentFont)
        return;
    releaseCurrentFont();
    CurrentFont = font;
}

}  // namespace engine
