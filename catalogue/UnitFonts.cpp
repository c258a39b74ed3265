#include "UnitFonts.h"

#include "FontAttribute.h"
#include "FontDescription.h"


namespace catalogue {

UnitFonts::UnitFonts(const LOGFONTA& base, int logPixelsY, FaceLookup lookup)
    : base_(base), logPixelsY_(logPixelsY), lookup_(std::move(lookup))
{
}

engine::FontKernel* UnitFonts::widthsFor(const std::string& attribute, std::string& problem)
{
    auto found = byAttribute_.find(attribute);
    if (found == byAttribute_.end())
        found = byAttribute_.emplace(attribute, load(attribute)).first;
    problem = found->second.problem;
    return found->second.widths;
}

UnitFonts::Answer UnitFonts::load(const std::string& attribute)
{
    Answer answer;
    LOGFONTA description = base_;
    if (!attribute.empty()) {
        const std::optional<FontAttribute> font = parseFontAttribute(attribute, answer.problem);
        if (!font)
            return answer;
        if (!font->face.empty()) {
            const std::optional<std::string> face = lookup_(font->face, answer.problem);
            if (!face)
                return answer;
            engine::copyFaceName(description.lfFaceName, *face);
        }
        if (font->pointSize) {
            if (auto tooHigh = pixelHeightProblem(*font->pointSize, logPixelsY_)) {
                answer.problem = std::move(*tooHigh);
                return answer;
            }
            description.lfHeight = -MulDiv(*font->pointSize, logPixelsY_, 72);
        }
        if (font->weight)
            description.lfWeight = *font->weight;
    }
    answer.widths = made(description);
    if (!answer.widths)
        answer.problem = "no font can be made for '" + attribute + "'";
    return answer;
}

engine::FontKernel* UnitFonts::made(const LOGFONTA& description)
{
    // Two spellings of one font share it.
    const std::string key(reinterpret_cast<const char*>(&description), sizeof description);
    auto found = byDescription_.find(key);
    if (found == byDescription_.end()) {
        Loaded loaded;
        loaded.font = std::make_unique<engine::MeasuringFonts>();
        if (loaded.font->add(description))
            loaded.widths = std::make_unique<engine::FontKernel>(*loaded.font->widths().front());
        found = byDescription_.emplace(key, std::move(loaded)).first;
    }
    return found->second.widths.get();
}

}  // namespace catalogue
