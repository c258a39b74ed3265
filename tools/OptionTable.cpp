#include "OptionTable.h"

#include "CatalogueReader.h"
#include "ColumnSizing.h"
#include "StreamTally.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <type_traits>

namespace tool {

namespace {

// "a, b, ... or z" of items.
template <class Items>
std::string choices(const Items& items)
{
    std::string list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        list += i == 0 ? "" : i + 1 == items.size() ? " or " : ", ";
        if constexpr (std::is_arithmetic_v<typename Items::value_type>)
            list += std::to_string(items[i]);
        else
            list += items[i];
    }
    return list;
}

// Thin, Extra Light, ... Extra Bold or Heavy.
std::string weightChoices() { return choices(engine::weightNames); }

bool chooseOutput(Parsing& p, Output output)
{
    if (p.outputChosen && p.options.output != output) {
        p.error = p.current->name + " cannot be combined with the output chosen before it";
        return false;
    }
    p.outputChosen = true;
    p.options.output = output;
    return true;
}

template <Output output>
bool outputOption(Parsing& p, const std::string&)
{
    return chooseOutput(p, output);
}

// An option that takes a whole number in range and keeps it in a member.
template <const Range& range, auto member>
bool wholeNumberOption(Parsing& p, const std::string& value)
{
    const auto n = wholeNumber(value, range);
    if (n)
        p.options.*member = static_cast<std::remove_reference_t<decltype(p.options.*member)>>(*n);
    return n.has_value();
}

// Check mode, or with --check-catalogue the budget of the strings that
// have none of their own: which, the whole command line tells.
bool maxWidth(Parsing& p, const std::string& value)
{
    const auto n = wholeNumber(value, maxWidthRange);
    if (!n)
        return false;
    p.options.maxWidth = *n;
    p.maxWidthGiven = true;
    return true;
}

bool catalogueFormat(Parsing& p, const std::string& value)
{
    if (!catalogue::formatFromWord(value))
        return false;
    p.options.catalogueFormat = value;
    return true;
}

bool face(Parsing& p, const std::string& value)
{
    p.options.faces.push_back(value);
    return true;
}

// A size, a range of sizes (8-14) or a list of either (8,10,12-14), kept as
// the size list spells them: "010" is 10, and measures and merges as 10.
bool size(Parsing& p, const std::string& value)
{
    std::vector<std::string> sizes;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = value.find(',', from);
        const std::string item = value.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        const std::size_t dash = item.find('-');
        const auto first = wholeNumber(item.substr(0, dash), sizeRange);
        const auto last = dash == std::string::npos ? first : wholeNumber(item.substr(dash + 1), sizeRange);
        if (!first || !last || *last < *first || *last - *first >= 4096)
            return false;
        for (std::int64_t n = *first; n <= *last; ++n)
            sizes.push_back(std::to_string(n));
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    p.options.sizes.insert(p.options.sizes.end(), sizes.begin(), sizes.end());
    p.options.selections.sizeText = p.options.sizes.front();
    return true;
}

bool fitShare(Parsing& p, const std::string& value)
{
    const auto n = wholeNumber(value, Range{0, engine::longestShare});
    if (!n || !engine::isSizingShare(static_cast<int>(*n)))
        return false;
    p.options.fit = static_cast<int>(*n);
    return true;
}

bool fitWithin(Parsing& p, const std::string& value)
{
    const auto n = wholeNumber(value, maxWidthRange);
    if (n)
        p.options.fitWithin = *n;
    return n.has_value();
}

std::optional<int> weightPosition(const std::string& value)
{
    for (std::size_t k = 0; k < engine::weightNames.size(); ++k)
        if (engine::weightNames[k] == value)
            return static_cast<int>(k);
    return std::nullopt;
}

bool weight(Parsing& p, const std::string& value)
{
    const auto position = weightPosition(value);
    if (position)
        p.options.selections.weightIndex = *position;
    return position.has_value();
}

bool headerWeight(Parsing& p, const std::string& value)
{
    p.options.headerWeight = weightPosition(value);
    return p.options.headerWeight.has_value();
}


bool averageWidth(Parsing& p, const std::string& value)
{
    if (value == engine::normalWidth) {
        p.options.selections.widthIndex = 0;
        p.options.selections.widthText = value;
    } else if (const auto n = wholeNumber(value, averageWidthRange)) {
        p.options.selections.widthIndex = static_cast<int>(*n);
        p.options.selections.widthText = std::to_string(*n);
    } else {
        return false;
    }
    return true;
}

// A column, or a list of them split at commas (a comma of a name written
// \,); "all" is every column.
bool column(Parsing& p, const std::string& value)
{
    std::vector<std::string> names(1);
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == ',')
            names.back() += value[++i];
        else if (value[i] == ',')
            names.emplace_back();
        else
            names.back() += value[i];
    }
    for (const std::string& name : names) {
        const bool digits = name.find_first_not_of("0123456789") == std::string::npos;
        if (name.empty() || (digits && !wholeNumber(name, columnRange)))
            return false;
    }
    for (std::string& name : names) {
        if (name == allColumnsWord)
            p.options.allColumns = true;
        else
            p.options.columns.push_back(std::move(name));
    }
    return true;
}

bool delimiter(Parsing& p, const std::string& value)
{
    const std::string d = value == "tab" ? std::string("\t") : value;
    if (d.size() != 1 || !usableDelimiter(d[0]))
        return false;
    p.options.delimiter = d[0];
    return true;
}

std::vector<Option> makeTable()
{
    const MeasureOptions defaults;
    const engine::FontSelections& font = defaults.selections;
    const std::string text = std::to_string(engine::recordTextCharacters);
    constexpr unsigned fontRuns = Measure | CharWidths | Catalogue;
    return {
        {"--face", "", "NAME", Section::Font, fontRuns,
         "font face, as --list-fonts names it (default: the first installed font in list order); given again, "
         "each face is measured",
         "", face},
        {"--size", "", "N", Section::Font, fontRuns,
         "point size, " + sizeRange.text() + " (default " + font.sizeText + "); a range 8-14 or a list 8,10,12, "
         "or given again, measures each size. Every face in every size is measured in one pass, at most " +
             std::to_string(maxFonts) + " fonts",
         "a whole number from " + sizeRange.text() + ", a range of them (8-14) or a list (8,10,12)", size},
        {"--italic", "", "", Section::Font, fontRuns, "italic", "",
         [](Parsing& p, const std::string&) {
             p.options.selections.italic = 1;
             return true;
         }},
        {"--underline", "", "", Section::Font, fontRuns, "underlined", "",
         [](Parsing& p, const std::string&) {
             p.options.selections.underline = 1;
             return true;
         }},
        {"--strikeout", "", "", Section::Font, fontRuns, "struck out", "",
         [](Parsing& p, const std::string&) {
             p.options.selections.strikeOut = 1;
             return true;
         }},
        {"--weight", "", "NAME", Section::Font, fontRuns,
         weightChoices() + " (default " + font.weightText() + ")", weightChoices(), weight},
        {"--width", "", "W", Section::Font, fontRuns,
         std::string(engine::normalWidth) + ", or an average character width of " + averageWidthRange.text() +
             " pixels (default " + font.widthText + ")",
         std::string(engine::normalWidth) + " or a whole number from " + averageWidthRange.text(), averageWidth},
        {"--dpi", "", "N", Section::Font, fontRuns,
         "the screen's logical resolution, " + dpiRange.text() + " (default " + std::to_string(defaults.dpi) + ")",
         "a whole number from " + dpiRange.text(), wholeNumberOption<dpiRange, &MeasureOptions::dpi>},

        {"--json", "", "", Section::Output, Measure | Merge | Catalogue,
         "one JSON object: the unrounded statistics, the exact fits (ExactFit50..ExactFit99: the smallest width "
         "that at least that share of the lines fit in), the ten widest lines, the face, the resolution (Dpi) "
         "and the encoding read",
         "", outputOption<Output::Json>},
        {"--histogram", "", "", Section::Output, Measure | Merge,
         "the JSON object with the count of lines of each width and all that --merge needs", "",
         outputOption<Output::Histogram>},
        {"--max-width", "", "N", Section::Output, Measure | Catalogue,
         "check mode: print every line wider than N pixels as LINE:WIDTH:TEXT in file order (TEXT shows at most " +
             text + " characters, then \xE2\x80\xA6); exit 0 when all fit, 1 when some line is wider, 2 when the "
             "data cannot be read. TEXT shows a line break inside a value as \xE2\x86\xB5, other control characters as "
             "\\xHH (ESC as \\x1b) or \\uHHHH (U+0085, U+2028, U+2029 and the other C1 controls), and a backslash "
             "that would read as such an escape doubled",
         "a whole number of pixels, " + maxWidthRange.text(), maxWidth},
        {"--check-catalogue", "", "", Section::Catalogue, Catalogue,
         "check every string of XLIFF (.xlf, .xliff), gettext (.po, .pot) and Qt Linguist (.ts) catalogues "
         "against its pixel budget: XLIFF 1.2 maxwidth (size-unit pixel, the default; other units are not "
         "checked), a PO max-size:N flag, else --max-width N. Prints each string over it as "
         "FILE:LINE:ID:WIDTH:BUDGET:TEXT (in ID, \\: is a colon); --json lists every string. A summary goes to "
         "standard error. Exit 0 when all fit, 1 when some string is over, 2 when a catalogue cannot be read or "
         "a unit's font is not installed",
         "", [](Parsing& p, const std::string&) {
             p.options.checkCatalogue = true;
             return true;
         }},
        {"--format", "", "F", Section::Catalogue, Catalogue, "read every catalogue as xliff, po or ts",
         catalogue::formatWords(), catalogueFormat},
        {"--source", "", "", Section::Catalogue, Catalogue, "measure the source text, not the translation", "",
         [](Parsing& p, const std::string&) {
             p.options.catalogueSource = true;
             return true;
         }},
        {"--placeholder-width", "", "N", Section::Catalogue, Catalogue,
         "count each placeholder (%s, %1, {name}, XLIFF ph and x) as N pixels instead of as written",
         "a whole number of pixels from " + placeholderWidthRange.text(),
         [](Parsing& p, const std::string& value) {
             const auto n = wholeNumber(value, placeholderWidthRange);
             if (n)
                 p.options.placeholderWidth = *n;
             return n.has_value();
         }},
        {"--fit-within", "", "W", Section::Output, Measure,
         "the largest listed size of each face (default: every size from " + std::to_string(fitWithinSizes.min) +
             " to " + std::to_string(fitWithinSizes.max) +
             ") at which the --fit share of the lines measures at most W pixels, as measuring every size would "
             "find, and the next size up with its width; exit 0 when every face has one, 1 when one has none",
         "a whole number of pixels, " + maxWidthRange.text(), fitWithin},
        {"--fit", "", "P", Section::Output, Measure,
         "the share of the lines, in per cent, a width is sized for: 50, 60, 70, 80, 90, 95 or 99 (the measured "
         "fits), or 100, every line (default); for --fit-within, and for each column of a table, which is never "
         "narrower than its header",
         choices(engine::sizingShares), fitShare},
        {"--merge", "", "", Section::Output, Merge,
         "combine --histogram outputs of consecutive parts of one data set, given in order, as if the whole had "
         "been measured; parts must share their font options. A file may hold several parts, one a line, and - "
         "reads them from standard input",
         "", [](Parsing& p, const std::string&) {
             p.options.merge = true;
             return true;
         }},
        {"--char-widths", "", "", Section::Output, CharWidths,
         "one JSON line: the selected face and the widths of character codes 32 to 126 (no FILE needed)", "",
         outputOption<Output::CharWidths>},
        {"--list-fonts", "", "", Section::Output, ListFonts, "the installed fonts as the font list shows them", "",
         outputOption<Output::ListFonts>},

        {"--column", "", "NAME|N", Section::Delimited, Measure,
         "the column to measure: a header name (exact, then ignoring case) or a number from 1 (default 1). " +
             std::string(allColumnsWord) +
             ", a list such as 1,3,name (a comma in a name written \\,) or --column again measure several in one "
             "pass and print a table of them: values, shortest, longest, average, 99% fits, the header's width "
             "and the width to give each column in pixels and in spreadsheet units",
         std::string(allColumnsWord) + ", or header names or numbers from " + columnRange.text() +
             ", separated by commas",
         column},
        {"--header-weight", "", "NAME", Section::Delimited, Measure,
         "the weight the header row of a table is drawn in, as --weight names them (default: the font's own)",
         weightChoices(), headerWeight},
        {"--delimiter", "", "D", Section::Delimited, Measure,
         ", or ; or tab or any one ASCII character (default: tab for .tsv; comma, or semicolon when the first "
         "record has semicolons and no comma)",
         "tab or one ASCII character other than a quote or a line end", delimiter},
        {"--no-header", "", "", Section::Delimited, Measure, "the first record is data too, not column names", "",
         [](Parsing& p, const std::string&) {
             p.options.noHeader = true;
             return true;
         }},

        {"--threads", "", "N", Section::Other, Measure,
         "measure on N threads, " + threadRange.text() + " (default: one per core)",
         "a whole number from " + threadRange.text(), wholeNumberOption<threadRange, &MeasureOptions::threads>},
        {"--help", "-h", "", Section::Other, EveryRun, "this text", "",
         [](Parsing& p, const std::string&) {
             p.options.output = Output::Help;
             p.stop = true;
             return true;
         }},
        {"--version", "", "", Section::Other, EveryRun, "the program's version", "",
         [](Parsing& p, const std::string&) {
             p.options.output = Output::Version;
             p.stop = true;
             return true;
         }},
        {"--", "", "", Section::Other, EveryRun, "ends the options: what follows is a file name", "",
         [](Parsing& p, const std::string&) {
             p.optionsEnded = true;
             return true;
         }},
    };
}

}  // namespace

std::string Range::text() const
{
    if (max == std::numeric_limits<std::int64_t>::max())
        return std::to_string(min) + " or more";
    return std::to_string(min) + " to " + std::to_string(max);
}

std::optional<std::int64_t> wholeNumber(std::string_view text, Range range)
{
    std::int64_t value = 0;
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !range.contains(value))
        return std::nullopt;
    return value;
}

bool usableDelimiter(char c)
{
    return static_cast<unsigned char>(c) < 0x80 && c != '"' && c != '\n' && c != '\r';
}

const std::vector<Option>& optionTable()
{
    static const std::vector<Option> table = makeTable();
    return table;
}

const Option* findOption(std::string_view name)
{
    for (const Option& option : optionTable())
        if (option.name == name || (!option.shortName.empty() && option.shortName == name))
            return &option;
    return nullptr;
}

std::string refusal(const Option& option, const std::string& value)
{
    return option.name + " must be " + option.mustBe + ", not '" + value + "'";
}

}  // namespace tool
