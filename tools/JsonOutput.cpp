#include "JsonOutput.h"

#include "Utf8.h"
#include "VisibleText.h"

#include <cstdio>

namespace tool {

namespace {

std::string number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// Delimited text names a record by its number and the line it starts on.
std::string widestJson(const std::vector<engine::WideLine>& lines, bool records)
{
    std::string out = "[";
    for (const engine::WideLine& line : lines) {
        if (out.size() > 1)
            out += ',';
        out += records ? "{\"Record\":" + std::to_string(line.line) + ",\"Line\":" + std::to_string(line.startLine)
                       : "{\"Line\":" + std::to_string(line.line);
        out += ",\"Width\":" + std::to_string(line.width) + ",\"Text\":" + jsonString(line.text) + "}";
    }
    return out + "]";
}

std::string histogram(const engine::WidthDistribution& widths)
{
    std::string out = "[";
    widths.forEach([&out](std::int64_t width, std::uint64_t count) {
        out += std::string(out.size() > 1 ? "," : "") + "[" + std::to_string(width) + "," + std::to_string(count) + "]";
    });
    return out + "]";
}

// The fields shared by --json and --histogram, without the closing brace.
std::string resultFields(const JsonResult& result)
{
    std::string out = "{";
    out += statisticsFields(result.measurement, result.statistics, result.format.delimited);
    out += ",\"Face\":" + jsonString(result.face) + ",\"Dpi\":" + std::to_string(result.dpi);
    if (result.format.delimited)
        out += ",\"Column\":" + jsonString(result.format.column);
    out += ",\"Encoding\":" + jsonString(engine::encodingName(result.measurement.encoding));
    return out;
}

std::string fontJson(const FontRecord& font)
{
    const engine::FontSelections& s = font.selections;
    return "{\"Face\":" + jsonString(s.faceText) + ",\"Size\":" + jsonString(s.sizeText) +
           ",\"Italic\":" + std::to_string(s.italic) + ",\"Underline\":" + std::to_string(s.underline) +
           ",\"StrikeOut\":" + std::to_string(s.strikeOut) + ",\"Weight\":" + jsonString(s.weightText()) +
           ",\"Width\":" + jsonString(s.widthText) + ",\"Dpi\":" + std::to_string(font.dpi) + "}";
}

// A reading's widest lines with their texts decoded as that reading reads them.
std::vector<engine::WideLine> decodedWidest(const engine::WidestLines& widest, engine::Encoding encoding,
                                            bool alreadyDecoded)
{
    std::vector<engine::WideLine> lines;
    for (const engine::WideLine& line : widest.lines())
        lines.push_back({line.line, line.width, alreadyDecoded ? line.text : engine::recordText(line.text, encoding),
                         line.startLine});
    return lines;
}

}  // namespace

std::string statisticsFields(const engine::Measurement& measurement, const engine::Statistics& s, bool records)
{
    std::string out = "\"LineCount\":" + std::to_string(s.LineCount) + ",\"MinWidth\":" + std::to_string(s.MinWidth) +
                      ",\"MaxWidth\":" + std::to_string(s.MaxWidth) + ",\"AverageWidth\":" + number(s.AverageWidth) +
                      ",\"StdDeviation\":" + number(s.StdDeviation);
    for (std::size_t i = 0; i < engine::fitShares.size(); ++i)
        out += ",\"Fit" + std::to_string(engine::fitShares[i]) + "\":" + number(s.fits[i]);
    for (std::size_t i = 0; i < engine::fitShares.size(); ++i)
        out += ",\"ExactFit" + std::to_string(engine::fitShares[i]) + "\":" + std::to_string(s.exactFits[i]);
    return out + ",\"Widest\":" + widestJson(measurement.widest, records);
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c >= 0x80) {
            char32_t code;
            const int length = fontview::decodeUtf8Sequence(p, end, code);
            if (length > 0 && report::isControlCharacter(code)) {
                // C1 controls, U+2028 and U+2029 would split a line for some readers.
                char escaped[12];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
                out += escaped;
                p += length;
            } else if (length > 0) {
                out.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length));
                p += length;
            } else {
                out += "\xEF\xBF\xBD";
                ++p;
            }
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++p;
    }
    return out + "\"";
}

FormatRecord formatRecord(const engine::RecordLayout& layout, const std::string& caption)
{
    return FormatRecord{true, layout.delimiter, layout.header, caption};
}

std::string formatJson(const FormatRecord& format)
{
    if (!format.delimited)
        return "{\"Delimited\":false}";
    return "{\"Delimited\":true,\"Delimiter\":" + jsonString(std::string(1, format.delimiter)) +
           ",\"Header\":" + (format.header ? "true" : "false") + ",\"Column\":" + jsonString(format.column) + "}";
}

const char* kindName(engine::Encoding encoding)
{
    return engine::isUtf16(encoding) ? engine::encodingName(encoding) : "8-bit";
}

std::string resultJson(const JsonResult& result) { return resultFields(result) + "}\n"; }

std::string resultObject(const JsonResult& result, const std::string& size)
{
    return resultFields(result) + ",\"Size\":" + jsonString(size) + "}";
}

std::string histogramJson(const JsonResult& result, const engine::StreamTally& tally, const FontRecord& font,
                          const std::string& dataFile)
{
    std::string out = resultFields(result);
    out += ",\"Histogram\":" + histogram(result.measurement.widths);
    out += ",\"Tally\":{\"Font\":" + fontJson(font) + ",\"DataFile\":" + jsonString(dataFile) +
           ",\"Kind\":" + jsonString(kindName(tally.encoding)) +
           ",\"ValidUtf8\":" + (tally.encoding != engine::Encoding::Windows1252 ? "true" : "false") +
           ",\"LineCount\":" + std::to_string(tally.lineCount) + ",\"Readings\":{";
    static const engine::TargetTally none;
    const engine::TargetTally& lines = tally.targets.empty() ? none : tally.targets.front();
    // The lines of either reading, their texts as that reading reads them.
    const engine::Readings<engine::Encoding> encodings{tally.encoding, engine::Encoding::Utf8,
                                                       engine::Encoding::Windows1252};
    const engine::Readings<const engine::LineTally*> readings{&lines.common, &lines.utf8, &lines.windows1252};
    const char* separator = "";
    const auto reading = [&](const char* name, const engine::LineTally& part, engine::Encoding encoding) {
        out += std::string(separator) + jsonString(name) + ":{\"Histogram\":" + histogram(part.widths) +
               ",\"Widest\":" +
               widestJson(decodedWidest(part.widest, encoding, tally.decodedTexts), result.format.delimited) + "}";
        separator = ",";
    };
    reading(readingNames.common, *readings.common, encodings.common);
    reading(readingNames.utf8, *readings.utf8, encodings.utf8);
    reading(readingNames.windows1252, *readings.windows1252, encodings.windows1252);
    return out + "},\"PhysicalLines\":" + std::to_string(tally.physicalLines) + ",\"Format\":" +
           formatJson(result.format) + "}}\n";
}

}  // namespace tool
