#pragma once
// One string of a translation catalogue, as the readers hand it on: where
// it stands, what names it, the text as it is drawn, its own budget and
// its own font. Nothing here is measured yet.

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace catalogue {

// A stretch of a text that markup marks as a placeholder. An empty one
// stands for a placeholder written as nothing (an XLIFF <x/>).
struct Span {
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const Span&) const = default;
};

struct Text {
    QString text;  // line breaks are '\n'
    std::vector<Span> placeholders;  // in order, not overlapping
    std::uint64_t line = 0;  // where it starts in the catalogue

    bool operator==(const Text&) const = default;
};

// A budget in pixels is checked; one in another unit is kept to be shown
// as not checked.
struct Budget {
    enum class Kind { None, Pixels, OtherUnit };
    Kind kind = Kind::None;
    std::int64_t value = 0;
    std::string unit;  // for OtherUnit: as the catalogue names it

    bool operator==(const Budget&) const = default;
};

struct Message {
    std::string id;  // what names the string in its catalogue
    // The text, or the length variants of one message, longest first as
    // written: the message fits when its narrowest variant fits.
    std::vector<Text> variants;
    Budget budget;
    std::string font;  // the unit's own font, as written ("face;size;weight"); empty: the font options

    std::uint64_t line() const { return variants.empty() ? 0 : variants.front().line; }
};

// What an ID ends in for one plural form: "[2]".
inline std::string pluralFormSuffix(std::size_t form)
{
    std::string suffix(1, '[');
    suffix += std::to_string(form);
    suffix += ']';
    return suffix;
}

}  // namespace catalogue
