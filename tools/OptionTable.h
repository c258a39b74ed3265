#pragma once
// Every option of spanwick-measure in one table: its name, its argument,
// the values it takes, its help line, what a wrong value is told and the
// runs it applies to. The parser and the help text both read it.
//
// An option given again is applied again, in order: an option that keeps a
// list appends to it, the others replace the earlier value. An option whose
// value is a list ("8-14", "a,b") parses it in its own apply.

#include "MeasureOptions.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

// The whole numbers an option takes.
struct Range {
    std::int64_t min;
    std::int64_t max;

    bool contains(std::int64_t n) const { return n >= min && n <= max; }
    // "1 to 4096", or "0 or more" when there is no upper end.
    std::string text() const;
};

inline constexpr Range sizeRange{1, 4096};
inline constexpr Range dpiRange{1, 10000};
inline constexpr Range threadRange{1, 256};
inline constexpr Range columnRange{1, 1 << 20};
inline constexpr Range maxWidthRange{0, std::numeric_limits<std::int64_t>::max()};
inline constexpr Range averageWidthRange{1, engine::largestCharacterWidth};
inline constexpr Range placeholderWidthRange{0, 1 << 20};
// The sizes --fit-within looks among when none are listed: the size list's.
inline constexpr Range fitWithinSizes{engine::smallestListedPointSize, engine::largestListedPointSize};

// --column's word for every column.
inline constexpr std::string_view allColumnsWord = "all";

// Decimal digits alone, in range; nothing otherwise (a sign, a unit, a fraction).
std::optional<std::int64_t> wholeNumber(std::string_view text, Range range);

// A delimiter of delimited text: an ASCII character other than a quote or a line end.
bool usableDelimiter(char c);

// The groups of the help text, in their order there.
enum class Section { Font, Output, Delimited, Catalogue, Other };

// What a command line asks the program to do; an option names those it
// means something to, and is refused with any other.
enum Run : unsigned {
    Measure = 1,      // measure a data file: report, --json, --histogram, check mode
    Merge = 2,        // --merge
    CharWidths = 4,   // --char-widths
    ListFonts = 8,    // --list-fonts
    Catalogue = 16,   // --check-catalogue
    EveryRun = Measure | Merge | CharWidths | ListFonts | Catalogue,
};

struct Option;

// What the parser knows while it reads the arguments.
struct Parsing {
    MeasureOptions options;
    const Option* current = nullptr;  // the option being applied
    bool outputChosen = false;
    bool maxWidthGiven = false;  // check mode, or with catalogues their budget
    bool optionsEnded = false;
    bool stop = false;   // --help, --version: the rest is not read
    std::string error;   // an apply's own words for a refusal
};

struct Option {
    std::string name;       // "--size"
    std::string shortName;  // "-h", or empty
    std::string argument;   // "N"; empty for an option without a value
    Section section;
    unsigned runs;          // the Run values it applies to
    std::string help;
    std::string mustBe;     // "a whole number from 1 to 4096": what a refused value is told
    // Applies the option's value (empty without an argument); false refuses it.
    bool (*apply)(Parsing&, const std::string& value);
};

const std::vector<Option>& optionTable();

// The option of that long or short name, or nothing.
const Option* findOption(std::string_view name);

// "--size must be a whole number from 1 to 4096, not '12pt'".
std::string refusal(const Option& option, const std::string& value);

}  // namespace tool
