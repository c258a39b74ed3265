#pragma once
// The face the font layer chose for a font: what the JSON's "Face" names,
// which may differ from the face asked for.

#include "modFontView.h"

#include <string>

namespace tool {

std::string chosenFaceName(HFONT font);

}  // namespace tool
