#pragma once
// The pieces of a PO file's syntax: quoted strings with C escapes, the
// flags of a "#," line, and the header's charset.

#include "CatalogueMessage.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// Appends the bytes the quoted string at the start of text stands for
// (\n is a line break, \" a quote, \ooo and \xhh bytes...). Only white
// space may follow the closing quote. Says what is wrong, if anything.
std::optional<std::string> appendQuoted(std::string_view text, std::string& bytes);

// The budget a max-size:N flag gives, the convention of a translation
// platform: N pixels wide. max-size:N:L allows L lines, which wrapping
// fills, so such a budget is kept unchecked. Says what is wrong, if
// anything.
std::optional<std::string> budgetFromFlags(std::string_view flags, Budget& budget);

enum class Charset { Utf8, Latin1, Windows1252 };

// The charset of a header entry's Content-Type (UTF-8 when it names none,
// as a template's "CHARSET"); nothing for a charset that is not read.
std::optional<Charset> charsetOfHeader(std::string_view header, std::string& name);

QString decode(const std::string& bytes, Charset charset);

}  // namespace catalogue
