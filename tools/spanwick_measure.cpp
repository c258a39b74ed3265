// spanwick-measure: the program's measurement for scripts and for machines
// without a display. Same engine, same report, same messages.

#include "AppInfo.h"
#include "CalculateWidth.h"
#include "CurrentFont.h"
#include "DeviceContext.h"
#include "FontCatalog.h"
#include "FontDescription.h"
#include "FontNames.h"
#include "MeasureOptions.h"
#include "ReportWriter.h"

#include <QLocale>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

enum ExitStatus { Success = 0, DataProblem = 1, UsageError = 2 };

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

std::string selectedFaceName(HDC dc)
{
    char name[LF_FACESIZE];
    const HGDIOBJ previous = SelectObject(dc, engine::CurrentFont);
    GetTextFaceA(dc, LF_FACESIZE, name);
    SelectObject(dc, previous);
    return name;
}

int listFonts()
{
    for (const std::string& name : platform::sortedFontNames(platform::installedScreenFonts()))
        std::cout << name << '\n';
    return Success;
}

int printCharWidths(HDC dc)
{
    if (engine::CurrentFont == 0) {
        std::cerr << "spanwick-measure: Font not yet selected\n";
        return DataProblem;
    }
    const engine::WidthTable widths = engine::takeWidthTable(dc);
    std::cout << "{\"face\":" << jsonString(selectedFaceName(dc)) << ",\"widths\":[";
    for (std::size_t i = 0; i < widths.size(); ++i)
        std::cout << (i ? "," : "") << widths[i];
    std::cout << "]}\n";
    return Success;
}

void printJson(const engine::CalculationResult& result, const std::string& face)
{
    const engine::WidthStatisticsRecord& s = engine::WidthStatistics;
    std::cout << "{\"LineCount\":" << result.lineCount << ",\"MinWidth\":" << s.MinWidth
              << ",\"MaxWidth\":" << s.MaxWidth << ",\"AverageWidth\":" << jsonNumber(s.AverageWidth)
              << ",\"StdDeviation\":" << jsonNumber(s.StdDeviation) << ",\"Fit50\":" << jsonNumber(s.Fit50)
              << ",\"Fit60\":" << jsonNumber(s.Fit60) << ",\"Fit70\":" << jsonNumber(s.Fit70)
              << ",\"Fit80\":" << jsonNumber(s.Fit80) << ",\"Fit90\":" << jsonNumber(s.Fit90)
              << ",\"Fit95\":" << jsonNumber(s.Fit95) << ",\"Fit99\":" << jsonNumber(s.Fit99)
              << ",\"Face\":" << jsonString(face) << ",\"Encoding\":"
              << (result.encoding == engine::Encoding::Utf8 ? "\"UTF-8\"" : "\"Windows-1252\"") << "}\n";
}

int measure(const tool::MeasureOptions& options, const engine::FontSelections& selections, HDC dc)
{
    const std::string face = engine::CurrentFont != 0 ? selectedFaceName(dc) : std::string();
    if (options.face && !face.empty() && !fontview::FontCatalog::instance().find(*options.face, false, false))
        std::cerr << "spanwick-measure: no installed font is named '" << *options.face << "'; measuring with '"
                  << face << "'\n";

    engine::CalculationRequest request;
    // The report names the data file by its full path, as the window does.
    request.dataFilePath = std::filesystem::absolute(options.dataFile).lexically_normal().string();
    request.dataFileTitle = std::filesystem::path(options.dataFile).filename().string();
    request.widthContext = dc;
    const engine::CalculationResult result = engine::CalculateWidth(request);
    if (result.outcome != engine::Outcome::Done) {
        std::cerr << "spanwick-measure: " << result.message << '\n';
        return DataProblem;
    }
    if (options.output == tool::Output::Json) {
        printJson(result, face);
    } else {
        const report::ReportInput input{selections, request.dataFileTitle, request.dataFilePath,
                                        engine::WidthStatistics};
        std::cout << report::reportText(input, QLocale::system().decimalPoint().toStdString());
    }
    return Success;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    const auto options = tool::parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "spanwick-measure: " << error << "\nTry 'spanwick-measure --help'.\n";
        return UsageError;
    }
    if (options->output == tool::Output::Help) {
        std::cout << tool::usageText();
        return Success;
    }
    if (options->output == tool::Output::ListFonts)
        return listFonts();

    engine::FontSelections selections = options->selections;
    if (options->face) {
        selections.faceText = *options->face;
    } else {
        const auto fonts = platform::sortedFontNames(platform::installedScreenFonts());
        selections.faceText = fonts.empty() ? std::string() : fonts.front();
    }

    SetScreenLogPixelsY(options->dpi);
    LOGFONTA lf{};
    engine::describeFont(lf, selections, GetDeviceCaps(GetScreenDC(), LOGPIXELSY));
    engine::storeCurrentFont(CreateFontIndirectA(&lf));
    BitmapDC dc(1, 1, options->dpi);

    const int status = options->output == tool::Output::CharWidths ? printCharWidths(&dc)
                                                                     : measure(*options, selections, &dc);
    engine::releaseCurrentFont();
    return status;
}
