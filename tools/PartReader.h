#pragma once
// One part for --merge: the JSON object --histogram writes, read back and
// checked to be exactly that. Anything else (a number that is not a whole
// number in range, widest lines that disagree with the histogram, counts
// that do not add up) is refused with where and what is wrong, rather than
// merged into a wrong answer.

#include "JsonOutput.h"
#include "StreamTally.h"

#include <QByteArray>

#include <optional>
#include <string>

namespace tool {

struct Part {
    engine::StreamTally tally;
    FontRecord font;      // numbers spelt as the options spell them
    FormatRecord format;
    std::string face;     // the face the font layer chose
    std::string dataFile;
};

// The part in json; nothing, with problem set, when it is not what
// --histogram writes.
std::optional<Part> readPart(const QByteArray& json, std::string& problem);

// Whether two parts were measured with the same font options.
bool sameFont(const FontRecord& a, const FontRecord& b);

}  // namespace tool
