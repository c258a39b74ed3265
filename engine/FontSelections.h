#pragma once
// What the user has selected in the main window, as its controls hold it.
// The controls are the state; this is a copy taken at the moment of use.

#include <array>
#include <string>
#include <string_view>

namespace engine {

struct FontSelections {
    std::string faceText;    // the face name, as listed
    std::string sizeText;    // "1".."144", or empty while nothing is selected
    int italic = 0;          // check states: 1 checked, anything else not
    int underline = 0;
    int strikeOut = 0;
    int weightIndex = -1;    // list positions, -1 while nothing is selected
    int widthIndex = -1;
    std::string widthText;   // "Normal", "1".."100"

    // "Thin" .. "Heavy", from the position; empty while nothing is selected.
    std::string weightText() const;
};

// The weight list, in order: a weight's position times 100 is its weight.
inline constexpr std::array<std::string_view, 9> weightNames{
    "Thin", "Extra Light", "Light", "Normal", "Medium", "Semi Bold", "Bold", "Extra Bold", "Heavy"};

inline std::string FontSelections::weightText() const
{
    if (weightIndex < 0 || weightIndex >= static_cast<int>(weightNames.size()))
        return {};
    return std::string(weightNames[static_cast<std::size_t>(weightIndex)]);
}

// The size list holds 1 to 144 points, for every face; the width list
// "Normal", then an average character width of 1 to 100 pixels.
inline constexpr int smallestListedPointSize = 1;
inline constexpr int largestListedPointSize = 144;
inline constexpr int largestCharacterWidth = 100;
inline constexpr std::string_view normalWidth = "Normal";

// What the main window selects at start-up, the face aside (the first
// font of the list): size 8, weight Normal, width Normal.
inline FontSelections defaultSelections()
{
    FontSelections s;
    s.sizeText = "8";
    s.weightIndex = 3;
    s.widthIndex = 0;
    s.widthText = std::string(normalWidth);
    return s;
}

}  // namespace engine
