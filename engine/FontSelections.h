#pragma once
// What the user has selected in the main window, as its controls hold it.
// The controls are the state; this is a copy taken at the moment of use.

#include <string>

namespace engine {

struct FontSelections {
    std::string faceText;    // the face name, as listed
    std::string sizeText;    // "1".."144", or empty while nothing is selected
    int italic = 0;          // check states: 1 checked, anything else not
    int underline = 0;
    int strikeOut = 0;
    int weightIndex = -1;    // list positions, -1 while nothing is selected
    std::string weightText;  // "Thin" .. "Heavy"
    int widthIndex = -1;
    std::string widthText;   // "Normal", "1".."100"
};

}  // namespace engine
