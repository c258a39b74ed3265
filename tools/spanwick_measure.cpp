// spanwick-measure: the program's measurement for scripts and for machines
// without a display. Same engine, same report, same messages.

#include "AppInfo.h"
#include "CalculateWidth.h"
#include "CatalogueRun.h"
#include "CurrentFont.h"
#include "DataFileName.h"
#include "DelimitedRun.h"
#include "DeviceContext.h"
#include "FaceChoice.h"
#include "FontAttribute.h"
#include "FontDescription.h"
#include "FontNames.h"
#include "FreeTypeLibrary.h"
#include "JsonOutput.h"
#include "MeasureOptions.h"
#include "MergeParts.h"
#include "ReportWriter.h"
#include "SelectedFont.h"
#include "StandardOutput.h"
#include "UsageText.h"
#include "UserMessages.h"
#include "VisibleText.h"

#include <QLocale>

#include <filesystem>
#include <iostream>
#include <string>

namespace {

enum ExitStatus { Success = 0, DataProblem = 1, UsageError = 2 };

constexpr const char* program = "spanwick-measure";

// A message on standard error, its names and data shown visibly; the hint,
// a line of the program's own, after it.
void complain(const std::string& message, const std::string& hint = {})
{
    std::cerr << program << ": " << report::visibleText(message, report::LineBreaks::Escaped) << '\n';
    if (!hint.empty())
        std::cerr << hint << '\n';
}

std::string decimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

std::string selectedFaceName()
{
    char name[LF_FACESIZE];
    DeviceContext context;
    const SelectedFont selected(&context, engine::CurrentFont);
    GetTextFaceA(&context, LF_FACESIZE, name);
    return name;
}

// The face to measure in: the one asked for, as the font list spells it,
// or the first of the list.
std::optional<std::string> chooseFace(const tool::MeasureOptions& options)
{
    const std::vector<std::string> installed = platform::sortedFontNames(platform::installedScreenFonts());
    if (!options.face)
        return installed.empty() ? std::string() : installed.front();
    if (auto face = tool::installedFace(*options.face, installed))
        return face;
    complain(tool::notInstalledMessage(*options.face, installed), "spanwick-measure --list-fonts lists them all.");
    return std::nullopt;
}

// The pixel height the size and resolution give, when the font layer can draw it.
bool pixelHeightFits(const tool::MeasureOptions& options)
{
    const auto problem =
        catalogue::pixelHeightProblem(engine::pointSizeFromText(options.selections.sizeText), options.dpi);
    if (problem)
        complain(*problem);
    return !problem;
}

int printCharWidths(tool::StandardOutput& out)
{
    const engine::WidthTable widths = engine::takeWidthTable(engine::CurrentFont);
    std::string line = "{\"face\":" + tool::jsonString(selectedFaceName()) + ",\"widths\":[";
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (i > 0)
            line += ',';
        line += std::to_string(widths[i]);
    }
    out.write(line + "]}\n");
    return Success;
}

// LINE:WIDTH:TEXT, or for delimited text RECORD:LINE:WIDTH:TEXT; one line
// each, whatever the text holds.
std::string tooWideLine(const engine::WideLine& line, bool records)
{
    const std::string where =
        records ? std::to_string(line.line) + ":" + std::to_string(line.startLine) : std::to_string(line.line);
    return where + ":" + std::to_string(line.width) + ":" + report::visibleText(line.text) + "\n";
}

void printResults(tool::StandardOutput& out, const tool::MeasureOptions& options, const engine::StreamTally& tally,
                  const engine::Measurement& measurement, const engine::Statistics& statistics,
                  const tool::FontRecord& font, const std::string& face, const tool::FormatRecord& format,
                  const std::string& dataFileTitle, const std::string& dataFilePath)
{
    const tool::JsonResult result{measurement, statistics, face, format};
    if (options.output == tool::Output::Json) {
        out.write(tool::resultJson(result));
    } else if (options.output == tool::Output::Histogram) {
        out.write(tool::histogramJson(result, tally, font, dataFilePath));
    } else {
        report::ReportInput input{font.selections, dataFileTitle, dataFilePath, statistics, {}, format.delimited,
                                  format.column};
        out.write(report::reportText(input, decimalSeparator()));
    }
}

int merge(tool::StandardOutput& out, const tool::MeasureOptions& options)
{
    tool::MergeError error;
    const auto parts = tool::mergeParts(options.files, error);
    if (!parts) {
        complain(error.message);
        return error.unreadable ? DataProblem : UsageError;
    }
    const engine::Measurement measurement = engine::resolve(parts->tally);
    if (measurement.lineCount() == 0) {
        complain("the parts hold no lines");
        return DataProblem;
    }
    const engine::Statistics statistics = engine::computeStatistics(measurement.widths);
    std::string dataFile = parts->dataFiles.front();
    if (parts->dataFiles.size() > 1)
        dataFile += " and " + std::to_string(parts->dataFiles.size() - 1) + " more parts";
    printResults(out, options, parts->tally, measurement, statistics, parts->font, parts->face, parts->format,
                 std::filesystem::path(dataFile).filename().string(), dataFile);
    return Success;
}

int measure(tool::StandardOutput& out, const tool::MeasureOptions& options, const engine::FontSelections& selections,
            const LOGFONTA& font)
{
    const std::string& given = options.files.front();
    const bool standardInput = given == "-";
    const bool check = options.output == tool::Output::Check;

    engine::CalculationRequest request;
    request.dataFileChosen = true;
    request.dataFileTitle = standardInput ? given : std::filesystem::path(given).filename().string();
    if (request.dataFileTitle.empty())
        request.dataFileTitle = given;
    request.data = engine::DataSource{given, standardInput};
    request.fonts = {font};
    request.options.threads = options.threads;
    request.options.delimited = tool::delimitedFormat(options);
    const bool records = request.options.delimited.has_value();
    bool tooWide = false;
    if (check) {
        // Each line as soon as it is known to be too wide, in file order.
        request.options.maxWidth = options.maxWidth;
        request.options.tooWide = [&](const engine::WideLine& line) {
            tooWide = true;
            out.write(tooWideLine(line, records));
        };
    }
    // The file is opened by the name given; only the report shows it in full.
    const std::string dataFilePath = standardInput ? given : tool::absoluteName(given);

    const engine::CalculationResult result = engine::CalculateWidth(request);
    if (result.fewerThreads)
        complain("measured on " + std::to_string(result.threads) + (result.threads == 1 ? " thread" : " threads") +
                 ", not " + std::to_string(engine::measuringThreads(options.threads)) +
                 ": there is not enough memory for more");
    if (result.outcome == engine::Outcome::UnknownColumn) {
        complain(tool::unknownColumnMessage(dataFilePath, result.unknownColumn, result.layout));
        return UsageError;
    }
    if (result.outcome != engine::Outcome::Done) {
        if (check && result.outcome == engine::Outcome::EmptyFile)
            return Success;  // no line, so none too wide
        complain(report::calculationMessage(result.outcome, {request.dataFileTitle, dataFilePath, result.reason,
                                                             result.unclosedQuoteLine, std::string()})
                     .text);
        return check ? UsageError : DataProblem;
    }
    if (check)
        return tooWide ? DataProblem : Success;
    const engine::TargetResult& target = result.targets.front();
    const tool::FormatRecord formatRecord =
        records ? tool::formatRecord(result.layout, target.caption) : tool::FormatRecord{};
    printResults(out, options, result.tally, target.measurement, target.statistics, {selections, options.dpi},
                 selectedFaceName(), formatRecord, request.dataFileTitle, dataFilePath);
    return Success;
}

int run(tool::StandardOutput& out, const tool::MeasureOptions& options)
{
    switch (options.output) {
    case tool::Output::Help:
        out.write(tool::usageText());
        return Success;
    case tool::Output::Version:
        out.write(std::string(program) + " " + appinfo::version + "\n");
        return Success;
    default:
        break;
    }
    if (!options.merge) {
        if (const std::string problem = fontview::fontEngineError(); !problem.empty()) {
            complain(problem);
            return DataProblem;
        }
    }
    switch (options.output) {
    case tool::Output::ListFonts:
        for (const std::string& name : platform::sortedFontNames(platform::installedScreenFonts()))
            out.write(name + "\n");
        return Success;
    default:
        break;
    }
    if (options.merge)
        return merge(out, options);

    const std::optional<std::string> face = chooseFace(options);
    if (!face || !pixelHeightFits(options))
        return UsageError;
    engine::FontSelections selections = options.selections;
    selections.faceText = *face;

    SetScreenLogPixelsY(options.dpi);
    const LOGFONTA lf = engine::createCurrentFont(selections, GetDeviceCaps(GetScreenDC(), LOGPIXELSY));
    int status = Success;
    if (engine::CurrentFont == 0) {
        complain(report::calculationMessage(engine::Outcome::NoFont, {}).text);
        status = DataProblem;
    } else if (options.checkCatalogue) {
        status = tool::checkCatalogues(out, options, lf, [](const std::string& message) { complain(message); });
    } else if (options.output == tool::Output::CharWidths) {
        status = printCharWidths(out);
    } else {
        status = measure(out, options, selections, lf);
    }
    engine::CurrentFont.release();
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    const auto options = tool::parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        complain(error, "Try 'spanwick-measure --help'.");
        return UsageError;
    }
    tool::StandardOutput out;
    int status;
    try {
        status = run(out, *options);
    } catch (const std::bad_alloc&) {
        const std::string name = options->files.empty() ? std::string("the data") : options->files.front();
        complain(report::calculationMessage(engine::Outcome::OutOfMemory, {name, name, "", 0, ""}).text);
        status = DataProblem;
    }
    if (!out.finish()) {
        complain("write error: " + out.reason());
        return DataProblem;
    }
    return status;
}
