#include "MeasureOptions.h"

#include <charconv>

namespace tool {

namespace {

std::optional<int> wholeNumber(const std::string& text, int min, int max)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

}  // namespace

const std::vector<std::string>& weightNames()
{
    static const std::vector<std::string> names{"Thin",      "Extra Light", "Light",      "Normal", "Medium",
                                                "Semi Bold", "Bold",        "Extra Bold", "Heavy"};
    return names;
}

const char* usageText()
{
    // help2man turns the "or:" lines into the manual page's synopsis.
    return "Usage: spanwick-measure [options] FILE\n"
           "  or:  spanwick-measure --char-widths [font options]\n"
           "  or:  spanwick-measure --list-fonts\n"
           "\n"
           "Measures every line of FILE in a font and prints the width statistics\n"
           "as the 21-line report Spanwick saves.\n"
           "\n"
           "Font options (defaults as in the main window):\n"
           "  --face NAME          font face (default: the first installed font in list order)\n"
           "  --size N             point size, 1 to 4096 (default 8)\n"
           "  --italic, --underline, --strikeout\n"
           "  --weight NAME        Thin, Extra Light, Light, Normal, Medium, Semi Bold,\n"
           "                       Bold, Extra Bold or Heavy (default Normal)\n"
           "  --width W            Normal, or an average character width of 1 to 100 pixels\n"
           "  --dpi N              the screen's logical resolution (default 96)\n"
           "\n"
           "Output:\n"
           "  (default)            the 21-line report, lines ended by CR LF\n"
           "  --json               one JSON object with the unrounded statistics\n"
           "  --char-widths        one JSON line: the selected face and the widths of\n"
           "                       character codes 32 to 126 (no FILE needed)\n"
           "  --list-fonts         the installed fonts as the font list shows them\n"
           "  --help               this text\n"
           "\n"
           "Exit status: 0 on success, 1 when the data cannot be measured, 2 on a usage error.\n";
}

std::optional<MeasureOptions> parseOptions(const std::vector<std::string>& args, std::string& error)
{
    MeasureOptions o;
    o.selections.sizeText = "8";
    o.selections.weightIndex = 3;
    o.selections.weightText = "Normal";
    o.selections.widthIndex = 0;
    o.selections.widthText = "Normal";

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                error = std::string(name) + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            o.output = Output::Help;
            return o;
        } else if (arg == "--json") {
            o.output = Output::Json;
        } else if (arg == "--char-widths") {
            o.output = Output::CharWidths;
        } else if (arg == "--list-fonts") {
            o.output = Output::ListFonts;
        } else if (arg == "--italic") {
            o.selections.italic = 1;
        } else if (arg == "--underline") {
            o.selections.underline = 1;
        } else if (arg == "--strikeout") {
            o.selections.strikeOut = 1;
        } else if (arg == "--face") {
            const std::string* v = value("--face");
            if (!v)
                return std::nullopt;
            o.face = *v;
        } else if (arg == "--size") {
            const std::string* v = value("--size");
            if (!v)
                return std::nullopt;
            if (!wholeNumber(*v, 1, 4096)) {
                error = "--size must be a whole number from 1 to 4096, not '" + *v + "'";
                return std::nullopt;
            }
            o.selections.sizeText = *v;
        } else if (arg == "--weight") {
            const std::string* v = value("--weight");
            if (!v)
                return std::nullopt;
            const auto& names = weightNames();
            std::size_t k = 0;
            while (k < names.size() && names[k] != *v)
                ++k;
            if (k == names.size()) {
                error = "--weight must be one of Thin, Extra Light, Light, Normal, Medium, Semi Bold, Bold, "
                        "Extra Bold, Heavy; not '" + *v + "'";
                return std::nullopt;
            }
            o.selections.weightIndex = static_cast<int>(k);
            o.selections.weightText = names[k];
        } else if (arg == "--width") {
            const std::string* v = value("--width");
            if (!v)
                return std::nullopt;
            if (*v == "Normal") {
                o.selections.widthIndex = 0;
            } else if (const auto n = wholeNumber(*v, 1, 100)) {
                o.selections.widthIndex = *n;
            } else {
                error = "--width must be Normal or a whole number from 1 to 100, not '" + *v + "'";
                return std::nullopt;
            }
            o.selections.widthText = *v;
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
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        } else if (o.dataFile.empty()) {
            o.dataFile = arg;
        } else {
            error = "only one data file can be measured at a time";
            return std::nullopt;
        }
    }
    if ((o.output == Output::Report || o.output == Output::Json) && o.dataFile.empty()) {
        error = "no data file given";
        return std::nullopt;
    }
    return o;
}

}  // namespace tool
