// The engine alone, for timing passes of one or many targets:
//   measure_driver FILE [THREADS] [--fonts K] [--columns A,B,...] [--every-column] [--check WIDTH]
// Fonts are stand-ins with no font file behind them: font k gives every
// character 7 + k pixels. Prints each target's value count and total width.

#include "Measure.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [THREADS] [--fonts K] [--columns A,B,...] [--every-column] [--check W]\n",
                     argv[0]);
        return 2;
    }
    engine::MeasureRequest request;
    request.source.path = argv[1];
    std::size_t fonts = 1;
    std::uint64_t tooWide = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--fonts") {
            fonts = std::strtoul(value, nullptr, 10), ++i;
        } else if (arg == "--columns" || arg == "--every-column") {
            engine::DelimitedFormat format;
            format.allColumns = arg == "--every-column";
            if (!format.allColumns) {
                for (char* part = std::strtok(argv[++i], ","); part; part = std::strtok(nullptr, ","))
                    format.columns.push_back(engine::ColumnChoice::byText(part));
            }
            request.options.delimited = format;
        } else if (arg == "--check") {
            request.options.maxWidth = std::strtoll(value, nullptr, 10), ++i;
            request.options.tooWide = [&tooWide](const engine::WideLine&) { ++tooWide; };
        } else {
            request.options.threads = static_cast<unsigned>(std::atoi(argv[i]));
        }
    }
    std::list<engine::FontWidths> widths;
    for (std::size_t k = 0; k < fonts; ++k) {
        engine::WidthTable table;
        table.fill(static_cast<std::int32_t>(7 + k));
        request.fonts.push_back(&widths.emplace_back(table, [k](char32_t) { return static_cast<std::int32_t>(7 + k); }));
    }
    const engine::MeasureResult result = engine::measure(request);
    if (result.outcome != engine::Outcome::Done) {
        std::fprintf(stderr, "%s: not measured (outcome %d) %s\n", argv[1], static_cast<int>(result.outcome),
                     result.reason.c_str());
        return 1;
    }
    const std::size_t targets = request.options.delimited ? result.layout.columns.size() * fonts : fonts;
    for (std::size_t t = 0; t < targets; ++t) {
        const engine::Measurement m = engine::resolve(result.tally, t);
        std::printf("target %zu: %" PRIu64 " values, total width %" PRId64 ", %s\n", t, m.lineCount(),
                    m.widths.totalWidth().value_or(-1), engine::encodingName(m.encoding));
    }
    if (request.options.maxWidth)
        std::printf("%" PRIu64 " values too wide\n", tooWide);
    return 0;
}
