// spanwick-measure: the program's measurement for scripts and for machines
// without a display. Same engine, same report, same messages.

#include "AppInfo.h"
#include "CalculateWidth.h"
#include "CatalogueRun.h"
#include "CheckLine.h"
#include "ChosenFace.h"
#include "CurrentFont.h"
#include "DataFileName.h"
#include "DelimitedRun.h"
#include "DeviceContext.h"
#include "FaceChoice.h"
#include "FitWithinText.h"
#include "FontRun.h"
#include "FontAttribute.h"
#include "FontCatalog.h"
#include "FontDescription.h"
#include "FontNames.h"
#include "FreeTypeLibrary.h"
#include "JsonOutput.h"
#include "MeasureOptions.h"
#include "MeasuringFonts.h"
#include "MergeParts.h"
#include "OptionTable.h"
#include "ReportWriter.h"
#include "SizeSearch.h"
#include "StandardOutput.h"
#include "TableRun.h"
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

// The faces to measure in: those asked for, as the font list spells them,
// or the first of the list.
std::optional<std::vector<std::string>> chooseFaces(const tool::MeasureOptions& options)
{
    if (options.faces.empty()) {
        const std::vector<std::string> installed = platform::sortedFontNames(platform::installedScreenFonts());
        return std::vector<std::string>{installed.empty() ? std::string() : installed.front()};
    }
    const std::vector<std::string_view> all = platform::installedFaceFamilies();
    std::vector<std::string> faces;
    for (const std::string& asked : options.faces) {
        // Thousands of names take longer to sort than a short run: only
        // those the request may stand for are put in the list's order.
        const auto face = tool::installedFace(asked, platform::sortedFontNames(tool::namesLike(asked, all)));
        if (!face) {
            complain(tool::notInstalledMessage(asked, platform::sortedFontNames(platform::installedScreenFonts())),
                     "spanwick-measure --list-fonts lists them all.");
            return std::nullopt;
        }
        faces.push_back(*face);
    }
    return faces;
}

// Whether the font layer can draw each size at the resolution.
bool pixelHeightsFit(const std::vector<std::string>& sizes, int dpi)
{
    for (const std::string& size : sizes) {
        if (const auto problem = catalogue::pixelHeightProblem(engine::pointSizeFromText(size), dpi)) {
            complain(*problem);
            return false;
        }
    }
    return true;
}

int printCharWidths(tool::StandardOutput& out)
{
    const engine::WidthTable widths = engine::takeWidthTable(engine::CurrentFont);
    std::string line = "{\"face\":" + tool::jsonString(tool::chosenFaceName(engine::CurrentFont)) + ",\"widths\":[";
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (i > 0)
            line += ',';
        line += std::to_string(widths[i]);
    }
    out.write(line + "]}\n");
    return Success;
}

void printResults(tool::StandardOutput& out, const tool::MeasureOptions& options, const engine::StreamTally& tally,
                  const engine::Measurement& measurement, const engine::Statistics& statistics,
                  const tool::FontRecord& font, const std::string& face, const tool::FormatRecord& format,
                  const std::string& dataFileTitle, const std::string& dataFilePath)
{
    const tool::JsonResult result{measurement, statistics, face, format, font.dpi};
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

// What every run of a data file asks: the data, its name, how it is read.
engine::CalculationRequest dataRequest(const tool::MeasureOptions& options)
{
    const std::string& given = options.files.front();
    const bool standardInput = given == "-";
    engine::CalculationRequest request;
    request.dataFileChosen = true;
    request.dataFileTitle = standardInput ? given : std::filesystem::path(given).filename().string();
    if (request.dataFileTitle.empty())
        request.dataFileTitle = given;
    request.data = engine::DataSource{given, standardInput};
    request.options.threads = options.threads;
    request.options.delimited = tool::delimitedFormat(options);
    return request;
}

// The file is opened by the name given; only the report shows it in full.
std::string fullName(const engine::CalculationRequest& request)
{
    return request.data.standardInput ? request.data.path : tool::absoluteName(request.data.path);
}

// What a measurement that did not end Done says, and the exit status.
int refused(const engine::CalculationRequest& request, engine::Outcome outcome, const std::string& reason,
            std::uint64_t unclosedQuoteLine, const engine::ColumnChoice& unknownColumn,
            const engine::RecordLayout& layout, bool check)
{
    const std::string dataFilePath = fullName(request);
    if (outcome == engine::Outcome::UnknownColumn) {
        complain(tool::unknownColumnMessage(dataFilePath, unknownColumn, layout));
        return UsageError;
    }
    if (check && outcome == engine::Outcome::EmptyFile)
        return Success;  // no line, so none too wide
    complain(report::calculationMessage(outcome, {request.dataFileTitle, dataFilePath, reason, unclosedQuoteLine,
                                                  std::string()})
                 .text);
    return check ? UsageError : DataProblem;
}

void reportFewerThreads(const tool::MeasureOptions& options, unsigned threads)
{
    complain("measured on " + std::to_string(threads) + (threads == 1 ? " thread" : " threads") + ", not " +
             std::to_string(engine::measuringThreads(options.threads)) + ": there is not enough memory for more");
}

int measure(tool::StandardOutput& out, const tool::MeasureOptions& options, const engine::FontSelections& selections,
            const LOGFONTA& font)
{
    const bool check = options.output == tool::Output::Check;
    engine::CalculationRequest request = dataRequest(options);
    request.fonts = {font};
    const bool records = request.options.delimited.has_value();
    bool tooWide = false;
    if (check) {
        // Each line as soon as it is known to be too wide, in file order.
        request.options.maxWidth = options.maxWidth;
        request.options.tooWide = [&](const engine::WideLine& line) {
            tooWide = true;
            out.write(tool::tooWideLine(line, records, options.severalColumns()));
        };
    }
    const engine::CalculationResult result = engine::CalculateWidth(request);
    if (result.fewerThreads)
        reportFewerThreads(options, result.threads);
    if (result.outcome != engine::Outcome::Done)
        return refused(request, result.outcome, result.reason, result.unclosedQuoteLine, result.unknownColumn,
                       result.layout, check);
    if (check)
        return tooWide ? DataProblem : Success;
    if (options.severalColumns()) {
        const std::optional<std::string> table = tool::tableOutput(options, result, selections, font, tool::chosenFaceName(engine::CurrentFont),
                                                                   fullName(request), decimalSeparator());
        if (!table) {
            complain(report::calculationMessage(engine::Outcome::NoFont, {}).text);
            return DataProblem;
        }
        out.write(*table);
        return Success;
    }
    const engine::TargetResult& target = result.targets.front();
    const tool::FormatRecord formatRecord =
        records ? tool::formatRecord(result.layout, target.caption) : tool::FormatRecord{};
    printResults(out, options, result.tally, target.measurement, target.statistics, {selections, options.dpi},
                 tool::chosenFaceName(engine::CurrentFont), formatRecord, request.dataFileTitle, fullName(request));
    return Success;
}

// Several fonts in one pass: a table or JSON, one row a font, or with several
// columns a table of them for each font.
int measureFonts(tool::StandardOutput& out, const tool::MeasureOptions& options,
                 const std::vector<tool::FontChoice>& fonts)
{
    engine::CalculationRequest request = dataRequest(options);
    engine::MeasuringFonts names;
    std::vector<std::string> faceNames;
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        request.fonts.push_back(fonts[f].description);
        names.add(fonts[f].description);
        faceNames.push_back(names.faceName(f));
    }
    engine::CalculationResult result = engine::CalculateWidth(request);
    if (result.fewerThreads)
        reportFewerThreads(options, result.threads);
    if (result.outcome != engine::Outcome::Done)
        return refused(request, result.outcome, result.reason, result.unclosedQuoteLine, result.unknownColumn,
                       result.layout, false);
    if (!options.severalColumns()) {
        tool::printFonts(out, options, fonts, result, faceNames);
        return Success;
    }
    const std::string dataFile = fullName(request);
    const std::optional<std::string> tables =
        tool::fontTablesOutput(options, std::move(result), fonts, faceNames, dataFile, decimalSeparator());
    if (!tables) {
        complain(report::calculationMessage(engine::Outcome::NoFont, {}).text);
        return DataProblem;
    }
    out.write(*tables);
    return Success;
}

// --fit-within: the largest listed size of each face within the width.
int fitWithin(tool::StandardOutput& out, const tool::MeasureOptions& options, const std::vector<std::string>& faces,
              const std::vector<tool::FontChoice>& fonts)
{
    const engine::CalculationRequest data = dataRequest(options);
    engine::SizeSearchRequest request;
    request.source = data.data;
    request.options = data.options;
    request.percent = options.fit;
    request.within = *options.fitWithin;
    engine::MeasuringFonts made;
    request.faces.resize(faces.size());
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        if (!made.add(fonts[f].description)) {
            complain(report::calculationMessage(engine::Outcome::NoFont, {}).text);
            return DataProblem;
        }
        const std::size_t face = static_cast<std::size_t>(std::find(faces.begin(), faces.end(), fonts[f].face) - faces.begin());
        request.faces[face].push_back({engine::pointSizeFromText(fonts[f].selections.sizeText), made.widths()[f]});
    }
    for (std::vector<engine::SizeChoice>& sizes : request.faces) {
        std::sort(sizes.begin(), sizes.end(), [](const auto& a, const auto& b) { return a.points < b.points; });
        sizes.erase(std::unique(sizes.begin(), sizes.end(), [](const auto& a, const auto& b) { return a.points == b.points; }),
                    sizes.end());
    }
    const engine::SizeSearchResult found = engine::searchSizes(request);
    const engine::MeasureResult& failed = found.failed;
    if (failed.outcome != engine::Outcome::Done)
        return refused(data, failed.outcome, failed.reason, failed.unclosedQuoteLine, failed.unknownColumn,
                       failed.layout, false);
    int status = Success;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        out.write(report::fitWithinSentence(faces[f], found.faces[f], options.fit, *options.fitWithin) + "\n");
        if (!found.faces[f].fits)
            status = DataProblem;
    }
    return status;
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

    const std::optional<std::vector<std::string>> faces = chooseFaces(options);
    const std::vector<std::string> sizes = tool::sizesToMeasure(options);
    if (!faces || !pixelHeightsFit(sizes, options.dpi))
        return UsageError;
    engine::FontSelections selections = options.selections;
    selections.faceText = faces->front();
    selections.sizeText = sizes.front();

    SetScreenLogPixelsY(options.dpi);
    const int logPixelsY = GetDeviceCaps(GetScreenDC(), LOGPIXELSY);
    const LOGFONTA lf = engine::createCurrentFont(selections, logPixelsY);
    int status = Success;
    if (engine::CurrentFont == 0) {
        complain(report::calculationMessage(engine::Outcome::NoFont, {}).text);
        status = DataProblem;
    } else if (options.fitWithin) {
        status = fitWithin(out, options, *faces, tool::fontChoices(options, *faces, sizes, logPixelsY));
    } else if (faces->size() * sizes.size() > 1) {
        status = measureFonts(out, options, tool::fontChoices(options, *faces, sizes, logPixelsY));
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
    fontview::FontCatalog::readConfigurationAlone();  // nothing here lays text out through fontconfig
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
