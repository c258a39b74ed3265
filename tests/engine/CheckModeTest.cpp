// Check mode's lines over the limit go out in file order as soon as the
// reading they are shown in is known, and are exactly the lines the whole
// measurement finds, however the encoding turns out.

#include "MeasureFixture.h"
#include "RandomText.h"
#include "TooWideStream.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <sys/stat.h>

using namespace fixture;
using engine::Outcome;

namespace {

std::vector<engine::WideLine> streamed(const std::string& path, engine::MeasureOptions options,
                                       engine::Outcome& outcome)
{
    Font font;
    std::vector<engine::WideLine> lines;
    options.tooWide = [&](const engine::WideLine& line) { lines.push_back(line); };
    outcome = engine::measure({path}, font.widths, options).outcome;
    return lines;
}

TEST(CheckMode, StreamedLinesAreTheLinesOfTheWholeMeasurement)
{
    RandomText random(99);
    TempDir dir;
    for (int round = 0; round < 25; ++round) {
        std::string text = random.lines(30 + round);
        if (round % 5 == 1)
            text.append("\xE9\n");  // the last line decides: Windows-1252
        else if (round % 5 == 2)
            text.insert(text.begin() + static_cast<std::ptrdiff_t>(text.size() / 2), '\xFF');
        const std::string path = dir.write(round % 5 == 3 ? toUtf16(text, round % 2) : text);
        engine::MeasureOptions options;
        options.maxWidth = round % 2 ? 0 : 150;
        options.threads = 1 + round % 4;
        options.blockSize = 16 + 7 * static_cast<std::size_t>(round);
        Font font;
        const Measured whole = measureFile(path, font, options);
        Outcome outcome;
        const std::vector<engine::WideLine> lines = streamed(path, options, outcome);
        ASSERT_EQ(outcome, Outcome::Done);
        EXPECT_EQ(lines, whole.measurement.tooWide) << "round " << round;
    }
}

TEST(CheckMode, LinesThatWaitForTheEncodingKeepTheirPlaceWhenTheyWaitOnDisk)
{
    std::vector<engine::WideLine> out;
    engine::TooWideStream stream(0, [&](const engine::WideLine& line) { out.push_back(line); }, 64);
    // ASCII goes at once; a line that reads two ways waits, and so does
    // every line after it, past the 64 bytes kept in memory.
    stream.add({0, 1, 0, 5, 5, false, "ascii"}, engine::Encoding::Utf8);
    EXPECT_EQ(out.size(), 1u);
    stream.add({0, 2, 0, 10, 20, true, "caf\xC3\xA9"}, engine::Encoding::Utf8);
    for (std::uint64_t line = 3; line < 40; ++line)
        stream.add({0, line, 0, 7, 7, false, "ascii " + std::to_string(line)}, engine::Encoding::Utf8);
    EXPECT_EQ(out.size(), 1u);
    stream.decide(engine::Encoding::Windows1252);
    ASSERT_EQ(out.size(), 39u);
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_EQ(out[i].line, i + 1);
    EXPECT_EQ(out[1].width, 20);  // read as Windows-1252
    EXPECT_EQ(out[1].text, "caf\xC3\x83\xC2\xA9");
    EXPECT_EQ(out[38].text, "ascii 39");
}

TEST(CheckMode, LinesOfAsciiGoOutWhileTheStreamIsStillBeingRead)
{
    TempDir dir;
    const std::string fifo = dir.path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::atomic<std::size_t> received{0};
    std::size_t seenBeforeTheEnd = 0;
    std::thread writer([&] {
        std::ofstream out(fifo, std::ios::binary);
        for (int i = 0; i < 4000; ++i)
            out << "a line that is too wide for the limit " << i << "\n";
        out.flush();
        // The writer keeps the pipe open until the first lines are out; the
        // bound only keeps a fault from hanging the suite.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (received.load() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        seenBeforeTheEnd = received.load();
    });
    Font font;
    engine::MeasureOptions options;
    options.maxWidth = 10;
    options.blockSize = 4096;
    options.tooWide = [&](const engine::WideLine&) { ++received; };
    const Outcome outcome = engine::measure({fifo}, font.widths, options).outcome;
    writer.join();
    EXPECT_EQ(outcome, Outcome::Done);
    EXPECT_GT(seenBeforeTheEnd, 0u);
    EXPECT_EQ(received.load(), 4000u);
}

}  // namespace
