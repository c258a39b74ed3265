#pragma once
// How wide a catalogue string is drawn: the width of its widest line, each
// line the plain sum of its characters' widths, as a data file's lines are
// measured. Until the measuring kernel offers a measure of one text, this
// is it; it will move there.

#include "CatalogueMessage.h"
#include "CharWidths.h"

#include <optional>

namespace catalogue {

// With placeholderWidth, every placeholder (those markup marks and those
// written in the text) counts that many pixels instead of its characters.
std::int64_t widestLine(const Text& text, engine::ThreadWidths& widths,
                        std::optional<std::int64_t> placeholderWidth = std::nullopt);

}  // namespace catalogue
