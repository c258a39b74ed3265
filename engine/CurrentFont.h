#pragma once
// The one font of the process: the font the preview shows and the
// measurement uses. 0 while no font exists.

#include "modFontView.h"

namespace engine {

extern HFONT CurrentFont;

// Releases the font, if any, and leaves CurrentFont at 0.
void releaseCurrentFont();

// Makes font the current one, releasing whatever was current first, so
// exactly one font is alive afterwards.
void storeCurrentFont(HFONT font);

}  // namespace engine
