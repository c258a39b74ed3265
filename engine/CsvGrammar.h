#pragma once
// Delimited text as the program reads it (RFC 4180, with any delimiter and
// any line end): one transition function, state and character class to
// the next state and what the character is. Everything that reads records
// walks it: the measuring loop, the reader of the first record, and the
// search for where records end; the faster ways of finding record ends are
// checked against it.
//
// A record is a line of fields split by the delimiter. A field that starts
// with " is quoted: delimiters and line breaks inside are data, "" stands
// for one ", and text after the closing quote still belongs to the field.
// A quote inside an unquoted field is an ordinary character. A line ends
// at CR LF, LF or a lone CR, inside quotes too.

#include "TextEncoding.h"

#include <array>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <bit>

namespace engine::csv {

enum class State : std::uint8_t {
    FieldStart,     // a field begins: at a record's start or after a delimiter
    Unquoted,       // inside an unquoted field, or after a quoted one closed
    Quoted,         // inside quotes
    QuoteInQuoted,  // just after a quote inside quotes: it closes, or a second follows
    AfterCR,        // a record's start just after the CR that ended the last one
    QuotedAfterCR,  // inside quotes just after a CR
};
inline constexpr std::size_t stateCount = 6;

enum class Class : std::uint8_t { Other, Quote, Delimiter, LF, CR };
inline constexpr std::size_t classCount = 5;

enum class Action : std::uint8_t {
    Char,       // a character of the field's text
    Quote,      // a quote that only opens or closes, or the first of a doubled pair
    LineBreak,  // a line break inside quotes: text, and a new line of the field
    BreakRest,  // the LF of a CR LF inside quotes: text, no new line
    EndField,   // the delimiter
    EndRecord,  // the line end that ends the record
    EndRest,    // the LF of the CR LF that ended the record before
};

struct Step {
    State next;
    Action action;
};

constexpr Step step(State state, Class c)
{
    using S = State;
    using A = Action;
    switch (state) {
    case S::AfterCR:
        if (c == Class::LF)
            return {S::FieldStart, A::EndRest};
        [[fallthrough]];
    case S::FieldStart:
        switch (c) {
        case Class::Quote: return {S::Quoted, A::Quote};
        case Class::Delimiter: return {S::FieldStart, A::EndField};
        case Class::LF: return {S::FieldStart, A::EndRecord};
        case Class::CR: return {S::AfterCR, A::EndRecord};
        case Class::Other: return {S::Unquoted, A::Char};
        }
        break;
    case S::Unquoted:
        switch (c) {
        case Class::Delimiter: return {S::FieldStart, A::EndField};
        case Class::LF: return {S::FieldStart, A::EndRecord};
        case Class::CR: return {S::AfterCR, A::EndRecord};
        case Class::Quote:
        case Class::Other: return {S::Unquoted, A::Char};
        }
        break;
    case S::QuotedAfterCR:
        if (c == Class::LF)
            return {S::Quoted, A::BreakRest};
        [[fallthrough]];
    case S::Quoted:
        switch (c) {
        case Class::Quote: return {S::QuoteInQuoted, A::Quote};
        case Class::LF: return {S::Quoted, A::LineBreak};
        case Class::CR: return {S::QuotedAfterCR, A::LineBreak};
        case Class::Delimiter:
        case Class::Other: return {S::Quoted, A::Char};
        }
        break;
    case S::QuoteInQuoted:
        switch (c) {
        case Class::Quote: return {S::Quoted, A::Char};
        case Class::Delimiter: return {S::FieldStart, A::EndField};
        case Class::LF: return {S::FieldStart, A::EndRecord};
        case Class::CR: return {S::AfterCR, A::EndRecord};
        case Class::Other: return {S::Unquoted, A::Char};
        }
        break;
    }
    return {S::FieldStart, A::EndRecord};
}

// The transition function as a table, for the loops: one load a step.
inline constexpr auto stepTable = [] {
    std::array<std::array<Step, classCount>, stateCount> table{};
    for (std::size_t s = 0; s < stateCount; ++s)
        for (std::size_t c = 0; c < classCount; ++c)
            table[s][c] = step(static_cast<State>(s), static_cast<Class>(c));
    return table;
}();

inline Step stepOf(State state, Class c)
{
    return stepTable[static_cast<std::size_t>(state)][static_cast<std::size_t>(c)];
}

// Where a record may begin: the states in which the data may end without
// leaving a record open.
constexpr bool atRecordStart(State state, bool recordOpen)
{
    return !recordOpen && (state == State::FieldStart || state == State::AfterCR);
}

// Whether the data may end in this state: not inside quotes.
constexpr bool mayEndIn(State state) { return state != State::Quoted && state != State::QuotedAfterCR; }

// The characters that carry a state on into itself as text: the runs the
// walk below passes over whole.
inline bool continuesRun(State state, Class c)
{
    const Step s = stepOf(state, c);
    return s.next == state && s.action == Action::Char;
}

// The classes of the code units for one delimiter: every unit but the
// quote, the line ends and the delimiter is Other.
class Classes {
public:
    explicit Classes(char delimiter) : delimiter_(static_cast<unsigned char>(delimiter))
    {
        table_.fill(Class::Other);
        table_['"'] = Class::Quote;
        table_['\n'] = Class::LF;
        table_['\r'] = Class::CR;
        table_[delimiter_] = Class::Delimiter;
    }
    Class of(char32_t unit) const { return unit < 256 ? table_[unit] : Class::Other; }
    unsigned char delimiter() const { return delimiter_; }

private:
    unsigned char delimiter_;
    std::array<Class, 256> table_;
};

// The code units of a piece: bytes, or UTF-16 in either order.
struct ByteUnits {
    static constexpr std::size_t size = 1;
    char32_t at(const unsigned char* p) const { return *p; }
};

struct Utf16Units {
    static constexpr std::size_t size = 2;
    bool bigEndian = false;
    char32_t at(const unsigned char* p) const { return utf16Unit(p, bigEndian); }
};

// The first byte at or after p that is one of a, b or c, or end; 16 bytes
// at a time where it can.
inline const unsigned char* findAny(const unsigned char* p, const unsigned char* end, unsigned char a,
                                    unsigned char b, unsigned char c)
{
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(static_cast<char>(a)), vb = _mm_set1_epi8(static_cast<char>(b));
    const __m128i vc = _mm_set1_epi8(static_cast<char>(c));
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)), _mm_cmpeq_epi8(v, vc));
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)))
            return p + std::countr_zero(mask);
    }
#endif
    while (p < end && *p != a && *p != b && *p != c)
        ++p;
    return p;
}

// The end of the run that begins at p in this state: the first unit that
// does not carry the state on as text.
inline const unsigned char* runEnd(const ByteUnits&, const Classes& classes, State state, const unsigned char* p,
                                   const unsigned char* end)
{
    // Unquoted text runs to a delimiter or a line end, quoted text to a
    // quote or a line end; in every other state each unit is a step.
    if (state == State::Unquoted)
        return findAny(p, end, classes.delimiter(), '\n', '\r');
    if (state == State::Quoted)
        return findAny(p, end, '"', '\n', '\r');
    return p;
}

inline const unsigned char* runEnd(const Utf16Units& units, const Classes& classes, State state,
                                   const unsigned char* p, const unsigned char* end)
{
    while (end - p >= 2 && continuesRun(state, classes.of(units.at(p))))
        p += 2;
    return p;
}

// Walks [p, end) from state: calls text(begin, end) for each run of the
// field's text, and onStep(action, at) for every unit that is not text;
// onStep returns false to stop there. Returns where the walk stopped: just
// after the unit it stopped on, or where too little is left for a unit.
template <class Units, class Text, class OnStep>
const unsigned char* walk(const Units& units, const Classes& classes, State& state, const unsigned char* p,
                          const unsigned char* const end, Text&& text, OnStep&& onStep)
{
    constexpr std::ptrdiff_t size = Units::size;
    const unsigned char* runStart = p;
    while (end - p >= size) {
        const unsigned char* const stop = runEnd(units, classes, state, p, end);
        if (end - stop < size) {
            p = stop;
            break;
        }
        const Step s = stepOf(state, classes.of(units.at(stop)));
        state = s.next;
        p = stop + size;
        if (s.action == Action::Char)
            continue;  // the text goes on, in the next state
        if (stop != runStart)
            text(runStart, stop);
        runStart = p;
        if (!onStep(s.action, stop))
            return p;
    }
    if (p != runStart)
        text(runStart, p);
    return p;
}

}  // namespace engine::csv
