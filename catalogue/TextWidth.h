#pragma once
// How wide a catalogue string is drawn: the width of its widest line, each
// line summed by the measuring kernel as a data file's lines are.

#include "CatalogueMessage.h"
#include "FontKernel.h"

#include <optional>

namespace catalogue {

// With placeholderWidth, every placeholder (those markup marks and those
// written in the text) counts that many pixels instead of its characters.
std::int64_t widestLine(const Text& text, engine::FontKernel& font,
                        std::optional<std::int64_t> placeholderWidth = std::nullopt);

}  // namespace catalogue
