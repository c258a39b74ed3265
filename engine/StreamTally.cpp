#include "StreamTally.h"

#include <algorithm>

namespace engine {

void StreamTally::append(StreamTally later)
{
    if (later.encoding == Encoding::Windows1252)
        encoding = Encoding::Windows1252;
    decodedTexts = decodedTexts || later.decodedTexts;
    for (std::size_t t = 0; t < later.targets.size(); ++t) {
        TargetTally& mine = target(t);
        later.targets[t].forEachWith(mine, [&](LineTally& theirs, LineTally& own) {
            theirs.widest.shiftLines(lineCount, physicalLines);
            own.merge(theirs);
        });
    }
    for (WideRecord& record : later.tooWide) {
        record.line += lineCount;
        if (record.startLine != 0)
            record.startLine += physicalLines;
        tooWide.push_back(std::move(record));
    }
    lineCount += later.lineCount;
    physicalLines += later.physicalLines;
    longRecords += later.longRecords;
    fieldCount = std::max(fieldCount, later.fieldCount);
}

void StreamTally::mergeWidths(const StreamTally& other)
{
    for (std::size_t t = 0; t < other.targets.size(); ++t) {
        TargetTally& mine = target(t);
        const TargetTally& theirs = other.targets[t];
        mine.common.widths.merge(theirs.common.widths);
        mine.utf8.widths.merge(theirs.utf8.widths);
        mine.windows1252.widths.merge(theirs.windows1252.widths);
    }
}

namespace {

// "…" after a text that was cut.
constexpr std::string_view ellipsis = "\xE2\x80\xA6";

}  // namespace

std::string recordText(const std::string& bytes, Encoding encoding)
{
    std::string text = decodeText(bytes, encoding, recordTextCharacters);
    // Decoding the same characters again tells how many bytes they took.
    if (decodeText(bytes, encoding, recordTextCharacters + 1).size() > text.size())
        text += ellipsis;
    return text;
}

Measurement resolve(const StreamTally& tally, std::size_t target, std::optional<std::int64_t> maxWidth)
{
    Measurement m;
    m.encoding = tally.encoding;
    const bool windows1252 = m.encoding == Encoding::Windows1252;
    static const TargetTally none;
    const TargetTally& lines = target < tally.targets.size() ? tally.targets[target] : none;
    const LineTally& reading = windows1252 ? lines.windows1252 : lines.utf8;

    m.widths = lines.common.widths;
    m.widths.merge(reading.widths);

    WidestLines widest = lines.common.widest;
    widest.merge(reading.widest);
    for (const WideLine& line : widest.lines())
        m.widest.push_back(WideLine{line.line, line.width,
                                    tally.decodedTexts ? line.text : recordText(line.text, m.encoding),
                                    line.startLine, target});

    if (maxWidth) {
        for (const WideRecord& record : tally.tooWide)
            if (record.target == target)
                if (auto line = resolveTooWide(record, m.encoding, *maxWidth))
                    m.tooWide.push_back(std::move(*line));
    }
    return m;
}

std::optional<WideLine> resolveTooWide(const WideRecord& record, Encoding encoding, std::int64_t maxWidth)
{
    const std::int64_t width = encoding == Encoding::Windows1252 ? record.widthWindows1252 : record.width;
    if (width <= maxWidth)
        return std::nullopt;
    return WideLine{record.line, width, recordText(record.text, encoding), record.startLine, record.target};
}

}  // namespace engine
