#include "TableRun.h"

#include "ColumnJson.h"
#include "ColumnRows.h"
#include "DeviceContext.h"
#include "FontDescription.h"

namespace tool {

std::optional<std::string> tableOutput(const MeasureOptions& options, const engine::CalculationResult& result,
                                       const engine::FontSelections& selections, const LOGFONTA& font,
                                       const std::string& face, const std::string& dataFilePath,
                                       std::string_view decimalSeparator)
{
    engine::FontSelections headerSelections = selections;
    if (options.headerWeight)
        headerSelections.weightIndex = *options.headerWeight;
    LOGFONTA headerFont{};
    engine::describeFont(headerFont, headerSelections, GetDeviceCaps(GetScreenDC(), LOGPIXELSY));
    const std::optional<report::ColumnTable> table = report::columnTable(result, font, headerFont, options.fit);
    if (!table)
        return std::nullopt;
    const TablePrint print{result, *table, selections, face, headerSelections.weightText(), options.fit, dataFilePath,
                           options.dpi};
    return options.output == Output::Json ? columnTableJson(print) : columnTableText(print, decimalSeparator);
}

std::optional<std::string> fontTablesOutput(const MeasureOptions& options, engine::CalculationResult result,
                                            const std::vector<FontChoice>& fonts,
                                            const std::vector<std::string>& faceNames,
                                            const std::string& dataFilePath, std::string_view decimalSeparator)
{
    std::vector<engine::TargetResult> targets = std::move(result.targets);
    result.tally.targets.clear();  // a table reads only the counts all targets share
    const bool json = options.output == Output::Json;
    std::string out = json ? "{\"Fonts\":[" : "";
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        result.targets.clear();
        for (std::size_t t = f; t < targets.size(); t += fonts.size())
            result.targets.push_back(std::move(targets[t]));
        const std::optional<std::string> table = tableOutput(options, result, fonts[f].selections, fonts[f].description,
                                                             faceNames[f], dataFilePath, decimalSeparator);
        if (!table)
            return std::nullopt;
        if (f > 0)
            out += json ? "," : "\n";
        out += json ? table->substr(0, table->size() - 1) : *table;  // each object without its line end
    }
    return json ? out + "]}\n" : out;
}

}  // namespace tool
