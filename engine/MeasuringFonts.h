#pragma once
// Fonts a measurement owns, made from their descriptions, with their
// widths for the engine: released when the measurement ends, so a repaint
// that replaces CurrentFont meanwhile never touches them. Each stays
// selected into a context of its own while it lives.

#include "CharWidths.h"
#include "modFontView.h"

#include <list>
#include <string>
#include <vector>

namespace engine {

class MeasuringFonts {
public:
    MeasuringFonts();
    ~MeasuringFonts();
    MeasuringFonts(const MeasuringFonts&) = delete;
    MeasuringFonts& operator=(const MeasuringFonts&) = delete;

    // Makes the font; false when the font layer cannot make it.
    bool add(const LOGFONTA& description);

    // Their widths, in the order added.
    const std::vector<const FontWidths*>& widths() const { return widths_; }
    // The face the font layer chose for the i-th.
    std::string faceName(std::size_t i) const;

private:
    class Own;
    std::list<Own> fonts_;  // a font stays where it is made
    std::list<FontWidths> owned_;
    std::vector<const FontWidths*> widths_;
};

}  // namespace engine
