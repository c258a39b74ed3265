#include "PartReader.h"

#include "OptionTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <limits>

namespace tool {

namespace {

constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
constexpr Range anyWidth{std::numeric_limits<std::int64_t>::min(), most};
constexpr Range lineCounts{0, most};
constexpr Range lineNumbers{1, most};

// A JSON value as the refusal names it.
std::string shown(const QJsonValue& value)
{
    if (value.isDouble()) {
        if (value.toInteger(0) == value.toInteger(1))
            return std::to_string(value.toInteger());
        char text[32];
        std::snprintf(text, sizeof text, "%.15g", value.toDouble());
        return text;
    }
    if (value.isString())
        return "the text '" + value.toString().toStdString() + "'";
    if (value.isBool())
        return value.toBool() ? "true" : "false";
    if (value.isArray())
        return "a list";
    if (value.isObject())
        return "an object";
    return value.isNull() ? "null" : "missing";
}

// Reads values, keeping the first problem met as "where what".
class Checker {
public:
    explicit Checker(std::string& problem) : problem_(problem) {}

    bool fail(const std::string& where, const std::string& what)
    {
        if (problem_.empty())
            problem_ = where + " " + what;
        return false;
    }

    std::optional<std::int64_t> whole(const QJsonValue& value, const std::string& where, Range range)
    {
        // toInteger gives its default for a fraction, a number past 64 bits and a non-number.
        const qint64 n = value.toInteger(0);
        if (value.isDouble() && n == value.toInteger(1) && range.contains(n))
            return n;
        std::string wanted = "a whole number";
        if (range.max != most)
            wanted += " from " + range.text();
        else if (range.min != anyWidth.min)
            wanted += ", " + range.text();
        fail(where, "is " + shown(value) + ", not " + wanted);
        return std::nullopt;
    }

    std::optional<std::string> text(const QJsonValue& value, const std::string& where)
    {
        if (value.isString())
            return value.toString().toStdString();
        fail(where, "is " + shown(value) + ", not a text");
        return std::nullopt;
    }

    std::optional<bool> flag(const QJsonValue& value, const std::string& where)
    {
        if (value.isBool())
            return value.toBool();
        fail(where, "is " + shown(value) + ", not true or false");
        return std::nullopt;
    }

    // 0 or 1, as the font's check boxes are written.
    std::optional<int> checkState(const QJsonValue& value, const std::string& where)
    {
        const auto n = whole(value, where, Range{0, 1});
        return n ? std::optional<int>(static_cast<int>(*n)) : std::nullopt;
    }

private:
    std::string& problem_;
};

// [[width, count], ...] in ascending order of width, every count at least 1.
bool readHistogram(Checker& c, const QJsonValue& value, const std::string& where, engine::WidthDistribution& widths)
{
    if (!value.isArray())
        return c.fail(where, "is " + shown(value) + ", not a list");
    std::uint64_t lines = 0;
    std::optional<std::int64_t> previous;
    const QJsonArray entries = value.toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::string at = where + "[" + std::to_string(i) + "]";
        const QJsonArray pair = entries[i].toArray();
        if (pair.size() != 2)
            return c.fail(at, "is " + shown(entries[i]) + ", not a [width, count] pair");
        const auto width = c.whole(pair[0], at + " width", anyWidth);
        const auto count = c.whole(pair[1], at + " count", lineNumbers);
        if (!width || !count)
            return false;
        if (previous && *width <= *previous)
            return c.fail(at, "does not follow a narrower width");
        lines += static_cast<std::uint64_t>(*count);
        if (lines > static_cast<std::uint64_t>(most))
            return c.fail(where, "counts more lines than 64 bits hold");
        widths.add(*width, static_cast<std::uint64_t>(*count));
        previous = width;
    }
    return true;
}

struct Limits {
    bool delimited;
    std::int64_t lineCount;
    std::int64_t physicalLines;
};

// The widest lines of a reading: at most ten, widest first and the earlier
// first among equals, and exactly the widest widths of its histogram.
bool readWidest(Checker& c, const QJsonValue& value, const std::string& where, const Limits& limits,
                const engine::WidthDistribution& histogram, engine::WidestLines& widest)
{
    if (!value.isArray())
        return c.fail(where, "is " + shown(value) + ", not a list");
    const QJsonArray entries = value.toArray();
    std::vector<std::int64_t> expected;  // the histogram's widest widths, widest first
    histogram.forEach([&expected](std::int64_t width, std::uint64_t count) {
        expected.insert(expected.begin(), std::min<std::uint64_t>(count, engine::WidestLines::kept), width);
        expected.resize(std::min(expected.size(), engine::WidestLines::kept));
    });
    if (static_cast<std::size_t>(entries.size()) != expected.size())
        return c.fail(where, "names " + std::to_string(entries.size()) + " lines, not the " +
                                 std::to_string(expected.size()) + " widest of its histogram");
    const Range records{1, limits.lineCount};
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::string at = where + "[" + std::to_string(i) + "]";
        const QJsonObject line = entries[i].toObject();
        // Delimited text names the record, and the line it starts on (0 in
        // parts written before that line was kept).
        const auto number = c.whole(line.value(limits.delimited ? "Record" : "Line"),
                                    at + (limits.delimited ? ".Record" : ".Line"), records);
        const auto startLine = limits.delimited
            ? c.whole(line.value("Line"), at + ".Line", Range{0, limits.physicalLines + 1})
            : std::optional<std::int64_t>(0);
        const auto width = c.whole(line.value("Width"), at + ".Width", anyWidth);
        const auto text = c.text(line.value("Text"), at + ".Text");
        if (!number || !startLine || !width || !text)
            return false;
        const std::int64_t wanted = expected[static_cast<std::size_t>(i)];
        if (*width != wanted)
            return c.fail(at + ".Width", "is " + std::to_string(*width) +
                                             " where the histogram's widest widths call for " + std::to_string(wanted));
        const auto& kept = widest.lines();
        for (const engine::WideLine& earlier : kept)
            if (earlier.line == static_cast<std::uint64_t>(*number))
                return c.fail(at, "names a line named before it");
        if (!kept.empty() && kept.back().width == *width && kept.back().line > static_cast<std::uint64_t>(*number))
            return c.fail(at, "comes after a later line of its width");
        widest.offer(static_cast<std::uint64_t>(*number), *width, *text, static_cast<std::uint64_t>(*startLine));
    }
    return true;
}

// Tally.Readings: the three readings, whose lines add up to the part's.
bool readReadings(Checker& c, const QJsonObject& readings, const Limits& limits, engine::StreamTally& tally)
{
    engine::TargetTally& lines = tally.target(0);
    const auto read = [&](const char* name, engine::LineTally& part) {
        const std::string where = std::string("Tally.Readings.") + name;
        const QJsonObject reading = readings.value(name).toObject();
        return readHistogram(c, reading.value("Histogram"), where + ".Histogram", part.widths) &&
               readWidest(c, reading.value("Widest"), where + ".Widest", limits, part.widths, part.widest);
    };
    if (!read(readingNames.common, lines.common) || !read(readingNames.utf8, lines.utf8) ||
        !read(readingNames.windows1252, lines.windows1252))
        return false;
    const std::uint64_t eitherWay = lines.utf8.widths.lineCount();
    if (eitherWay != lines.windows1252.widths.lineCount())
        return c.fail("Tally.Readings", "count other lines as UTF-8 than as Windows-1252");
    if (engine::isUtf16(tally.encoding) && eitherWay != 0)
        return c.fail("Tally.Readings", "of UTF-16 text count lines as UTF-8");
    if (lines.common.widths.lineCount() + eitherWay != tally.lineCount)
        return c.fail("Tally.LineCount", "is " + std::to_string(tally.lineCount) +
                                             ", not the lines its readings count");
    return true;
}

// The encoding a part was read in, from its kind of text and whether all
// of it was UTF-8.
std::optional<engine::Encoding> encodingFrom(const std::string& kind, bool validUtf8)
{
    for (const auto encoding : {engine::Encoding::Utf16LE, engine::Encoding::Utf16BE})
        if (kind == kindName(encoding))
            return encoding;
    if (kind == kindName(engine::Encoding::Utf8))
        return validUtf8 ? engine::Encoding::Utf8 : engine::Encoding::Windows1252;
    return std::nullopt;
}

// Tally.Font, with its numbers spelt as the options spell them.
bool readFont(Checker& c, const QJsonObject& font, FontRecord& record)
{
    engine::FontSelections& s = record.selections;
    const auto face = c.text(font.value("Face"), "Tally.Font.Face");
    const auto sizeText = c.text(font.value("Size"), "Tally.Font.Size");
    const auto weight = c.text(font.value("Weight"), "Tally.Font.Weight");
    const auto widthText = c.text(font.value("Width"), "Tally.Font.Width");
    const auto italic = c.checkState(font.value("Italic"), "Tally.Font.Italic");
    const auto underline = c.checkState(font.value("Underline"), "Tally.Font.Underline");
    const auto strikeOut = c.checkState(font.value("StrikeOut"), "Tally.Font.StrikeOut");
    const auto dpi = c.whole(font.value("Dpi"), "Tally.Font.Dpi", dpiRange);
    if (!face || !sizeText || !weight || !widthText || !italic || !underline || !strikeOut || !dpi)
        return false;
    const auto size = wholeNumber(*sizeText, sizeRange);
    if (!size)
        return c.fail("Tally.Font.Size", "is '" + *sizeText + "', not a whole number from " + sizeRange.text());
    s.weightIndex = -1;
    for (std::size_t i = 0; i < engine::weightNames.size(); ++i)
        if (engine::weightNames[i] == *weight)
            s.weightIndex = static_cast<int>(i);
    if (s.weightIndex < 0)
        return c.fail("Tally.Font.Weight", "is '" + *weight + "', not a weight");
    const auto width = wholeNumber(*widthText, averageWidthRange);
    if (*widthText != engine::normalWidth && !width)
        return c.fail("Tally.Font.Width", "is '" + *widthText + "', not Normal or a whole number from " +
                                              averageWidthRange.text());
    s.faceText = *face;
    s.sizeText = std::to_string(*size);
    s.widthIndex = width ? static_cast<int>(*width) : 0;
    s.widthText = width ? std::to_string(*width) : *widthText;
    s.italic = *italic;
    s.underline = *underline;
    s.strikeOut = *strikeOut;
    record.dpi = static_cast<int>(*dpi);
    return true;
}

bool readFormat(Checker& c, const QJsonObject& format, FormatRecord& record)
{
    const auto delimited = c.flag(format.value("Delimited"), "Tally.Format.Delimited");
    if (!delimited)
        return false;
    record = FormatRecord{};
    if (!*delimited)
        return true;
    const auto delimiter = c.text(format.value("Delimiter"), "Tally.Format.Delimiter");
    const auto header = c.flag(format.value("Header"), "Tally.Format.Header");
    const auto column = c.text(format.value("Column"), "Tally.Format.Column");
    if (!delimiter || !header || !column)
        return false;
    if (delimiter->size() != 1 || !usableDelimiter((*delimiter)[0]))
        return c.fail("Tally.Format.Delimiter", "is '" + *delimiter + "', not a delimiter");
    record = FormatRecord{true, (*delimiter)[0], *header, *column};
    return true;
}

// The fields a report of the part alone shows must be those of its tally.
bool agreesWithTally(Checker& c, const QJsonObject& root, const engine::StreamTally& tally)
{
    const engine::Measurement measurement = engine::resolve(tally);
    engine::WidthDistribution histogram;
    if (!readHistogram(c, root.value("Histogram"), "Histogram", histogram))
        return false;
    const auto lineCount = c.whole(root.value("LineCount"), "LineCount", lineCounts);
    const auto minWidth = c.whole(root.value("MinWidth"), "MinWidth", anyWidth);
    const auto maxWidth = c.whole(root.value("MaxWidth"), "MaxWidth", anyWidth);
    if (!lineCount || !minWidth || !maxWidth)
        return false;
    if (!(histogram == measurement.widths) || static_cast<std::uint64_t>(*lineCount) != tally.lineCount ||
        *minWidth != histogram.minWidth() || *maxWidth != histogram.maxWidth())
        return c.fail("Histogram", "and the line count and widths beside it are not those of the tally");
    return true;
}

}  // namespace

std::optional<Part> readPart(const QByteArray& json, std::string& problem)
{
    problem.clear();
    Checker c(problem);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject()) {
        c.fail("it", parseError.error != QJsonParseError::NoError
                         ? "is not JSON: " + parseError.errorString().toStdString() + " at byte " +
                               std::to_string(parseError.offset)
                         : "is not a JSON object");
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    const QJsonObject t = root.value("Tally").toObject();
    if (t.isEmpty()) {
        c.fail("Tally", "is " + shown(root.value("Tally")) + ", not the tally --merge needs");
        return std::nullopt;
    }
    Part part;
    engine::StreamTally& tally = part.tally;
    const auto face = c.text(root.value("Face"), "Face");
    const auto dataFile = c.text(t.value("DataFile"), "Tally.DataFile");
    const auto kindText = c.text(t.value("Kind"), "Tally.Kind");
    const auto validUtf8 = c.flag(t.value("ValidUtf8"), "Tally.ValidUtf8");
    const auto lineCount = c.whole(t.value("LineCount"), "Tally.LineCount", lineCounts);
    const auto physicalLines = c.whole(t.value("PhysicalLines"), "Tally.PhysicalLines", lineCounts);
    if (!face || !dataFile || !kindText || !validUtf8 || !lineCount || !physicalLines ||
        !readFont(c, t.value("Font").toObject(), part.font) ||
        !readFormat(c, t.value("Format").toObject(), part.format))
        return std::nullopt;
    const auto encoding = encodingFrom(*kindText, *validUtf8);
    if (!encoding) {
        c.fail("Tally.Kind", "is '" + *kindText + "', not 8-bit, UTF-16LE or UTF-16BE");
        return std::nullopt;
    }
    part.face = *face;
    part.dataFile = *dataFile;
    tally.encoding = *encoding;
    tally.lineCount = static_cast<std::uint64_t>(*lineCount);
    tally.physicalLines = static_cast<std::uint64_t>(*physicalLines);
    tally.decodedTexts = true;
    const Limits limits{part.format.delimited, *lineCount, *physicalLines};
    if (!readReadings(c, t.value("Readings").toObject(), limits, tally) || !agreesWithTally(c, root, tally))
        return std::nullopt;
    return part;
}

bool sameFont(const FontRecord& a, const FontRecord& b)
{
    const engine::FontSelections &s = a.selections, &t = b.selections;
    return s.faceText == t.faceText && s.sizeText == t.sizeText && s.italic == t.italic &&
           s.underline == t.underline && s.strikeOut == t.strikeOut && s.weightIndex == t.weightIndex &&
           s.widthText == t.widthText && a.dpi == b.dpi;
}

}  // namespace tool
