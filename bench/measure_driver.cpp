// The engine alone, for timing against wc: measure_driver FILE
// Every character is 7 wide, so no font is loaded; prints the line count
// and the total width.

#include "LineMeasurer.h"

#include <cinttypes>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    engine::WidthTable table;
    table.fill(7);
    engine::CharWidths widths(table, [](char32_t) { return 7; });
    const engine::MeasureResult result = engine::measureFile(argv[1], widths);
    if (result.status != engine::MeasureStatus::Ok) {
        std::fprintf(stderr, "%s: not measured (status %d) %s\n", argv[1], static_cast<int>(result.status),
                     result.reason.c_str());
        return 1;
    }
    std::printf("%" PRIu64 " lines, total width %" PRId64 ", %s\n", result.data.LineCount, result.data.TotalWidth,
                result.data.encoding == engine::Encoding::Utf8 ? "UTF-8" : "Windows-1252");
    return 0;
}
