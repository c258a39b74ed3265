#include "UserMessages.h"

namespace report {

UserMessage calculationMessage(engine::Outcome outcome, const MessageFacts& facts)
{
    const std::string& dataFileTitle = facts.dataFileTitle;
    const std::string& dataFilePath = facts.dataFilePath;
    const std::string& reason = facts.reason;
    using engine::Outcome;
    switch (outcome) {
    case Outcome::Done:
    case Outcome::Cancelled:
        return {};
    case Outcome::NoDataFile:
        return {"You must select a data file on which to perform the calculation.", true};
    case Outcome::NoFont:
        return {"Font not yet selected", false};
    case Outcome::EmptyFile:
        return {"The data file '" + dataFileTitle + "' does not contain any data.", true};
    case Outcome::Unreadable:
        return {"The data file '" + dataFilePath + "' could not be read: " + reason + ".", true};
    case Outcome::Changed:
        return {"The data file '" + dataFilePath + "' changed while it was being measured. Please calculate again.",
                true};
    case Outcome::OutOfMemory:
        return {"There is not enough memory to measure '" + dataFilePath + "'.", true};
    case Outcome::UnclosedQuote:
        return {"The data file '" + dataFilePath + "' has a quoted field that starts on line " +
                    std::to_string(facts.line) + " and never ends.",
                true};
    case Outcome::UnknownColumn:
        return {"The data file '" + dataFilePath + "' has no column named '" + facts.column + "'.", true};
    case Outcome::RecordTooLong:
        return {"The data file '" + dataFilePath + "' has a record longer than 64 MiB, more than can be measured.",
                true};
    }
    return {};
}

}  // namespace report
