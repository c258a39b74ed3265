#pragma once
// A catalogue's font for one string, as XLIFF writes it: "face;size;weight"
// (size in points, weight a name such as bold or a number such as 700;
// both may be left out, and a fourth part, the encoding, is ignored).

#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

struct FontAttribute {
    std::string face;  // empty: the font options' face
    std::optional<int> pointSize;
    std::optional<int> weight;  // as LOGFONT's lfWeight

    bool operator==(const FontAttribute&) const = default;
};

// Says what is wrong with the text in problem when it cannot be read.
std::optional<FontAttribute> parseFontAttribute(std::string_view text, std::string& problem);

// Why a point size cannot be drawn at a resolution, if it cannot: the font
// layer draws fonts 1 to maxPixelHeight pixels high.
std::optional<std::string> pixelHeightProblem(int pointSize, int logPixelsY);

}  // namespace catalogue
