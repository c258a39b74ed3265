#include "StreamTally.h"

#include <algorithm>

namespace engine {

Encoding StreamTally::encoding() const
{
    switch (kind) {
    case Kind::Utf16LE: return Encoding::Utf16LE;
    case Kind::Utf16BE: return Encoding::Utf16BE;
    case Kind::EightBit: break;
    }
    return validUtf8 ? Encoding::Utf8 : Encoding::Windows1252;
}

void StreamTally::append(StreamTally later)
{
    validUtf8 = validUtf8 && later.validUtf8;
    decodedTexts = decodedTexts || later.decodedTexts;
    for (LineTally* part : {&later.common, &later.utf8, &later.windows1252})
        part->widest.shiftLines(lineCount, physicalLines);
    common.merge(later.common);
    utf8.merge(later.utf8);
    windows1252.merge(later.windows1252);
    for (WideRecord& record : later.tooWide) {
        record.line += lineCount;
        if (record.startLine != 0)
            record.startLine += physicalLines;
        tooWide.push_back(std::move(record));
    }
    lineCount += later.lineCount;
    physicalLines += later.physicalLines;
}

namespace {

// "…" after a text that was cut.
constexpr std::string_view ellipsis = "\xE2\x80\xA6";

std::string recordText(const std::string& bytes, Encoding encoding)
{
    std::string text = decodeText(bytes, encoding, recordTextCharacters);
    // Decoding the same characters again tells how many bytes they took.
    if (decodeText(bytes, encoding, recordTextCharacters + 1).size() > text.size())
        text += ellipsis;
    return text;
}

}  // namespace

Measurement resolve(const StreamTally& tally, std::optional<std::int64_t> maxWidth)
{
    Measurement m;
    m.encoding = tally.encoding();
    const bool windows1252 = m.encoding == Encoding::Windows1252;
    const LineTally& reading = windows1252 ? tally.windows1252 : tally.utf8;

    m.widths = tally.common.widths;
    m.widths.merge(reading.widths);

    WidestLines widest = tally.common.widest;
    widest.merge(reading.widest);
    for (const WideLine& line : widest.lines())
        m.widest.push_back(WideLine{line.line, line.width,
                                    tally.decodedTexts ? line.text
                                                       : decodeText(line.text, m.encoding, WidestLines::textCharacters),
                                    line.startLine});

    if (maxWidth) {
        for (const WideRecord& record : tally.tooWide) {
            const std::int64_t width = windows1252 ? record.widthWindows1252 : record.width;
            if (width > *maxWidth)
                m.tooWide.push_back(WideLine{record.line, width, recordText(record.text, m.encoding), record.startLine});
        }
    }
    return m;
}

}  // namespace engine
