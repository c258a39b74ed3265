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
    bool unreadable = false;  // an input could not be read at all, rather than being wrong
};

// The parts in the order given. Each input ("-" for standard input) holds
// one or more parts, one JSON object a line, as --histogram writes them and
// as a streaming reducer receives them. Refuses a part that is not what
// --histogram writes, or that was measured with other font options or as
// another kind of text than the first, and totals past 64 bits.
std::optional<MergedParts> mergeParts(const std::vector<std::string>& inputs, MergeError& error);

}  // namespace tool
