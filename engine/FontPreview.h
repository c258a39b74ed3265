#pragma once
// Draws the preview of the selected font and makes it the current font:
// clear the preview, release the old font, describe and create the new
// one, and draw the face name in it at (5, 5).

#include "DeviceContext.h"
#include "FontSelections.h"
#include "modFontView.h"

namespace engine {

// screen answers the resolution; preview is cleared and drawn on. lf is the
// caller's own record, refilled on every call.
void drawFontPreview(BitmapDC& preview, HDC screen, const FontSelections& selections, LOGFONTA& lf);

}  // namespace engine
