#pragma once
// The width of a delimited value in progress: the widest of its lines, in
// both readings while the file's reading is open, and the line so far.

#include "Readings.h"

#include <algorithm>
#include <limits>

namespace engine {

struct ValueWidth {
    LineWidth line;
    std::int64_t widest8 = std::numeric_limits<std::int64_t>::min();
    std::int64_t widest1252 = std::numeric_limits<std::int64_t>::min();
    bool high = false;

    void clear()
    {
        line.clear();
        widest8 = widest1252 = std::numeric_limits<std::int64_t>::min();
        high = false;
    }

    void endLine()
    {
        widest8 = std::max(widest8, line.common + line.utf8);
        widest1252 = std::max(widest1252, line.common + line.windows1252);
        high = high || line.high;
        line.clear();
    }

    LineValue finish(bool open)
    {
        endLine();
        if (high && open)
            return LineValue{widest8, widest1252, true};
        return LineValue{widest8, widest8, false};
    }

    // Goes on with what a later piece read of the same value: first, its
    // text up to its first line break, and if broke, the lines after it.
    void goOn(const LineWidth& first, bool broke, const ValueWidth& after)
    {
        line.common += first.common;
        line.utf8 += first.utf8;
        line.windows1252 += first.windows1252;
        line.high = line.high || first.high;
        if (!broke)
            return;
        endLine();
        widest8 = std::max(widest8, after.widest8);
        widest1252 = std::max(widest1252, after.widest1252);
        high = high || after.high;
        line = after.line;
    }
};

}  // namespace engine
