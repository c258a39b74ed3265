// Reading: files that cannot be read or change while read, and streams
// that can only be read once — FIFOs, pipes, standard input, devices.

#include "MeasureFixture.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

using namespace fixture;
using engine::Outcome;

namespace {

TEST(MeasureStream, CannotReadSaysWhy)
{
    TempDir dir;
    Font font;
    const Measured missing = measureFile(dir.path() + "/missing.txt", font);
    EXPECT_EQ(missing.outcome, Outcome::Unreadable);
    EXPECT_EQ(missing.reason, "No such file or directory");
    const Measured folder = measureFile(dir.path(), font);
    EXPECT_EQ(folder.outcome, Outcome::Unreadable);
    EXPECT_EQ(folder.reason, "Is a directory");
}

TEST(MeasureStream, AFileThatChangesWhileReadIsReported)
{
    TempDir dir;
    const std::string path = dir.write(std::string(4 << 20, 'a') + "\n");
    Font font;
    engine::MeasureOptions options;
    options.threads = 1;
    bool touched = false;
    // The first call comes once the file is open and before it is read.
    options.progress = [&](const engine::Progress&) {
        if (!touched) {
            touched = true;
            std::ofstream(path, std::ios::app) << "more\n";
        }
        return true;
    };
    EXPECT_EQ(measureFile(path, font, options).outcome, Outcome::Changed);
    EXPECT_TRUE(touched);
}

TEST(MeasureStream, ProgressKnowsTheSizeOfAFile)
{
    TempDir dir;
    const std::string path = dir.write(std::string(3 << 20, 'a'));
    Font font;
    engine::MeasureOptions options;
    std::vector<engine::Progress> seen;
    options.progress = [&](const engine::Progress& progress) {
        seen.push_back(progress);
        return true;
    };
    ASSERT_EQ(measureFile(path, font, options).outcome, Outcome::Done);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().bytesDone, 0u);
    for (const engine::Progress& p : seen)
        EXPECT_EQ(p.bytesTotal, 3u << 20);
}

TEST(MeasureStream, CancelledByTheHook)
{
    TempDir dir;
    const std::string path = dir.write(std::string(8 << 20, 'a'));
    Font font;
    engine::MeasureOptions options;
    options.progress = [&](const engine::Progress&) { return false; };
    EXPECT_EQ(measureFile(path, font, options).outcome, Outcome::Cancelled);
}

// A FIFO whose writer writes once, as a shell's process substitution does.
TEST(MeasureStream, AFifoIsReadOnce)
{
    TempDir dir;
    const std::string fifo = dir.path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "caf\xC3\xA9 " + std::to_string(i) + "\r\n";
    std::thread writer([&] {
        // Opened only after the reader has started waiting.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ofstream(fifo, std::ios::binary) << bytes;
    });
    Font font;
    engine::MeasureOptions options;
    options.threads = 2;
    options.blockSize = 4096;
    const Measured m = measureFile(fifo, font, options);
    writer.join();
    expectModel(m, bytes);
}

TEST(MeasureStream, StandardInput)
{
    const std::string bytes = "\xFF\xFE" + std::string("a\0b\0\n\0c\0", 8);
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const int savedInput = ::dup(STDIN_FILENO);
    ::dup2(pipeEnds[0], STDIN_FILENO);
    ::close(pipeEnds[0]);
    std::thread writer([&] {
        ::write(pipeEnds[1], bytes.data(), bytes.size());
        ::close(pipeEnds[1]);
    });
    Font font;
    engine::MeasureOptions options;
    options.maxWidth = everyLine;
    const auto result = engine::measure(engine::DataSource{"", true}, font.widths, options);
    writer.join();
    ::dup2(savedInput, STDIN_FILENO);
    ::close(savedInput);
    ASSERT_EQ(result.outcome, Outcome::Done);
    const engine::Measurement m = engine::resolve(result.tally, 0, options.maxWidth);
    EXPECT_EQ(m.encoding, engine::Encoding::Utf16LE);
    EXPECT_EQ(m.lineCount(), 2u);
    EXPECT_EQ(m.widths.totalWidth(), std::optional<std::int64_t>(tableWidth('a') + tableWidth('b') + tableWidth('c')));
}

// An endless stream stops when asked, and so does a FIFO nobody writes to.
TEST(MeasureStream, EndlessAndSilentStreamsCanBeCancelled)
{
    TempDir dir;
    const std::string fifo = dir.path() + "/silent";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), fifo}) {
        Font font;
        engine::MeasureOptions options;
        const auto start = std::chrono::steady_clock::now();
        std::uint64_t lastBytes = 0;
        options.progress = [&](const engine::Progress& progress) {
            lastBytes = progress.bytesDone;
            EXPECT_EQ(progress.bytesTotal, 0u);  // a stream has no size
            return std::chrono::steady_clock::now() - start < std::chrono::milliseconds(300);
        };
        EXPECT_EQ(measureFile(path, font, options).outcome, Outcome::Cancelled) << path;
        if (path == "/dev/zero") {
            EXPECT_GT(lastBytes, 0u);
        }
    }
}

}  // namespace

namespace {

// Memory running out anywhere in a measurement, on any thread, is an
// outcome the caller reports, never an uncaught exception.
TEST(MeasureStream, RunningOutOfMemoryIsAnOutcome)
{
    TempDir dir;
    const std::string path = dir.write(std::string(100000, 'a') + "\n\xC3\xA9\n");
    int asked = 0;
    for (const int failAt : {1, 50, 150}) {
        asked = 0;
        const engine::FontWidths widths(makeTable(), [&](char32_t code) -> std::int32_t {
            if (++asked >= failAt)
                throw std::bad_alloc();
            return static_cast<std::int32_t>(otherWidth(code));
        });
        engine::MeasureOptions options;
        options.threads = 2;
        options.blockSize = 4096;
        EXPECT_EQ(engine::measure({path}, widths, options).outcome, Outcome::OutOfMemory) << failAt;
    }
}

}  // namespace
