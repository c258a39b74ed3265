#pragma once
// A line of an 8-bit file whose encoding is still open is measured in two
// readings at once, UTF-8 and Windows-1252; the end of the file picks one.
// What reads the same either way (ASCII) is kept once, as common.

#include <cstdint>

namespace engine {

template <class T>
struct Readings {
    T common{};
    T utf8{};
    T windows1252{};

    template <class F>
    void forEach(F&& f)
    {
        f(common);
        f(utf8);
        f(windows1252);
    }
    template <class F>
    void forEach(F&& f) const
    {
        f(common);
        f(utf8);
        f(windows1252);
    }
    // f(mine, theirs) for each reading of this and of other.
    template <class U, class F>
    void forEachWith(U& other, F&& f)
    {
        f(common, other.common);
        f(utf8, other.utf8);
        f(windows1252, other.windows1252);
    }
    bool operator==(const Readings&) const = default;
};

// A line's width in the readings of its file.
struct LineValue {
    std::int64_t width = 0;             // the only reading, or UTF-8
    std::int64_t widthWindows1252 = 0;  // equal to width unless dual
    bool dual = false;                  // the readings may differ

    void append(const LineValue& more)
    {
        width += more.width;
        widthWindows1252 += more.widthWindows1252;
        dual = dual || more.dual;
    }
    // The width in the reading the file turned out to be in.
    std::int64_t in(bool windows1252) const { return windows1252 ? widthWindows1252 : width; }
};

// The width of a line so far: common for the characters that read the same
// either way, utf8 and windows1252 for the others' two readings.
struct LineWidth : Readings<std::int64_t> {
    bool high = false;  // it has characters outside ASCII read both ways

    void clear()
    {
        common = utf8 = windows1252 = 0;
        high = false;
    }

    // dual: the line has bytes that read differently and the encoding is
    // still open.
    LineValue value(bool dual) const
    {
        if (dual)
            return LineValue{common + utf8, common + windows1252, true};
        return LineValue{common, common, false};
    }
    // Once a byte breaks UTF-8, the line is Windows-1252 from its start.
    LineValue valueAsWindows1252() const { return LineValue{common + windows1252, common + windows1252, false}; }
};

}  // namespace engine
