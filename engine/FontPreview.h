#pragma once
// Draws the preview of the selected font and makes it the current font:
// clear the preview, release the old font, describe and create the new
// one, and draw the face name in it at (5, 5).
//
// On a screen with several device pixels to a pixel (scale 2 at 192 dpi),
// the preview is a bitmap of device pixels: the name is drawn from a font
// made at the scaled size, each character at scale times its measured
// position, so the sharper picture still shows exactly what is measured.

#include "DeviceContext.h"
#include "FontSelections.h"
#include "modFontView.h"

namespace engine {

// screen answers the resolution; preview is cleared and drawn on. lf is the
// caller's own record, refilled on every call; it always describes the 1x
// font, the one measured with.
void drawFontPreview(BitmapDC& preview, HDC screen, const FontSelections& selections, LOGFONTA& lf,
                     double scale = 1.0);

}  // namespace engine
