#pragma once
// The fonts a catalogue's strings are measured in: the font options' own,
// and one for each distinct font that units name, made the first time a
// unit names it and kept for the others.

#include "FontKernel.h"
#include "MeasuringFonts.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace catalogue {

// The installed face a name stands for, in the font list's spelling; or
// nothing, with why in problem.
using FaceLookup = std::function<std::optional<std::string>(const std::string& requested, std::string& problem)>;

class UnitFonts {
public:
    // base: the description the font options give; a unit's font replaces
    // its face, height (at logPixelsY) and weight.
    UnitFonts(const LOGFONTA& base, int logPixelsY, FaceLookup lookup);

    // The widths for a unit's font attribute, "" for the base font. Null,
    // with why in problem, when that font cannot be had.
    engine::FontKernel* widthsFor(const std::string& attribute, std::string& problem);

private:
    struct Loaded {
        std::unique_ptr<engine::MeasuringFonts> font;
        std::unique_ptr<engine::FontKernel> widths;
    };
    struct Answer {
        engine::FontKernel* widths = nullptr;
        std::string problem;
    };

    Answer load(const std::string& attribute);
    engine::FontKernel* made(const LOGFONTA& description);

    LOGFONTA base_;
    int logPixelsY_;
    FaceLookup lookup_;
    std::map<std::string, Answer> byAttribute_;
    std::map<std::string, Loaded> byDescription_;
};

}  // namespace catalogue
