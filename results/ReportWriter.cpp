#include "ReportWriter.h"

#include "NumberFormat.h"
#include "PrintablePath.h"

namespace report {

std::string pixelsText(std::int64_t width) { return std::to_string(width) + (width == 1 ? " pixel" : " pixels"); }

std::string columnSuffix(const ReportInput& input) { return input.delimited ? ", column " + input.column : ""; }

std::string yesNo(int checkState) { return checkState == 1 ? "Yes" : "No"; }

std::string widthDescription(const std::string& widthText)
{
    if (widthText == "Normal")
        return widthText;
    if (widthText == "1")
        return widthText + " pixel";
    return widthText + " pixels";
}

ResultValues resultValues(const ReportInput& input, std::string_view decimalSeparator, std::string_view unit)
{
    const engine::FontSelections& s = input.selections;
    const engine::Statistics& r = input.statistics;
    const std::string suffix(unit);

    ResultValues v;
    v.fontFace = s.faceText;
    v.fontSize = s.sizeText;
    v.italic = yesNo(s.italic);
    v.underline = yesNo(s.underline);
    v.strikeOut = yesNo(s.strikeOut);
    v.weight = s.weightText();
    v.width = widthDescription(s.widthText);
    v.minimum = formatWhole(static_cast<double>(r.MinWidth)) + suffix;
    v.maximum = formatWhole(static_cast<double>(r.MaxWidth)) + suffix;
    v.average = formatWhole(r.AverageWidth) + suffix;
    v.stdDeviation = formatOneDecimal(r.StdDeviation, decimalSeparator) + suffix;
    for (std::size_t i = 0; i < r.fits.size(); ++i)
        v.fitLines[i] = std::to_string(engine::fitShares[i]) + "% of the data will fit within " +
                        formatWhole(r.fits[i]) + suffix;
    return v;
}

std::array<std::string, 7> measuredLines(const engine::Statistics& statistics, std::string_view unit)
{
    std::array<std::string, 7> lines;
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = std::to_string(engine::fitShares[i]) + "% of the lines fit within " +
                   std::to_string(statistics.exactFits[i]) + std::string(unit);
    return lines;
}

std::vector<std::string> reportLines(const ReportInput& input, std::string_view decimalSeparator)
{
    const ResultValues v = resultValues(input, decimalSeparator, reportUnit);
    std::vector<std::string> lines{
        "Font Face: " + v.fontFace,
        "Font Size: " + v.fontSize,
        "Italic: " + v.italic,
        "Underline: " + v.underline,
        "Strikethrough: " + v.strikeOut,
        "Weight: " + v.weight,
        "Width: " + v.width,
        "Data File: " + printablePath(input.dataFilePath) + columnSuffix(input),
        "",
        "Minimum Length: " + v.minimum,
        "Maximum Length: " + v.maximum,
        "Average Length: " + v.average,
        "Standard Deviation: " + v.stdDeviation,
        "",
    };
    lines.insert(lines.end(), v.fitLines.begin(), v.fitLines.end());
    return lines;
}

std::string reportText(const ReportInput& input, std::string_view decimalSeparator)
{
    std::string text;
    for (const std::string& line : reportLines(input, decimalSeparator))
        text += line + "\r\n";
    return text;
}

std::string proposedReportName(const ReportInput& input)
{
    // Two columns of one file get reports of their own.
    std::string name = input.selections.faceText + " " + input.selections.sizeText + " point - " +
                       input.dataFileTitle + columnSuffix(input) + ".txt";
    for (char& c : name)
        if (c == '/' || c == '\0')
            c = '_';
    return name;
}

}  // namespace report
