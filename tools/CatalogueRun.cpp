#include "CatalogueRun.h"

#include "VisibleText.h"

#include "CatalogueCheck.h"
#include "CatalogueReader.h"
#include "DelimitedRun.h"
#include "FaceChoice.h"
#include "FontNames.h"
#include "JsonOutput.h"

#include <optional>
#include <vector>

namespace tool {

namespace {

enum ExitStatus { AllFit = 0, SomeOver = 1, Unreadable = 2 };

std::string utf8(const QString& text) { return text.toStdString(); }

// "FILE:LINE", or the file alone for line 0.
std::string place(const std::string& file, std::uint64_t line)
{
    std::string where = file;
    if (line > 0)
        where.append(1, ':').append(std::to_string(line));
    return where;
}

// Where the strings go: the lines of those over budget, or JSON of all.
class Printer {
public:
    virtual ~Printer() = default;
    virtual void beginCatalogue(const std::string& /*file*/) {}
    virtual void string(const std::string& file, const catalogue::Message& message,
                        const catalogue::CheckedString& checked) = 0;
    virtual void endCatalogue(const catalogue::ReadResult& /*result*/) {}
    virtual void end(const catalogue::CheckTally& /*tally*/) {}
};

class OverLines : public Printer {
public:
    explicit OverLines(StandardOutput& out) : out_(out) {}

    void string(const std::string& file, const catalogue::Message& message,
                const catalogue::CheckedString& checked) override
    {
        if (checked.verdict != catalogue::Verdict::Over)
            return;
        const catalogue::Text& text = message.variants[checked.variant];
        out_.write(place(file, text.line) + ":" + escapedId(message.id) + ":" +
                   std::to_string(checked.width) + ":" + std::to_string(*checked.budget) + ":" +
                   report::visibleText(utf8(text.text)) + "\n");
    }

private:
    StandardOutput& out_;
};

class JsonList : public Printer {
public:
    explicit JsonList(StandardOutput& out) : out_(out) { out_.write("{\"catalogues\":["); }

    void beginCatalogue(const std::string& file) override
    {
        out_.write(std::string(catalogues_++ == 0 ? "\n" : ",\n") + "{\"file\":" + jsonString(file) + ",\"strings\":[");
        strings_ = 0;
    }

    void string(const std::string&, const catalogue::Message& message,
                const catalogue::CheckedString& checked) override
    {
        const catalogue::Text& text = message.variants[checked.variant];
        std::string line = std::string(strings_++ == 0 ? "\n" : ",\n") + "{\"line\":" + std::to_string(text.line) +
                           ",\"id\":" + jsonString(message.id) + ",\"text\":" + jsonString(utf8(text.text)) +
                           ",\"verdict\":" + jsonString(catalogue::verdictName(checked.verdict));
        if (checked.verdict == catalogue::Verdict::NoFont) {
            line += ",\"problem\":" + jsonString(checked.problem);
        } else {
            line += ",\"width\":" + std::to_string(checked.width);
            if (checked.verdict == catalogue::Verdict::NotChecked)
                line += ",\"budget\":" + std::to_string(message.budget.value) + ",\"unit\":" + jsonString(message.budget.unit);
            else
                line += ",\"budget\":" + (checked.budget ? std::to_string(*checked.budget) : std::string("null"));
        }
        if (message.variants.size() > 1)
            line += ",\"variants\":" + std::to_string(message.variants.size());
        if (!message.font.empty())
            line += ",\"font\":" + jsonString(message.font);
        out_.write(line + "}");
    }

    void endCatalogue(const catalogue::ReadResult& result) override
    {
        std::string error = "null";
        if (result.error)
            error = "{\"line\":" + std::to_string(result.error->line) + ",\"message\":" + jsonString(result.error->message) + "}";
        out_.write("],\"format\":" + jsonString(result.formatName) + ",\"error\":" + error + "}");
    }

    void end(const catalogue::CheckTally& tally) override
    {
        out_.write("],\n\"checked\":" + std::to_string(tally.measured) + ",\"withBudget\":" + std::to_string(tally.withBudget) +
                   ",\"over\":" + std::to_string(tally.over) + ",\"near\":" + std::to_string(tally.near) +
                   ",\"notChecked\":" + std::to_string(tally.notChecked) + ",\"noFont\":" + std::to_string(tally.noFont) +
                   "}\n");
    }

private:
    StandardOutput& out_;
    std::size_t catalogues_ = 0;
    std::size_t strings_ = 0;
};

// Faces named by units, looked up in the installed list, read once.
catalogue::FaceLookup faceLookup()
{
    auto installed = std::make_shared<std::optional<std::vector<std::string>>>();
    return [installed](const std::string& requested, std::string& problem) -> std::optional<std::string> {
        if (!*installed)
            *installed = platform::sortedFontNames(platform::installedScreenFonts());
        if (auto face = installedFace(requested, **installed))
            return face;
        problem = notInstalledMessage(requested, **installed);
        return std::nullopt;
    };
}

}  // namespace

std::string escapedId(const std::string& id)
{
    std::string out;
    for (const char c : report::visibleText(id)) {
        if (c == ':')
            out += '\\';
        out += c;
    }
    return out;
}

int checkCatalogues(StandardOutput& out, const MeasureOptions& options, const LOGFONTA& font,
                    const Complaint& complain)
{
    std::vector<catalogue::Format> formats;
    for (const std::string& file : options.files) {
        const auto format = options.catalogueFormat ? catalogue::formatFromWord(*options.catalogueFormat)
                                                    : catalogue::formatOfFileName(file);
        if (!format) {
            complain("'" + file + "' is no catalogue by its name (.xlf, .xliff, .po, .pot, .ts); --format " +
                     catalogue::formatWords() + " says how to read it");
            return Unreadable;
        }
        formats.push_back(*format);
    }

    catalogue::UnitFonts fonts(font, options.dpi, faceLookup());
    catalogue::CheckSettings settings;
    settings.maxWidth = options.catalogueMaxWidth;
    settings.placeholderWidth = options.placeholderWidth;
    catalogue::CatalogueCheck check(fonts, settings);
    std::unique_ptr<Printer> printer;
    if (options.output == Output::Json)
        printer = std::make_unique<JsonList>(out);
    else
        printer = std::make_unique<OverLines>(out);

    int status = AllFit;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        const std::string& file = options.files[i];
        printer->beginCatalogue(file);
        const catalogue::ReadResult result = catalogue::readCatalogueFile(
            file, formats[i], {options.catalogueSource}, [&](const catalogue::Message& message) {
                const catalogue::CheckedString checked = check.check(message);
                printer->string(file, message, checked);
                if (checked.verdict == catalogue::Verdict::NoFont) {
                    complain(place(file, message.line()) + ":" + escapedId(message.id) + ": " + checked.problem);
                    status = Unreadable;
                }
            });
        printer->endCatalogue(result);
        if (result.error) {
            complain(place(file, result.error->line) + ": " + result.error->message);
            status = Unreadable;
        }
    }
    printer->end(check.tally());
    complain(catalogue::summaryLine(check.tally()));
    if (status == AllFit && check.tally().over > 0)
        status = SomeOver;
    return status;
}

}  // namespace tool
