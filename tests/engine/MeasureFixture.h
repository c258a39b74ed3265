#pragma once
// What the measurement tests share: the font stand-in, data files in a
// temporary folder, and checking a measurement against the plain model.

#include "LineModel.h"
#include "Measure.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace fixture {

namespace fs = std::filesystem;

// The font stand-in: records every character it is asked for.
struct Font {
    std::mutex mutex;
    std::multiset<char32_t> queried;
    engine::FontWidths widths{makeTable(), [this](char32_t code) {
                                  const std::lock_guard lock(mutex);
                                  queried.insert(code);
                                  return static_cast<std::int32_t>(otherWidth(code));
                              }};
};

// A second font, wider than the first and differently: a target measured
// in one font must never take the other's widths.
inline engine::WidthTable makeWideTable()
{
    engine::WidthTable table;
    for (int k = engine::firstTableCode; k <= engine::lastTableCode; ++k)
        table[k - engine::firstTableCode] = static_cast<std::int32_t>(3 * tableWidth(static_cast<char32_t>(k)) + 7);
    return table;
}
inline std::int64_t wideOtherWidth(char32_t code) { return 5000 + 2 * static_cast<std::int64_t>(code); }

struct WideFont {
    engine::FontWidths widths{makeWideTable(),
                              [](char32_t code) { return static_cast<std::int32_t>(wideOtherWidth(code)); }};
};

class TempDir {
public:
    TempDir()
    {
        static int serial = 0;
        path_ = fs::temp_directory_path() /
                ("spanwick-measure-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }

    std::string write(const std::string& bytes, const std::string& name = "data.txt") const
    {
        const fs::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }
    std::string path() const { return path_.string(); }

private:
    fs::path path_;
};

// Delimited text's columns by their numbers.
inline engine::DelimitedFormat columnsByNumber(char delimiter, bool header, const std::vector<std::size_t>& numbers)
{
    engine::DelimitedFormat format;
    format.delimiter = delimiter;
    format.header = header;
    for (const std::size_t n : numbers)
        format.columns.push_back(engine::ColumnChoice::byNumber(n));
    return format;
}

// Every line, with check mode's records: a limit below any width keeps them all.
inline constexpr std::int64_t everyLine = std::numeric_limits<std::int64_t>::min();

struct Measured {
    engine::Outcome outcome = engine::Outcome::Done;
    std::string reason;
    engine::StreamTally tally;
    engine::Measurement measurement;
    std::vector<std::int64_t> lineWidths;  // from the records, in line order
};

inline Measured measureFile(const std::string& path, Font& font, engine::MeasureOptions options = {})
{
    if (!options.maxWidth)
        options.maxWidth = everyLine;
    engine::MeasureResult result = engine::measure(engine::DataSource{path}, font.widths, options);
    Measured m;
    m.outcome = result.outcome;
    m.reason = result.reason;
    if (result.outcome == engine::Outcome::Done) {
        m.measurement = engine::resolve(result.tally, 0, options.maxWidth);
        for (const engine::WideLine& line : m.measurement.tooWide)
            m.lineWidths.push_back(line.width);
        m.tally = std::move(result.tally);
    }
    return m;
}

inline Measured measureBytes(const std::string& bytes, Font& font, engine::MeasureOptions options = {})
{
    TempDir dir;
    return measureFile(dir.write(bytes), font, std::move(options));
}

// Checks a measurement against the model: status, encoding, every line's
// width, the distribution and the widest lines with their texts.
inline void expectModel(const Measured& measured, const std::string& bytes)
{
    const Model m = model(bytes);
    if (m.lines.empty()) {
        EXPECT_EQ(measured.outcome, engine::Outcome::EmptyFile);
        return;
    }
    ASSERT_EQ(measured.outcome, engine::Outcome::Done) << measured.reason;
    EXPECT_EQ(measured.measurement.encoding, m.encoding);
    EXPECT_EQ(measured.lineWidths, modelWidths(m));
    engine::WidthDistribution expected;
    for (const ModelLine& line : m.lines)
        expected.add(line.width);
    EXPECT_TRUE(measured.measurement.widths == expected);

    // The ten widest, the earlier first among equals.
    std::vector<std::size_t> order(m.lines.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return m.lines[x].width > m.lines[y].width; });
    order.resize(std::min<std::size_t>(order.size(), engine::WidestLines::kept));
    const auto& widest = measured.measurement.widest;
    ASSERT_EQ(widest.size(), order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        EXPECT_EQ(widest[k].line, order[k] + 1);
        EXPECT_EQ(widest[k].width, m.lines[order[k]].width);
        EXPECT_EQ(widest[k].text, engine::recordText(m.lines[order[k]].bytes, m.encoding));
    }
}

}  // namespace fixture
