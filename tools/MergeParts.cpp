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

std::optional<engine::StreamTally::Kind> kindFromName(const std::string& name)
{
    for (const auto kind : {engine::StreamTally::Kind::EightBit, engine::StreamTally::Kind::Utf16LE,
                            engine::StreamTally::Kind::Utf16BE})
        if (name == kindName(kind))
            return kind;
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
    const auto kind = kindFromName(text(t.value("Kind")));
    const QJsonObject readings = t.value("Readings").toObject();
    if (!kind || !t.value("ValidUtf8").isBool() || !t.value("LineCount").isDouble() || !t.value("Font").isObject())
        return false;
    tally.kind = *kind;
    tally.validUtf8 = t.value("ValidUtf8").toBool();
    tally.lineCount = static_cast<std::uint64_t>(t.value("LineCount").toInteger());
    tally.physicalLines = static_cast<std::uint64_t>(t.value("PhysicalLines").toInteger());
    tally.decodedTexts = true;
    engine::LineTally* parts[3] = {&tally.common, &tally.utf8, &tally.windows1252};
    for (std::size_t i = 0; i < 3; ++i) {
        const QJsonObject reading = readings.value(readingNames[i]).toObject();
        if (!readDistribution(reading.value("Histogram"), parts[i]->widths) ||
            !readWidest(reading.value("Widest"), parts[i]->widest))
            return false;
    }
    // The counts must agree with each other, or the part is damaged.
    const std::uint64_t eitherWay = tally.utf8.widths.lineCount();
    return eitherWay == tally.windows1252.widths.lineCount()
        && tally.common.widths.lineCount() + eitherWay == tally.lineCount;
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
            merged.tally.kind = part.kind;
            merged.tally.decodedTexts = true;
        } else if (font != firstFont) {
            error = {"'" + name + "' was measured with other font options than '" + files.front() +
                     "'; parts merge only when every font option is the same"};
            return std::nullopt;
        } else if (!(format == merged.format)) {
            error = {"'" + name + "' was measured from another column or delimiter than '" + files.front() +
                     "'; parts merge only when they are read alike"};
            return std::nullopt;
        } else if (part.kind != merged.tally.kind) {
            error = {"'" + name + "' was read as " + kindName(part.kind) + " text and '" + files.front() + "' as " +
                     kindName(merged.tally.kind) + "; parts of one data set are read alike"};
            return std::nullopt;
        }
        merged.dataFiles.push_back(text(tally.value("DataFile")));
        merged.tally.append(std::move(part));
    }
    return merged;
}

}  // namespace tool
