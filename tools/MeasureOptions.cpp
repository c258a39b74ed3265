#include "MeasureOptions.h"

#include "Delimited.h"
#include "OptionTable.h"

#include <algorithm>

namespace tool {

namespace {

Run runOf(const MeasureOptions& o)
{
    if (o.checkCatalogue)
        return Catalogue;
    if (o.merge)
        return Merge;
    if (o.output == Output::CharWidths)
        return CharWidths;
    if (o.output == Output::ListFonts)
        return ListFonts;
    return Measure;
}

// An option the run makes no use of is refused rather than ignored.
std::string notApplying(const Option& option, Run run)
{
    if (run == Merge && option.section == Section::Font)
        return "--merge takes the font options from the parts; give none";
    if (run == Merge && option.section == Section::Output)
        return "--merge gives the report, --json or --histogram only";
    if (option.section == Section::Catalogue)
        return option.name + " goes with --check-catalogue";
    const char* runName = run == Merge       ? "--merge"
                          : run == Catalogue ? "--check-catalogue"
                          : run == CharWidths ? "--char-widths"
                                              : "--list-fonts";
    return option.name + " does not apply to " + runName;
}

// What the run needs of the file names given.
std::string filesProblem(const MeasureOptions& o, Run run)
{
    switch (run) {
    case Merge:
        return o.files.empty() ? "--merge needs the parts to merge" : "";
    case Catalogue:
        return o.files.empty() ? "--check-catalogue needs the catalogues to check" : "";
    case Measure:
        if (o.files.empty())
            return "no data file given";
        return o.files.size() > 1 ? "only one data file can be measured at a time" : "";
    default:
        return o.files.empty() ? "" : "no data file is read with this output";
    }
}

// What only a table of columns uses, and what it cannot give.
std::string tableProblem(const MeasureOptions& o, Output output)
{
    if (!o.severalColumns()) {
        if (o.headerWeight)
            return "--header-weight sizes the columns of a table: give --column all or a list of columns";
        return "";
    }
    if (output == Output::Histogram)
        return "--histogram measures one column for --merge; give one --column";
    if (o.fitWithin)
        return "--fit-within measures the lines or one column; give one --column";
    if (o.headerWeight && output == Output::Check)
        return "--header-weight sizes the columns of a table, which check mode does not print";
    return "";
}

}  // namespace

std::size_t fontCount(const MeasureOptions& options)
{
    return std::max<std::size_t>(options.faces.size(), 1) * std::max<std::size_t>(options.sizes.size(), 1);
}

bool readsDelimited(const MeasureOptions& options)
{
    if (!options.columns.empty() || options.allColumns || options.delimiter || options.noHeader)
        return true;
    if (options.merge || options.files.empty())
        return false;
    return engine::isDelimitedName(options.files.front());
}

std::optional<MeasureOptions> parseOptions(const std::vector<std::string>& args, std::string& error)
{
    Parsing p;
    std::vector<const Option*> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (p.optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            p.options.files.push_back(arg);
            continue;
        }
        const Option* option = findOption(arg);
        if (!option) {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
        std::string value;
        if (!option->argument.empty()) {
            if (i + 1 >= args.size()) {
                error = option->name + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        p.current = option;
        if (!option->apply(p, value)) {
            error = p.error.empty() ? refusal(*option, value) : p.error;
            return std::nullopt;
        }
        if (p.stop)
            return p.options;
        given.push_back(option);
    }

    const MeasureOptions& o = p.options;
    for (const std::string& column : o.columns) {
        if (o.noHeader && column.find_first_not_of("0123456789") != std::string::npos) {
            error = "a column is named by the header; with --no-header give its number";
            return std::nullopt;
        }
    }
    const Run run = runOf(o);
    // --max-width is check mode, or with catalogues the budget of the
    // strings without their own beside either output.
    if (p.maxWidthGiven && run == Catalogue) {
        p.options.catalogueMaxWidth = o.maxWidth;
    } else if (p.maxWidthGiven) {
        if (p.outputChosen && o.output != Output::Check) {
            error = "--max-width cannot be combined with the output chosen beside it";
            return std::nullopt;
        }
        p.options.output = Output::Check;
    }
    if (run == Catalogue && o.output != Output::Report && o.output != Output::Json) {
        error = "--check-catalogue prints the strings over budget, or --json all of them; no other output";
        return std::nullopt;
    }
    for (const Option* option : given) {
        if (!(option->runs & run)) {
            error = notApplying(*option, run);
            return std::nullopt;
        }
    }
    if (o.fitWithin && (o.output != Output::Report || o.merge)) {
        error = "--fit-within prints its own answer: no other output";
        return std::nullopt;
    }
    if (!o.fitWithin && fontCount(o) > maxFonts) {
        error = "a run measures at most " + std::to_string(maxFonts) + " fonts, not " + std::to_string(fontCount(o)) +
                "; give fewer faces or sizes";
        return std::nullopt;
    }
    if (fontCount(o) > 1 && (o.output == Output::Histogram || o.output == Output::Check || run != Measure)) {
        error = "several faces or sizes give a table or --json; that output takes one font";
        return std::nullopt;
    }
    error = tableProblem(o, p.options.output);
    if (!error.empty())
        return std::nullopt;
    error = filesProblem(o, run);
    if (!error.empty())
        return std::nullopt;
    return o;
}

}  // namespace tool
