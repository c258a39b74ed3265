#pragma once
// What the measurement tests share: widths that make every decoding
// mistake visible, data files in a temporary folder, and a plain model of
// what measuring a file must give, written without any of the engine's
// shortcuts.

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

// Table code k is k - 31 wide (1..95); any other character is 1000 + its
// code, so a wrong decoding shows up as a wrong sum.
inline std::int64_t tableWidth(char32_t c) { return static_cast<std::int64_t>(c) - 31; }
inline std::int64_t otherWidth(char32_t code) { return 1000 + static_cast<std::int64_t>(code); }
inline std::int64_t widthOf(char32_t code) { return code >= 32 && code <= 126 ? tableWidth(code) : otherWidth(code); }

inline engine::WidthTable makeTable()
{
    engine::WidthTable table;
    for (int k = engine::firstTableCode; k <= engine::lastTableCode; ++k)
        table[k - engine::firstTableCode] = static_cast<std::int32_t>(tableWidth(static_cast<char32_t>(k)));
    return table;
}

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

// Every line, with check mode's records: a limit below any width keeps them all.
inline constexpr std::int64_t everyLine = std::numeric_limits<std::int64_t>::min();

struct Measured {
    engine::MeasureStatus status = engine::MeasureStatus::Ok;
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
    m.status = result.status;
    m.reason = result.reason;
    if (result.status == engine::MeasureStatus::Ok) {
        m.measurement = engine::resolve(result.tally, options.maxWidth);
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

// ----------------------------------------------------------------- model

struct ModelLine {
    std::int64_t width = 0;
    std::string bytes;  // the line's own bytes, terminator excluded
};

struct Model {
    engine::Encoding encoding = engine::Encoding::Utf8;
    std::vector<ModelLine> lines;
};

// UTF-8 as RFC 3629 defines it, one sequence at a time: its length, or 0.
inline std::size_t modelSequence(const std::string& s, std::size_t i, char32_t& code)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned lead = byte(i);
    std::size_t length;
    char32_t min;
    if (lead < 0x80)
        return code = lead, 1;
    if (lead >= 0xC0 && lead < 0xE0)
        length = 2, code = lead & 0x1F, min = 0x80;
    else if (lead >= 0xE0 && lead < 0xF0)
        length = 3, code = lead & 0x0F, min = 0x800;
    else if (lead >= 0xF0 && lead < 0xF8)
        length = 4, code = lead & 0x07, min = 0x10000;
    else
        return 0;
    if (i + length > s.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// The characters of a byte string in the given encoding.
inline std::u32string modelDecode(const std::string& s, engine::Encoding encoding)
{
    std::u32string out;
    if (encoding == engine::Encoding::Windows1252) {
        for (const char c : s)
            out += engine::windows1252(static_cast<unsigned char>(c));
    } else if (encoding == engine::Encoding::Utf8) {
        for (std::size_t i = 0; i < s.size();) {
            char32_t code = 0;
            const std::size_t length = modelSequence(s, i, code);
            out += length > 0 ? code : char32_t{0xFFFD};
            i += length > 0 ? length : 1;
        }
    } else {
        const bool big = encoding == engine::Encoding::Utf16BE;
        std::vector<char32_t> units;
        for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
            const auto hi = static_cast<unsigned char>(s[i]), lo = static_cast<unsigned char>(s[i + 1]);
            units.push_back(big ? (hi << 8 | lo) : (lo << 8 | hi));
        }
        for (std::size_t i = 0; i < units.size(); ++i) {
            if (units[i] >= 0xD800 && units[i] <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                units[i + 1] <= 0xDFFF) {
                out += 0x10000 + ((units[i] - 0xD800) << 10) + (units[i + 1] - 0xDC00);
                ++i;
            } else {
                out += units[i];
            }
        }
        if (s.size() % 2 == 1)
            out += 0xDC00;  // half a unit at the end: the missing glyph
    }
    return out;
}

inline Model model(std::string bytes)
{
    Model m;
    std::size_t unit = 1;
    bool big = false;
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
        bytes.erase(0, 3);
    } else if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0) {
        big = bytes[0] == '\xFE';
        m.encoding = big ? engine::Encoding::Utf16BE : engine::Encoding::Utf16LE;
        bytes.erase(0, 2);
        unit = 2;
    }
    if (unit == 1) {
        bool valid = true;
        char32_t code;
        for (std::size_t i = 0; i < bytes.size() && valid;) {
            const std::size_t length = modelSequence(bytes, i, code);
            valid = length > 0;
            i += length;
        }
        m.encoding = valid ? engine::Encoding::Utf8 : engine::Encoding::Windows1252;
    }
    // Split into lines at CR LF, LF and CR, in units of the encoding.
    const auto at = [&](std::size_t i) -> char32_t {
        if (unit == 1)
            return static_cast<unsigned char>(bytes[i]);
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return big ? (a << 8 | b) : (b << 8 | a);
    };
    std::size_t start = 0, i = 0;
    const std::size_t whole = bytes.size() - bytes.size() % unit;
    while (i < whole) {
        const char32_t c = at(i);
        if (c == '\n' || c == '\r') {
            m.lines.push_back({0, bytes.substr(start, i - start)});
            i += unit;
            if (c == '\r' && i < whole && at(i) == '\n')
                i += unit;
            start = i;
        } else {
            i += unit;
        }
    }
    if (start < bytes.size())
        m.lines.push_back({0, bytes.substr(start)});
    for (ModelLine& line : m.lines)
        for (const char32_t code : modelDecode(line.bytes, m.encoding))
            line.width += widthOf(code);
    return m;
}

inline std::vector<std::int64_t> modelWidths(const Model& m)
{
    std::vector<std::int64_t> widths;
    for (const ModelLine& line : m.lines)
        widths.push_back(line.width);
    return widths;
}

// Checks a measurement against the model: status, encoding, every line's
// width, the distribution and the widest lines with their texts.
inline void expectModel(const Measured& measured, const std::string& bytes)
{
    const Model m = model(bytes);
    if (m.lines.empty()) {
        EXPECT_EQ(measured.status, engine::MeasureStatus::Empty);
        return;
    }
    ASSERT_EQ(measured.status, engine::MeasureStatus::Ok) << measured.reason;
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
        EXPECT_EQ(widest[k].text, engine::decodeText(m.lines[order[k]].bytes, m.encoding,
                                                     engine::WidestLines::textCharacters));
    }
}

}  // namespace fixture
