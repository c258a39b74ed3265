// The engine alone, for timing against wc: measure_driver FILE [THREADS]
// Every character is 7 wide, so no font is loaded; prints the line count
// and the total width.

#include "Measure.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s FILE [THREADS]\n", argv[0]);
        return 2;
    }
    engine::WidthTable table;
    table.fill(7);
    const engine::FontWidths widths(table, [](char32_t) { return 7; });
    engine::MeasureOptions options;
    if (argc == 3)
        options.threads = static_cast<unsigned>(std::atoi(argv[2]));
    const engine::MeasureResult result = engine::measure(engine::DataSource{argv[1]}, widths, options);
    if (result.outcome != engine::Outcome::Done) {
        std::fprintf(stderr, "%s: not measured (status %d) %s\n", argv[1], static_cast<int>(result.outcome),
                     result.reason.c_str());
        return 1;
    }
    const engine::Measurement m = engine::resolve(result.tally);
    std::printf("%" PRIu64 " lines, total width %" PRId64 ", %s\n", m.lineCount(), m.widths.totalWidth().value_or(-1),
                engine::encodingName(m.encoding));
    return 0;
}
