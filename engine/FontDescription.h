#pragma once
// Turns the font selections into the LOGFONT the font is created from.

#include "FontSelections.h"
#include "modFontView.h"

#include <string_view>

namespace engine {

// The numeric value of the size text, rounded to the nearest whole number
// with halves going to the even neighbour; empty or unreadable text is 0.
int pointSizeFromText(std::string_view text);

// Copies a UTF-8 face name into lfFaceName: never past the field, always
// ending with a zero byte inside it; a longer name is cut to 31 bytes on a
// character boundary.
void copyFaceName(char (&field)[LF_FACESIZE], std::string_view name);

// Fills every field that a selection decides; the angle fields are 0.
void describeFont(LOGFONTA& lf, const FontSelections& selections, int logPixelsY);

}  // namespace engine
