#include "FontAttribute.h"

#include "FontDescription.h"
#include "FontSelections.h"
#include "Words.h"
#include "modFontView.h"

#include <cctype>
#include <charconv>

namespace catalogue {

namespace {

// Lower case without spaces, hyphens and underscores: "Semi Bold",
// "semi-bold" and "SemiBold" are one name.
std::string squeezed(std::string_view text)
{
    std::string out;
    for (const char c : text)
        if (c != ' ' && c != '-' && c != '_')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A name of the weight list, as the main window turns it into a weight
// (regular is Normal), or a weight by number as LOGFONT takes it (400
// normal, 700 bold).
std::optional<int> weightOf(std::string_view text)
{
    const std::string name = squeezed(text) == "regular" ? std::string("normal") : squeezed(text);
    for (std::size_t i = 0; i < engine::weightNames.size(); ++i)
        if (squeezed(engine::weightNames[i]) == name)
            return static_cast<int>(i) * 100;
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc() && end == text.data() + text.size() && number >= 1 && number <= 1000)
        return number;
    return std::nullopt;
}

}  // namespace

std::optional<FontAttribute> parseFontAttribute(std::string_view text, std::string& problem)
{
    FontAttribute font;
    std::string_view parts[3];
    for (std::string_view& part : parts) {
        const std::size_t semicolon = text.find(';');
        part = trimmed(text.substr(0, semicolon));
        text = semicolon == std::string_view::npos ? std::string_view() : text.substr(semicolon + 1);
    }
    font.face = std::string(parts[0]);
    if (!parts[1].empty()) {
        const int size = engine::pointSizeFromText(parts[1]);
        if (size < 1) {
            problem = "the font size '" + std::string(parts[1]) + "' is not a number of points";
            return std::nullopt;
        }
        font.pointSize = size;
    }
    if (!parts[2].empty()) {
        font.weight = weightOf(parts[2]);
        if (!font.weight) {
            problem = "the font weight '" + std::string(parts[2]) + "' is not bold, normal, another weight name or 1 to 1000";
            return std::nullopt;
        }
    }
    return font;
}

std::optional<std::string> pixelHeightProblem(int pointSize, int logPixelsY)
{
    const int height = MulDiv(pointSize, logPixelsY, 72);
    if (height >= 1 && height <= maxPixelHeight)
        return std::nullopt;
    return "a " + std::to_string(pointSize) + "-point font at " + std::to_string(logPixelsY) + " dpi is " +
           (height < 0 ? std::string("too many") : std::to_string(height)) + " pixels high; fonts can be 1 to " +
           std::to_string(maxPixelHeight) + " pixels high";
}

}  // namespace catalogue
