#pragma once
// What the program tells the user about a calculation that did not end in
// results: one table, used by the window and by the command-line tool.

#include "CalculateWidth.h"

#include <string>

namespace report {

struct UserMessage {
    std::string text;       // empty: nothing to say (done, or cancelled)
    bool critical = false;  // shown with the critical-stop icon
};

// dataFileTitle is the file's name, dataFilePath its full path, reason the
// system's words for a file that could not be read.
UserMessage calculationMessage(engine::Outcome outcome, const std::string& dataFileTitle,
                               const std::string& dataFilePath, const std::string& reason);

}  // namespace report
