#pragma once
// Small UTF-8 helpers for names and short texts (not for data files).

#include <string>
#include <string_view>

namespace fontview {

void appendUtf8(std::string& out, char32_t code);

// Decodes UTF-8; a byte that starts no valid sequence stands for itself
// (as Latin-1), so no input is lost or rejected.
std::u32string decodeUtf8(std::string_view text);

// The longest prefix of text that has at most maxBytes bytes and does not
// end inside a multi-byte character.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

// Simple case folding for face names: ASCII, Latin-1, Greek and Cyrillic.
char32_t foldCase(char32_t code);

}  // namespace fontview
