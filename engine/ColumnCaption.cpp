#include "ColumnCaption.h"

#include "Utf8.h"

namespace engine {

namespace {

bool breaksLine(char32_t c) { return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029; }
bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

}  // namespace

std::string columnCaption(const std::vector<std::string>& headerNames, bool header, std::size_t number)
{
    const std::string numbered = "Column " + std::to_string(number);
    if (!header || number < 1 || number > headerNames.size())
        return numbered;
    std::string caption;
    for (const char32_t c : fontview::decodeUtf8(headerNames[number - 1])) {
        if (!breaksLine(c))
            fontview::appendUtf8(caption, isControl(c) ? U'?' : c);
        else if (caption.empty() || caption.back() != ' ')
            caption += ' ';  // CR LF, or a blank line inside, is one space
    }
    return caption.empty() ? numbered : caption;
}

}  // namespace engine
