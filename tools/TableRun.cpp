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

}  // namespace tool
