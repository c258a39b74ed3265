#include "UsageText.h"

#include "OptionTable.h"

#include <sstream>

namespace tool {

namespace {

constexpr std::size_t lineWidth = 79;
constexpr std::size_t helpColumn = 23;

struct SectionText {
    Section section;
    const char* heading;
};

constexpr SectionText sections[] = {
    {Section::Font, "Font options (defaults as in the main window):"},
    {Section::Output, "Output (default: the 21-line report, lines ended by CR LF):"},
    {Section::Delimited, "Delimited text (a FILE ending in .csv or .tsv, or any FILE with --column):"},
    {Section::Catalogue, "Translation catalogues (--check-catalogue CATALOGUE...):"},
    {Section::Other, "Other options:"},
};

// After the options, as paragraphs of their own: help2man would fold text
// under a heading into the option before it.
constexpr const char* closingParagraphs[] = {
    "In delimited text each record's field in the column is one value, as wide as its widest line; records are "
    "numbered from 1 after the header, which is 0. Check mode prints RECORD:LINE:WIDTH:TEXT, LINE being where the "
    "record starts, or with several columns RECORD:LINE:COLUMN:WIDTH:TEXT, COLUMN being the column's number.",
    "A table of columns sizes each for the longest value (or --fit), or its header where that is wider: Sized in "
    "pixels, Characters as a spreadsheet's Column Width box shows it and its writers' set-column calls take it, "
    "Col width as the file's <col width> stores it (ExcelCharacters and ExcelWidth in the JSON), both in the "
    "widest digit of the font measured: choose the workbook's default font.",
    "In catalogues the target (msgstr, translation) is measured, or the source where there is none; length "
    "variants fit when the narrowest does; an XLIFF unit's font attribute (face;size;weight) replaces the font "
    "options for it.",
    "Exit status: 0 on success, 1 when the data cannot be measured or the output cannot be written, 2 on a usage "
    "error.",
};

// The words of text in lines of at most lineWidth, each line after the
// first indented to indent; the first continues from column `at`.
std::string wrapped(const std::string& text, std::size_t indent, std::size_t at)
{
    std::istringstream words(text);
    std::string out, word;
    std::size_t column = at;
    bool lineEmpty = true;
    while (words >> word) {
        if (!lineEmpty && column + 1 + word.size() > lineWidth) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        // The ellipsis takes three bytes and one column.
        column += word.size() - 2 * (word.find("\xE2\x80\xA6") != std::string::npos);
        lineEmpty = false;
    }
    return out + "\n";
}

std::string optionLine(const Option& option)
{
    std::string names = "  " + (option.shortName.empty() ? "" : option.shortName + ", ") + option.name;
    if (!option.argument.empty())
        names += " " + option.argument;
    if (names.size() + 1 < helpColumn)
        return names + std::string(helpColumn - names.size(), ' ') + wrapped(option.help, helpColumn, helpColumn);
    return names + "\n" + std::string(helpColumn, ' ') + wrapped(option.help, helpColumn, helpColumn);
}

}  // namespace

std::string usageText()
{
    // help2man turns the "or:" lines into the manual page's synopsis, each
    // heading into a subsection and each option line into a tagged paragraph.
    std::string text = "Usage: spanwick-measure [options] FILE\n"
                       "  or:  spanwick-measure --max-width N [options] FILE\n"
                       "  or:  spanwick-measure --check-catalogue [options] CATALOGUE...\n"
                       "  or:  spanwick-measure --merge [--json|--histogram] PART.json...\n"
                       "  or:  spanwick-measure --char-widths [font options]\n"
                       "  or:  spanwick-measure --list-fonts\n"
                       "\n" +
                       wrapped("Measures the width in pixels of every line of FILE in a font and prints the width "
                               "statistics as the 21-line report Spanwick saves. FILE may be a regular file, a FIFO, "
                               "a device, or - for standard input.",
                               0, 0);
    for (const SectionText& section : sections) {
        text += '\n' + std::string(section.heading) + '\n';
        for (const Option& option : optionTable())
            if (option.section == section.section)
                text += optionLine(option);
    }
    for (const char* paragraph : closingParagraphs)
        text += '\n' + wrapped(paragraph, 0, 0);
    return text;
}

}  // namespace tool
