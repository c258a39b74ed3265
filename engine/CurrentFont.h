#pragma once
// The one font of the process: the font the preview shows and that a
// calculation's own font is described like. 0 while no font exists.

#include "FontSelections.h"
#include "modFontView.h"

namespace engine {

// Owns the handle: replacing it releases the old one, so no handle is ever
// released twice or left behind.
class CurrentFontHandle {
public:
    CurrentFontHandle() = default;
    CurrentFontHandle(const CurrentFontHandle&) = delete;
    CurrentFontHandle& operator=(const CurrentFontHandle&) = delete;
    ~CurrentFontHandle() { release(); }

    operator HFONT() const { return handle_; }

    // Makes font the current one, releasing whatever was current first.
    void replace(HFONT font);
    // Releases the font, if any; 0 from then on.
    void release() { replace(0); }

private:
    HFONT handle_ = 0;
};

extern CurrentFontHandle CurrentFont;

// Describes the selections at the screen's resolution and makes the font
// the current one; returns the description. CurrentFont is 0 afterwards
// when no font can be made.
LOGFONTA createCurrentFont(const FontSelections& selections, int logPixelsY);

}  // namespace engine
