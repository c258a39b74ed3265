// Fuzzes the measurement: arbitrary bytes, measured with small pieces on a
// few threads, must give exactly what the plain model gives: status,
// encoding, every line's width, the extremes, the total and the widest
// lines. A mismatch aborts, so the fuzzer keeps the input that caused it.
//
// The first byte of an input chooses the threads and the piece size; the
// rest is the data file.

#include "LineModel.h"
#include "Measure.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "measurement differs from the model: %s\n", what);
        std::abort();
    }
}

const engine::FontWidths& font()
{
    static const engine::FontWidths widths(fixture::makeTable(),
                                           [](char32_t code) { return static_cast<std::int32_t>(fixture::otherWidth(code)); });
    return widths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    engine::MeasureOptions options;
    options.threads = 1 + data[0] % 3;
    options.blockSize = 16 + 2 * (data[0] >> 2);
    options.maxWidth = std::numeric_limits<std::int64_t>::min();  // every line, in order
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    // The data file lives in memory; the engine opens it by name as any file.
    const int fd = ::memfd_create("data", MFD_CLOEXEC);
    require(fd >= 0, "memfd_create");
    require(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()), "write");
    const engine::MeasureResult result =
        engine::measure(engine::DataSource{"/proc/self/fd/" + std::to_string(fd)}, font(), options);
    ::close(fd);

    const fixture::Model expected = fixture::model(bytes);
    if (expected.lines.empty()) {
        require(result.outcome == engine::Outcome::EmptyFile, "status of a file without lines");
        return 0;
    }
    require(result.outcome == engine::Outcome::Done, "status");
    const engine::Measurement m = engine::resolve(result.tally, 0, options.maxWidth);
    require(m.encoding == expected.encoding, "encoding");
    require(m.tooWide.size() == expected.lines.size(), "line count");
    std::int64_t total = 0, least = std::numeric_limits<std::int64_t>::max(), most = std::numeric_limits<std::int64_t>::min();
    for (std::size_t i = 0; i < expected.lines.size(); ++i) {
        const std::int64_t width = expected.lines[i].width;
        require(m.tooWide[i].line == i + 1 && m.tooWide[i].width == width, "a line's width");
        total += width;
        least = std::min(least, width);
        most = std::max(most, width);
    }
    require(m.widths.lineCount() == expected.lines.size(), "lines in the distribution");
    require(m.widths.totalWidth() == std::optional<std::int64_t>(total), "total");
    require(m.widths.minWidth() == least, "minimum");
    require(m.widths.maxWidth() == most, "maximum");
    require(!m.widest.empty() && m.widest.front().width == most, "widest line");
    return 0;
}
