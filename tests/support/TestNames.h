#pragma once
// Readable names for the rows of parameterised tests. GoogleTest allows
// only letters, digits and underscores, and CTest lists the names, so a
// row is named by what it holds, never by its bytes or its place.

#include <concepts>
#include <cstdio>
#include <string>
#include <string_view>

namespace testnames {

// Letters and digits kept, a minus sign spelt out, anything else an
// underscore; "empty" for nothing at all.
inline std::string word(std::string_view text)
{
    if (text.empty())
        return "empty";
    std::string name;
    for (const char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            name += c;
        else if (c == '-')
            name += "minus";
        else
            name += '_';
    }
    return name;
}

// A face name without its spaces: "DejaVu Sans" gives "DejaVuSans".
inline std::string face(std::string_view name)
{
    std::string joined;
    for (const char c : name)
        if (c != ' ')
            joined += c;
    return word(joined);
}

template <std::integral Integer>
std::string number(Integer value)
{
    return word(std::to_string(value));
}

inline std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return word(text);
}

}  // namespace testnames
