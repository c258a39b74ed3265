#pragma once
// Text from a data file or from the user, shown on one line of a terminal,
// a log or a report: nothing in it may act on the terminal (ESC, BEL, BS),
// end the line early (LF, CR, NEL, U+2028) or pass unseen (NUL, DEL).

#include <string>
#include <string_view>

namespace report {

// The characters that act rather than show: the C0 controls, DEL, the C1
// controls (U+0080..U+009F, NEL among them) and the line and paragraph
// separators U+2028 and U+2029.
bool isControlCharacter(char32_t code);

enum class LineBreaks {
    Arrow,    // a value's lines: LF, CR LF and CR alike as ↵, as they are measured alike
    Escaped,  // a name, matched byte for byte: \x0a, \x0d
};

// The text with every control shown, visibly and unambiguously:
//   a line break as ↵ (or escaped, as the caller asks), a ↵ of the text
//   itself then as \u21b5;
//   any other C0 control and DEL as \xHH: ESC as \x1b, tab as \x09;
//   a C1 control, U+2028 and U+2029 as \uHHHH: \u0085, \u2028;
//   a byte that is not part of UTF-8 as \xHH;
//   a backslash as \\ where what follows would otherwise read as one of
//   these (a backslash, x or u), so "C:\Users" and "a\n" stay as they are.
// Everything else is kept as it is.
std::string visibleText(std::string_view text, LineBreaks breaks = LineBreaks::Arrow);

}  // namespace report
