#pragma once
// --merge: adds up what --histogram wrote for consecutive parts of one data
// set, so the result is that of measuring the whole.

#include "JsonOutput.h"
#include "StreamTally.h"

#include <optional>
#include <string>
#include <vector>

namespace tool {

struct MergedParts {
    engine::StreamTally tally;
    FontRecord font;
    FormatRecord format;
    std::string face;  // the face the font layer chose for the first part
    std::vector<std::string> dataFiles;
};

struct MergeError {
    std::string message;
    bool unreadable = false;  // a part could not be read at all, rather than being wrong
};

// The parts in the order given. Refuses parts that are not --histogram
// output, or that were measured with other font options or as another
// kind of text than the first.
std::optional<MergedParts> mergeParts(const std::vector<std::string>& files, MergeError& error);

}  // namespace tool
