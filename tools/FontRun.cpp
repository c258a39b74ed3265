#include "FontRun.h"

#include "AlignedTable.h"
#include "FontDescription.h"
#include "JsonOutput.h"
#include "NumberFormat.h"
#include "OptionTable.h"

#include <algorithm>

namespace tool {

// The sizes to measure in: those listed, or the selections' one; with
// --fit-within and none listed, every size it looks among.
std::vector<std::string> sizesToMeasure(const MeasureOptions& options)
{
    if (!options.sizes.empty())
        return options.sizes;
    if (!options.fitWithin)
        return {options.selections.sizeText};
    std::vector<std::string> sizes;
    for (std::int64_t size = fitWithinSizes.min; size <= fitWithinSizes.max; ++size)
        sizes.push_back(std::to_string(size));
    return sizes;
}

std::vector<FontChoice> fontChoices(const MeasureOptions& options, const std::vector<std::string>& faces,
                                    const std::vector<std::string>& sizes, int logPixelsY)
{
    std::vector<FontChoice> fonts;
    for (const std::string& face : faces) {
        for (const std::string& size : sizes) {
            FontChoice font{face, options.selections, {}};
            font.selections.faceText = face;
            font.selections.sizeText = size;
            engine::describeFont(font.description, font.selections, logPixelsY);
            fonts.push_back(std::move(font));
        }
    }
    return fonts;
}

void printFonts(StandardOutput& out, const MeasureOptions& options, const std::vector<FontChoice>& fonts,
                const engine::CalculationResult& result, const std::vector<std::string>& faceNames)
{
    const FormatRecord format =
        result.delimited ? formatRecord(result.layout, result.targets.front().caption) : FormatRecord{};
    if (options.output == Output::Json) {
        std::string json = "{\"Fonts\":[";
        for (std::size_t f = 0; f < fonts.size(); ++f) {
            const engine::TargetResult& target = result.targets[f];
            if (f > 0)
                json += ',';
            json += resultObject(JsonResult{target.measurement, target.statistics, faceNames[f], format, options.dpi},
                                 fonts[f].selections.sizeText);
        }
        out.write(json + "]}\n");
        return;
    }
    // 99% is the last of the shares; the measured 50% the first.
    constexpr std::size_t p50 = 0, p90 = 4, p95 = 5, p99 = 6;
    std::vector<std::vector<std::string>> rows = {{"Face", "Size", "Lines", "Shortest", "Longest", "Average",
                                                   "Estimated 99%", "Measured 50%", "90%", "95%", "99%"}};
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        const engine::Statistics& s = result.targets[f].statistics;
        rows.push_back({fonts[f].face, fonts[f].selections.sizeText, std::to_string(s.LineCount),
                        std::to_string(s.MinWidth), std::to_string(s.MaxWidth), report::formatWhole(s.AverageWidth),
                        report::formatWhole(s.fits[p99]), std::to_string(s.exactFits[p50]),
                        std::to_string(s.exactFits[p90]), std::to_string(s.exactFits[p95]),
                        std::to_string(s.exactFits[p99])});
    }
    out.write(alignedTable(rows, [](std::size_t column) { return column == 0; }) + "Widths in pixels. The estimate assumes the widths are normally distributed; "
                                      "the measured fits are widths that share of the lines really fit in.\n");
}

}  // namespace tool
