#include "MeasureOptions.h"

#include "CatalogueReader.h"
#include "Delimited.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace tool {

namespace {

template <class Number>
std::optional<Number> wholeNumber(const std::string& text, Number min, Number max)
{
    Number value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::string weightList()
{
    std::string list;
    for (const std::string_view name : engine::weightNames)
        list += (list.empty() ? "" : ", ") + std::string(name);
    return list;
}

}  // namespace

const char* usageText()
{
    // help2man turns the "or:" lines into the manual page's synopsis.
    return "Usage: spanwick-measure [options] FILE\n"
           "  or:  spanwick-measure --max-width N [options] FILE\n"
           "  or:  spanwick-measure --check-catalogue [options] CATALOGUE...\n"
           "  or:  spanwick-measure --merge [--json|--histogram] PART.json...\n"
           "  or:  spanwick-measure --char-widths [font options]\n"
           "  or:  spanwick-measure --list-fonts\n"
           "\n"
           "Measures the width in pixels of every line of FILE in a font and prints\n"
           "the width statistics as the 21-line report Spanwick saves. FILE may be a\n"
           "regular file, a FIFO, a device, or - for standard input.\n"
           "\n"
           "Font options (defaults as in the main window):\n"
           "  --face NAME          font face, as --list-fonts names it (default: the\n"
           "                       first installed font in list order)\n"
           "  --size N             point size, 1 to 4096 (default 8)\n"
           "  --italic, --underline, --strikeout\n"
           "  --weight NAME        Thin, Extra Light, Light, Normal, Medium, Semi Bold,\n"
           "                       Bold, Extra Bold or Heavy (default Normal)\n"
           "  --width W            Normal, or an average character width of 1 to 100 pixels\n"
           "  --dpi N              the screen's logical resolution (default 96)\n"
           "\n"
           "Output:\n"
           "  (default)            the 21-line report, lines ended by CR LF\n"
           "  --json               one JSON object: the unrounded statistics, the exact\n"
           "                       fits (ExactFit50..ExactFit99: the smallest width that\n"
           "                       at least that share of the lines fit in), the ten\n"
           "                       widest lines, the face and the encoding read\n"
           "  --histogram          the JSON object with the count of lines of each width\n"
           "                       and all that --merge needs\n"
           "  --max-width N        check mode: print every line wider than N pixels as\n"
           "                       LINE:WIDTH:TEXT in file order (TEXT shows at most\n"
           "                       4096 characters, then \xE2\x80\xA6); exit 0 when all fit, 1 when\n"
           "                       some line is wider, 2 when the data cannot be read\n"
           "  --merge              combine --histogram outputs of consecutive parts of\n"
           "                       one data set, given in order, as if the whole had\n"
           "                       been measured; parts must share their font options\n"
           "  --char-widths        one JSON line: the selected face and the widths of\n"
           "                       character codes 32 to 126 (no FILE needed)\n"
           "  --list-fonts         the installed fonts as the font list shows them\n"
           "\n"
           "Delimited text (a FILE ending in .csv or .tsv, or any FILE with --column):\n"
           "  --column NAME|N      the column to measure: a header name (exact, then\n"
           "                       ignoring case) or a number from 1 (default 1)\n"
           "  --delimiter D        , or ; or tab or any one ASCII character (default:\n"
           "                       tab for .tsv; comma, or semicolon when the first\n"
           "                       record has semicolons and no comma)\n"
           "  --no-header          the first record is data too, not column names\n"
           "  Each record's field in the column is one value, as wide as its widest\n"
           "  line; records are numbered from 1 after the header, which is 0. Check\n"
           "  mode prints RECORD:LINE:WIDTH:TEXT, LINE being where the record starts.\n"
           "\n"
           "Translation catalogues (--check-catalogue CATALOGUE...):\n"
           "  --check-catalogue    check every string of XLIFF (.xlf, .xliff), gettext\n"
           "                       (.po, .pot) and Qt Linguist (.ts) catalogues against\n"
           "                       its pixel budget: XLIFF 1.2 maxwidth (size-unit pixel,\n"
           "                       the default; other units are not checked), a PO\n"
           "                       max-size:N flag, else --max-width N. Prints each\n"
           "                       string over it as FILE:LINE:ID:WIDTH:BUDGET:TEXT (in\n"
           "                       ID, \\: is a colon); --json lists every string. A\n"
           "                       summary goes to standard error. Exit 0 when all fit,\n"
           "                       1 when some string is over, 2 when a catalogue cannot\n"
           "                       be read or a unit's font is not installed\n"
           "  --format F           read every catalogue as xliff, po or ts\n"
           "  --source             measure the source text, not the translation\n"
           "  --placeholder-width N  count each placeholder (%s, %1, {name}, XLIFF ph\n"
           "                       and x) as N pixels instead of as written\n"
           "  The target (msgstr, translation) is measured, or the source where there\n"
           "  is none; length variants fit when the narrowest does; an XLIFF unit's\n"
           "  font attribute (face;size;weight) replaces the font options for it.\n"
           "\n"
           "  --threads N          measure on N threads (default: one per core)\n"
           "  --help               this text\n"
           "  --version            the program's version\n"
           "  --                   ends the options: what follows is a file name\n"
           "\n"
           "Exit status: 0 on success, 1 when the data cannot be measured or the\n"
           "output cannot be written, 2 on a usage error.\n";
}

bool readsDelimited(const MeasureOptions& options)
{
    if (options.column || options.delimiter || options.noHeader)
        return true;
    if (options.merge || options.files.empty())
        return false;
    return engine::isDelimitedName(options.files.front());
}

std::optional<MeasureOptions> parseOptions(const std::vector<std::string>& args, std::string& error)
{
    MeasureOptions o;
    bool outputChosen = false;
    const auto chooseOutput = [&](Output output, const std::string& name) {
        if (outputChosen && o.output != output) {
            error = name + " cannot be combined with the output chosen before it";
            return false;
        }
        outputChosen = true;
        o.output = output;
        return true;
    };

    // With --check-catalogue, --max-width is the budget of strings without
    // their own, beside whichever output.
    const auto end = std::find(args.begin(), args.end(), "--");
    const bool catalogues = std::find(args.begin(), end, "--check-catalogue") != end;

    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                error = std::string(name) + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            o.files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            o.output = Output::Help;
            return o;
        } else if (arg == "--version") {
            o.output = Output::Version;
            return o;
        } else if (arg == "--json") {
            if (!chooseOutput(Output::Json, arg))
                return std::nullopt;
        } else if (arg == "--histogram") {
            if (!chooseOutput(Output::Histogram, arg))
                return std::nullopt;
        } else if (arg == "--char-widths") {
            if (!chooseOutput(Output::CharWidths, arg))
                return std::nullopt;
        } else if (arg == "--list-fonts") {
            if (!chooseOutput(Output::ListFonts, arg))
                return std::nullopt;
        } else if (arg == "--max-width") {
            const std::string* v = value("--max-width");
            if (!v)
                return std::nullopt;
            const auto n = wholeNumber<std::int64_t>(*v, 0, std::numeric_limits<std::int64_t>::max());
            if (!n) {
                error = "--max-width must be a whole number of pixels, 0 or more, not '" + *v + "'";
                return std::nullopt;
            }
            if (catalogues)
                o.catalogueMaxWidth = *n;
            else if (!chooseOutput(Output::Check, arg))
                return std::nullopt;
            o.maxWidth = *n;
        } else if (arg == "--column") {
            const std::string* v = value("--column");
            if (!v)
                return std::nullopt;
            if (v->empty()) {
                error = "--column needs a header name or a number";
                return std::nullopt;
            }
            if (v->find_first_not_of("0123456789") == std::string::npos && !wholeNumber<std::size_t>(*v, 1, 1u << 20)) {
                error = "--column numbers count from 1, not '" + *v + "'";
                return std::nullopt;
            }
            o.column = *v;
        } else if (arg == "--delimiter") {
            const std::string* v = value("--delimiter");
            if (!v)
                return std::nullopt;
            const std::string d = *v == "tab" ? std::string("\t") : *v;
            if (d.size() != 1 || static_cast<unsigned char>(d[0]) >= 0x80 || d[0] == '"' || d[0] == '\n' ||
                d[0] == '\r') {
                error = "--delimiter must be one ASCII character other than a quote or a line end, or tab; not '" +
                        *v + "'";
                return std::nullopt;
            }
            o.delimiter = d[0];
        } else if (arg == "--check-catalogue") {
            o.checkCatalogue = true;
        } else if (arg == "--format") {
            const std::string* v = value("--format");
            if (!v)
                return std::nullopt;
            if (!catalogue::formatFromWord(*v)) {
                error = std::string("--format must be ") + catalogue::formatWords() + ", not '" + *v + "'";
                return std::nullopt;
            }
            o.catalogueFormat = *v;
        } else if (arg == "--source") {
            o.catalogueSource = true;
        } else if (arg == "--placeholder-width") {
            const std::string* v = value("--placeholder-width");
            if (!v)
                return std::nullopt;
            o.placeholderWidth = wholeNumber<std::int64_t>(*v, 0, 1 << 20);
            if (!o.placeholderWidth) {
                error = "--placeholder-width must be a whole number of pixels from 0 to 1048576, not '" + *v + "'";
                return std::nullopt;
            }
        } else if (arg == "--no-header") {
            o.noHeader = true;
        } else if (arg == "--merge") {
            o.merge = true;
        } else if (arg == "--threads") {
            const std::string* v = value("--threads");
            if (!v)
                return std::nullopt;
            const auto n = wholeNumber<unsigned>(*v, 1, 256);
            if (!n) {
                error = "--threads must be a whole number from 1 to 256, not '" + *v + "'";
                return std::nullopt;
            }
            o.threads = *n;
        } else if (arg == "--italic") {
            o.selections.italic = 1;
            o.fontOptionsGiven = true;
        } else if (arg == "--underline") {
            o.selections.underline = 1;
            o.fontOptionsGiven = true;
        } else if (arg == "--strikeout") {
            o.selections.strikeOut = 1;
            o.fontOptionsGiven = true;
        } else if (arg == "--face") {
            const std::string* v = value("--face");
            if (!v)
                return std::nullopt;
            o.face = *v;
            o.fontOptionsGiven = true;
        } else if (arg == "--size") {
            const std::string* v = value("--size");
            if (!v)
                return std::nullopt;
            if (!wholeNumber(*v, 1, 4096)) {
                error = "--size must be a whole number from 1 to 4096, not '" + *v + "'";
                return std::nullopt;
            }
            o.selections.sizeText = *v;
            o.fontOptionsGiven = true;
        } else if (arg == "--weight") {
            const std::string* v = value("--weight");
            if (!v)
                return std::nullopt;
            std::size_t k = 0;
            while (k < engine::weightNames.size() && engine::weightNames[k] != *v)
                ++k;
            if (k == engine::weightNames.size()) {
                error = "--weight must be one of " + weightList() + "; not '" + *v + "'";
                return std::nullopt;
            }
            o.selections.weightIndex = static_cast<int>(k);
            o.fontOptionsGiven = true;
        } else if (arg == "--width") {
            const std::string* v = value("--width");
            if (!v)
                return std::nullopt;
            if (*v == engine::normalWidth) {
                o.selections.widthIndex = 0;
            } else if (const auto n = wholeNumber(*v, 1, engine::largestCharacterWidth)) {
                o.selections.widthIndex = *n;
            } else {
                error = "--width must be Normal or a whole number from 1 to 100, not '" + *v + "'";
                return std::nullopt;
            }
            o.selections.widthText = *v;
            o.fontOptionsGiven = true;
        } else if (arg == "--dpi") {
            const std::string* v = value("--dpi");
            if (!v)
                return std::nullopt;
            const auto n = wholeNumber(*v, 1, 10000);
            if (!n) {
                error = "--dpi must be a whole number from 1 to 10000, not '" + *v + "'";
                return std::nullopt;
            }
            o.dpi = *n;
            o.fontOptionsGiven = true;
        } else {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
    }

    if (o.noHeader && o.column && o.column->find_first_not_of("0123456789") != std::string::npos) {
        error = "a column is named by the header; with --no-header give its number";
        return std::nullopt;
    }
    const bool measures = o.output == Output::Report || o.output == Output::Json || o.output == Output::Histogram
        || o.output == Output::Check;
    const bool catalogueOnly = o.catalogueFormat || o.catalogueSource || o.placeholderWidth;
    if (o.checkCatalogue) {
        if (o.output != Output::Report && o.output != Output::Json) {
            error = "--check-catalogue prints the strings over budget, or --json all of them; no other output";
            return std::nullopt;
        }
        if (o.merge || o.column || o.delimiter || o.noHeader) {
            error = "--check-catalogue reads catalogues, not --merge parts or columns";
            return std::nullopt;
        }
        if (o.files.empty()) {
            error = "--check-catalogue needs the catalogues to check";
            return std::nullopt;
        }
    } else if (catalogueOnly) {
        error = "--format, --source and --placeholder-width go with --check-catalogue";
        return std::nullopt;
    } else if (o.merge) {
        if (o.output == Output::Check || o.output == Output::CharWidths || o.output == Output::ListFonts) {
            error = "--merge gives the report, --json or --histogram only";
            return std::nullopt;
        }
        if (o.fontOptionsGiven) {
            error = "--merge takes the font options from the parts; give none";
            return std::nullopt;
        }
        if (o.files.empty()) {
            error = "--merge needs the parts to merge";
            return std::nullopt;
        }
    } else if (measures) {
        if (o.files.empty()) {
            error = "no data file given";
            return std::nullopt;
        }
        if (o.files.size() > 1) {
            error = "only one data file can be measured at a time";
            return std::nullopt;
        }
    } else if (!o.files.empty()) {
        error = "no data file is read with this output";
        return std::nullopt;
    }
    return o;
}

}  // namespace tool
