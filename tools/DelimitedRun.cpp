#include "DelimitedRun.h"

namespace tool {

std::optional<engine::DelimitedFormat> delimitedFormat(const MeasureOptions& options)
{
    if (!readsDelimited(options))
        return std::nullopt;
    engine::DelimitedFormat format = engine::formatForName(options.files.empty() ? "" : options.files.front());
    if (options.delimiter) {
        format.delimiter = *options.delimiter;
        format.semicolonsIfNoCommas = false;
    }
    format.header = !options.noHeader;
    format.allColumns = options.allColumns;
    for (const std::string& column : options.columns)
        format.columns.push_back(engine::ColumnChoice::byText(column));
    return format;
}

std::string unknownColumnMessage(const std::string& dataFile, const engine::ColumnChoice& column,
                                 const engine::RecordLayout& layout)
{
    const std::string named = column.number != 0 ? std::to_string(column.number) : column.text;
    if (!layout.header)
        return "the data file '" + dataFile + "' has no column " + named + ": no record has that many fields";
    std::string message = "the data file '" + dataFile + "' has no column named '" + named + "'";
    for (std::size_t i = 0; i < layout.headerNames.size(); ++i)
        message += (i == 0 ? "; its columns are: '" : "', '") + layout.headerNames[i];  // as written: names to type
    if (!layout.headerNames.empty())
        message += "'";
    return message;
}

}  // namespace tool
