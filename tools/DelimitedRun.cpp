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
    if (options.column) {
        const std::string& column = *options.column;
        if (column.find_first_not_of("0123456789") == std::string::npos) {
            format.columnNumber = std::stoul(column);
        } else {
            format.byName = true;
            format.columnName = column;
        }
    }
    return format;
}

std::string columnName(const engine::DelimitedFormat& format, const engine::RecordLayout& layout)
{
    if (format.header && layout.column >= 1 && layout.column <= layout.headerNames.size())
        return layout.headerNames[layout.column - 1];
    return "Column " + std::to_string(layout.column);
}

FormatRecord formatRecord(const engine::DelimitedFormat& format, const engine::RecordLayout& layout)
{
    return FormatRecord{true, layout.delimiter, format.header, columnName(format, layout)};
}

std::string unknownColumnMessage(const std::string& dataFile, const engine::DelimitedFormat& format,
                                 const engine::RecordLayout& layout)
{
    std::string message = "the data file '" + dataFile + "' has no column named '" + format.columnName + "'";
    for (std::size_t i = 0; i < layout.headerNames.size(); ++i)
        message += (i == 0 ? "; its columns are: '" : "', '") + layout.headerNames[i];
    if (!layout.headerNames.empty())
        message += "'";
    return message;
}

}  // namespace tool
