#include "MergeParts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tool {

namespace {

std::string text(const QJsonValue& value) { return value.toString().toStdString(); }

bool readDistribution(const QJsonValue& value, engine::WidthDistribution& widths)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue pair : value.toArray()) {
        const QJsonArray entry = pair.toArray();
        if (entry.size() != 2 || !entry[0].isDouble() || !entry[1].isDouble() || entry[1].toInteger(-1) < 0)
            return false;
        widths.add(entry[0].toInteger(), static_cast<std::uint64_t>(entry[1].toInteger()));
    }
    return true;
}

bool readWidest(const QJsonValue& value, engine::WidestLines& widest)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue item : value.toArray()) {
        const QJsonObject line = item.toObject();
        if (!line.value("Line").isDouble() || !line.value("Width").isDouble() || !line.value("Text").isString())
            return false;
        // Delimited text names the record, and the line it starts on.
        const bool record = line.contains("Record");
        const auto number = static_cast<std::uint64_t>(line.value(record ? "Record" : "Line").toInteger());
        const auto startLine = record ? static_cast<std::uint64_t>(line.value("Line").toInteger()) : 0;
        widest.offer(number, line.value("Width").toInteger(), text(line.value("Text")), startLine);
    }
    return true;
}

FormatRecord formatFrom(const QJsonObject& format)
{
    FormatRecord record;
    record.delimited = format.value("Delimited").toBool();
    const std::string delimiter = text(format.value("Delimiter"));
    record.delimiter = delimiter.empty() ? ',' : delimiter[0];
    record.header = format.value("Header").toBool(true);
    record.column = text(format.value("Column"));
    return record;
}

// The encoding of a part from its kind of text and whether it was valid UTF-8.
std::optional<engine::Encoding> encodingFrom(const std::string& kind, bool validUtf8)
{
    for (const auto encoding : {engine::Encoding::Utf16LE, engine::Encoding::Utf16BE})
        if (kind == kindName(encoding))
            return encoding;
    if (kind == kindName(engine::Encoding::Utf8))
        return validUtf8 ? engine::Encoding::Utf8 : engine::Encoding::Windows1252;
    return std::nullopt;
}

FontRecord fontFrom(const QJsonObject& font)
{
    FontRecord record;
    engine::FontSelections& s = record.selections;
    s.faceText = text(font.value("Face"));
    s.sizeText = text(font.value("Size"));
    s.italic = font.value("Italic").toInt();
    s.underline = font.value("Underline").toInt();
    s.strikeOut = font.value("StrikeOut").toInt();
    const std::string weight = text(font.value("Weight"));
    for (std::size_t i = 0; i < engine::weightNames.size(); ++i)
        if (engine::weightNames[i] == weight)
            s.weightIndex = static_cast<int>(i);
    s.widthText = text(font.value("Width"));
    s.widthIndex = s.widthText == "Normal" ? 0 : std::atoi(s.widthText.c_str());
    record.dpi = font.value("Dpi").toInt();
    return record;
}

// One part; false when it is not what --histogram writes.
bool readPart(const QJsonObject& root, engine::StreamTally& tally)
{
    const QJsonObject t = root.value("Tally").toObject();
    const auto encoding = encodingFrom(text(t.value("Kind")), t.value("ValidUtf8").toBool());
    const QJsonObject readings = t.value("Readings").toObject();
    if (!encoding || !t.value("ValidUtf8").isBool() || !t.value("LineCount").isDouble() || !t.value("Font").isObject())
        return false;
    tally.encoding = *encoding;
    tally.lineCount = static_cast<std::uint64_t>(t.value("LineCount").toInteger());
    tally.physicalLines = static_cast<std::uint64_t>(t.value("PhysicalLines").toInteger());
    tally.decodedTexts = true;
    engine::TargetTally& lines = tally.target(0);
    bool whole = true;
    const auto read = [&](const char* name, engine::LineTally& part) {
        const QJsonObject reading = readings.value(name).toObject();
        whole = whole && readDistribution(reading.value("Histogram"), part.widths)
            && readWidest(reading.value("Widest"), part.widest);
    };
    read(readingNames.common, lines.common);
    read(readingNames.utf8, lines.utf8);
    read(readingNames.windows1252, lines.windows1252);
    // The counts must agree with each other, or the part is damaged.
    const std::uint64_t eitherWay = lines.utf8.widths.lineCount();
    return whole && eitherWay == lines.windows1252.widths.lineCount()
        && lines.common.widths.lineCount() + eitherWay == tally.lineCount;
}

}  // namespace

std::optional<MergedParts> mergeParts(const std::vector<std::string>& files, MergeError& error)
{
    MergedParts merged;
    QJsonObject firstFont;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& name = files[i];
        QFile file(QString::fromStdString(name));
        if (!file.open(QIODevice::ReadOnly)) {
            error = {"cannot read the part '" + name + "': " + file.errorString().toStdString(), true};
            return std::nullopt;
        }
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
        engine::StreamTally part;
        if (!document.isObject() || !readPart(document.object(), part)) {
            error = {"'" + name + "' is not what spanwick-measure --histogram writes"};
            return std::nullopt;
        }
        const QJsonObject root = document.object();
        const QJsonObject tally = root.value("Tally").toObject();
        const QJsonObject font = tally.value("Font").toObject();
        const FormatRecord format = formatFrom(tally.value("Format").toObject());
        if (i == 0) {
            firstFont = font;
            merged.font = fontFrom(font);
            merged.format = format;
            merged.face = text(root.value("Face"));
            merged.tally.encoding = part.encoding;
            merged.tally.decodedTexts = true;
        } else if (font != firstFont) {
            error = {"'" + name + "' was measured with other font options than '" + files.front() +
                     "'; parts merge only when every font option is the same"};
            return std::nullopt;
        } else if (!(format == merged.format)) {
            error = {"'" + name + "' was measured from another column or delimiter than '" + files.front() +
                     "'; parts merge only when they are read alike"};
            return std::nullopt;
        } else if (std::string(kindName(part.encoding)) != kindName(merged.tally.encoding)) {
            error = {"'" + name + "' was read as " + kindName(part.encoding) + " text and '" + files.front() + "' as " +
                     kindName(merged.tally.encoding) + "; parts of one data set are read alike"};
            return std::nullopt;
        }
        merged.dataFiles.push_back(text(tally.value("DataFile")));
        merged.tally.append(std::move(part));
    }
    return merged;
}

}  // namespace tool
