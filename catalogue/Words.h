#pragma once
// The small text helpers the catalogue readers share.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// Without the spaces and tabs at either end.
std::string_view trimmed(std::string_view text);

// ASCII letters in lower case.
std::string lowerCase(std::string_view text);

// A whole number 0 or more written in decimal digits alone.
std::optional<std::int64_t> wholeNumber(std::string_view text);

}  // namespace catalogue
