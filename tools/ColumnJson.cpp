#include "ColumnJson.h"

#include "JsonOutput.h"

namespace tool {

std::string columnTableJson(const TablePrint& print)
{
    const engine::CalculationResult& result = print.result;
    std::string out = "{\"Columns\":[";
    for (std::size_t i = 0; i < print.table.rows.size(); ++i) {
        const report::ColumnRow& row = print.table.rows[i];
        const engine::TargetResult& target = result.targets[i];
        if (i > 0)
            out += ',';
        out += "{\"Number\":" + std::to_string(row.number) + ",\"Column\":" + jsonString(row.caption) + "," +
               statisticsFields(target.measurement, target.statistics, true) +
               ",\"HeaderWidth\":" + std::to_string(row.headerWidth) +
               ",\"SizedWidth\":" + std::to_string(row.sizedWidth) +
               ",\"ExcelCharacters\":" + report::trimmedDecimal(row.sheet.characters(), 2, ".") +
               ",\"ExcelWidth\":" + report::trimmedDecimal(row.sheet.width(), 8, ".") + "}";
    }
    out += "],\"MaxDigitWidth\":" + std::to_string(print.table.maxDigitWidth) +
           ",\"Fit\":" + std::to_string(print.fitShare) + ",\"HeaderWeight\":" + jsonString(print.headerWeight) +
           ",\"Face\":" + jsonString(print.face) + ",\"Size\":" + jsonString(print.selections.sizeText) + ",\"Dpi\":" + std::to_string(print.dpi) +
           ",\"Encoding\":" + jsonString(engine::encodingName(result.encoding())) +
           ",\"Records\":" + std::to_string(result.tally.lineCount) +
           ",\"LongRecords\":" + std::to_string(result.tally.longRecords) + "}\n";
    return out;
}

}  // namespace tool
