#pragma once
// What the program tells the user about a calculation that did not end in
// results: one table, used by the window and by the command-line tool.

#include "CalculateWidth.h"

#include <cstdint>
#include <string>

namespace report {

struct UserMessage {
    std::string text;       // empty: nothing to say (done, or cancelled)
    bool critical = false;  // shown with the critical-stop icon
};

// What a message may name.
struct MessageFacts {
    std::string dataFileTitle;  // the file's name
    std::string dataFilePath;   // its full path
    std::string reason;         // the system's words for a file that could not be read
    std::uint64_t line = 0;     // an unclosed quote's line
    std::string column;         // a column that is not in the header
};

UserMessage calculationMessage(engine::Outcome outcome, const MessageFacts& facts);

}  // namespace report
