// XLIFF 2.x: each unit is one string, its segments and the ignorable text
// between them joined in order, each segment's target or else its source.
// Its size restriction module counts code points and bytes only, never
// pixels, so budgets come from the options alone.

#include "XliffReaders.h"
#include "XmlText.h"

#include <map>

namespace catalogue {

namespace {

constexpr QStringView lineBreakType = u"xlf:lb";

struct Part {
    Pieces source, target;
    std::uint64_t sourceLine = 0, targetLine = 0;
    bool hasTarget = false;
};

class Reader {
public:
    Reader(QXmlStreamReader& xml, const ReadOptions& options, const MessageSink& sink)
        : xml_(xml), options_(options), sink_(sink), xliff_(xml.namespaceUri().toString())
    {
    }

    std::optional<ReadError> run()
    {
        readContainer(preservesSpace(xml_.attributes(), false));
        if (!error_ && xml_.hasError())
            error_ = xmlError(xml_);
        return error_;
    }

private:
    bool ours() const { return xml_.namespaceUri() == xliff_; }

    void readContainer(bool preserve)
    {
        while (!error_ && xml_.readNextStartElement()) {
            const bool unit = ours() && xml_.name() == u"unit";
            const bool container = ours() && (xml_.name() == u"file" || xml_.name() == u"group");
            const bool inner = preservesSpace(xml_.attributes(), preserve);
            if (unit)
                readUnit(inner);
            else if (container)
                readContainer(inner);
            else
                xml_.skipCurrentElement();
        }
    }

    void readUnit(bool preserve)
    {
        Message message;
        message.id = xml_.attributes().value(QStringLiteral("id")).toString().toStdString();
        std::map<QString, QString> originalData;
        std::vector<Part> parts;
        while (!error_ && xml_.readNextStartElement()) {
            if (ours() && xml_.name() == u"originalData")
                readOriginalData(originalData);
            else if (ours() && (xml_.name() == u"segment" || xml_.name() == u"ignorable"))
                parts.push_back(readPart(preservesSpace(xml_.attributes(), preserve), originalData));
            else
                xml_.skipCurrentElement();
        }
        if (error_ || xml_.hasError())
            return;
        Pieces pieces;
        std::uint64_t line = 0;
        for (const Part& part : parts) {
            // Where a segment has no translation, its source is what shows.
            const bool target = !options_.source && part.hasTarget;
            const Pieces& chosen = target ? part.target : part.source;
            pieces.insert(pieces.end(), chosen.begin(), chosen.end());
            if (line == 0)
                line = target ? part.targetLine : part.sourceLine;
        }
        if (parts.empty()) {
            error_ = errorAt(xml_, "the unit '" + message.id + "' has no segment");
            return;
        }
        message.variants.push_back(buildText(pieces, line));
        sink_(message);
    }

    void readOriginalData(std::map<QString, QString>& data)
    {
        while (xml_.readNextStartElement()) {
            const QString id = xml_.attributes().value(QStringLiteral("id")).toString();
            Pieces pieces;
            readInline(pieces, true, data);
            data[id] = buildText(pieces, 0).text;
        }
    }

    Part readPart(bool preserve, const std::map<QString, QString>& data)
    {
        Part part;
        while (xml_.readNextStartElement()) {
            const bool source = ours() && xml_.name() == u"source";
            const bool target = ours() && xml_.name() == u"target";
            const std::uint64_t line = static_cast<std::uint64_t>(xml_.lineNumber());
            const bool inner = preservesSpace(xml_.attributes(), preserve);
            if (source) {
                part.sourceLine = line;
                readInline(part.source, inner, data);
            } else if (target) {
                part.targetLine = line;
                readInline(part.target, inner, data);
                part.hasTarget = !part.target.empty();
            } else {
                xml_.skipCurrentElement();
            }
        }
        return part;
    }

    void readInline(Pieces& pieces, bool preserve, const std::map<QString, QString>& data)
    {
        readMixed(xml_, pieces, !preserve, [&] { readCode(pieces, preserve, data); });
    }

    void readCode(Pieces& pieces, bool preserve, const std::map<QString, QString>& data)
    {
        const QXmlStreamAttributes attributes = xml_.attributes();
        const QStringView name = ours() ? xml_.name() : QStringView();
        if (name == u"pc" || name == u"mrk") {
            readInline(pieces, preserve, data);  // text inside a code is drawn
            return;
        }
        if (name == u"cp") {
            // A character XML cannot carry, by its number.
            bool ok = false;
            const uint code = attributes.value(QStringLiteral("hex")).toUInt(&ok, 16);
            const char32_t character = code;
            if (ok && character <= 0x10FFFF)
                appendText(pieces, QString::fromUcs4(&character, 1), false);
        } else if (name == u"ph" && attributes.value(QStringLiteral("subType")) == lineBreakType) {
            pieces.push_back({Piece::Kind::LineBreak, {}, false});
        } else if (name == u"ph") {
            // As written: the native code it stands for, else what it is equivalent to.
            const auto found = data.find(attributes.value(QStringLiteral("dataRef")).toString());
            QString written = found != data.end() ? found->second : QString();
            if (written.isEmpty())
                written = attributes.value(QStringLiteral("equiv")).toString();
            if (written.isEmpty())
                written = attributes.value(QStringLiteral("disp")).toString();
            pieces.push_back({Piece::Kind::Placeholder, written, false});
        }
        xml_.skipCurrentElement();  // sc, ec, sm, em: formatting, nothing drawn
    }

    QXmlStreamReader& xml_;
    const ReadOptions& options_;
    const MessageSink& sink_;
    const QString xliff_;
    std::optional<ReadError> error_;
};

}  // namespace

bool isXliff2Root(const QXmlStreamReader& xml)
{
    return xml.namespaceUri().startsWith(u"urn:oasis:names:tc:xliff:document:2") ||
           xml.attributes().value(QStringLiteral("version")).startsWith(u"2");
}

ReadResult readXliff2(QXmlStreamReader& xml, const ReadOptions& options, const MessageSink& sink)
{
    ReadResult result;
    result.formatName = "XLIFF " + xml.attributes().value(QStringLiteral("version")).toString().toStdString();
    result.error = Reader(xml, options, sink).run();
    return result;
}

}  // namespace catalogue
