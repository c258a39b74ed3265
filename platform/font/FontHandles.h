#pragma once
// The table of live font handles. Handles are never reused, so a released
// handle stays invalid for the rest of the run.

#include "Font.h"
#include "modFontView.h"

#include <cstddef>
#include <memory>

namespace fontview {

HFONT registerFont(std::shared_ptr<Font> font);
std::shared_ptr<Font> fontOf(HFONT handle);
bool releaseFont(HFONT handle);

// How many fonts are alive: for checking that nothing leaks or is freed twice.
std::size_t liveFontCount();

}  // namespace fontview
