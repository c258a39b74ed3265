// XLIFF 1.2 (and the 1.0 and 1.1 it grew from): each trans-unit's target,
// or its source, with the budget and font its own attributes or its
// groups' give.

#include "XliffReaders.h"
#include "Words.h"
#include "XmlText.h"

namespace catalogue {

namespace {

// The attributes a group hands down to the units inside it that lack them.
struct Inherited {
    std::optional<std::int64_t> maxWidth;
    QString sizeUnit;  // empty: pixel, the attribute's default
    QString font;
    bool preserve = false;
};

Budget budgetOf(const Inherited& attributes)
{
    if (!attributes.maxWidth)
        return {};
    if (attributes.sizeUnit.isEmpty() || attributes.sizeUnit == u"pixel")
        return {Budget::Kind::Pixels, *attributes.maxWidth, "pixel"};
    return {Budget::Kind::OtherUnit, *attributes.maxWidth, attributes.sizeUnit.toStdString()};
}

class Reader {
public:
    Reader(QXmlStreamReader& xml, const ReadOptions& options, const MessageSink& sink)
        : xml_(xml), options_(options), sink_(sink), xliff_(xml.namespaceUri().toString())
    {
    }

    std::optional<ReadError> run()
    {
        Inherited top;
        top.preserve = preservesSpace(xml_.attributes(), false);
        readContainer(top);
        if (!error_ && xml_.hasError())
            error_ = xmlError(xml_);
        return error_;
    }

private:
    bool ours() const { return xml_.namespaceUri() == xliff_; }

    // The file, its body, groups and binary units: all may hold units.
    void readContainer(const Inherited& outer)
    {
        while (!error_ && xml_.readNextStartElement()) {
            const QStringView name = xml_.name();
            if (!ours()) {
                xml_.skipCurrentElement();
            } else if (name == u"trans-unit") {
                readUnit(outer);
            } else if (name == u"file" || name == u"body" || name == u"group" || name == u"bin-unit") {
                Inherited inner = outer;
                if (inherit(inner))
                    readContainer(inner);
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    // Takes the element's own attributes over those handed down; the id
    // too, where asked for.
    bool inherit(Inherited& attributes, std::string* id = nullptr)
    {
        for (const QXmlStreamAttribute& given : xml_.attributes()) {
            const QStringView name = given.name();
            if (!given.namespaceUri().isEmpty()) {
                if (given.qualifiedName() == u"xml:space")
                    attributes.preserve = given.value() == u"preserve";
            } else if (name == u"maxwidth") {
                attributes.maxWidth = wholeNumber(trimmed(given.value().toLatin1().toStdString()));
                if (!attributes.maxWidth) {
                    error_ = errorAt(xml_, "maxwidth '" + given.value().toString().toStdString() +
                                               "' is not a whole number");
                    return false;
                }
            } else if (name == u"size-unit") {
                attributes.sizeUnit = given.value().toString();
            } else if (name == u"font") {
                attributes.font = given.value().toString();
            } else if (name == u"id" && id) {
                *id = given.value().toString().toStdString();
            }
        }
        return true;
    }

    void readUnit(Inherited unit)
    {
        Message message;
        if (!inherit(unit, &message.id))
            return;
        std::optional<Content> source, target;
        while (!error_ && xml_.readNextStartElement()) {
            const QStringView name = xml_.name();
            if (ours() && name == u"source" && !source)
                source = readContent(unit.preserve);
            else if (ours() && name == u"target" && !target)
                target = readContent(unit.preserve);
            else
                xml_.skipCurrentElement();  // alternatives, notes, segmented source...
        }
        if (error_ || xml_.hasError())
            return;
        if (!source) {
            error_ = errorAt(xml_, "the trans-unit '" + message.id + "' has no source");
            return;
        }
        // An empty target is no translation: the source is what shows.
        if (target && !options_.source)
            message.variants.push_back(buildText(target->pieces, target->line));
        if (message.variants.empty() || message.variants.front().text.isEmpty())
            message.variants = {buildText(source->pieces, source->line)};
        message.budget = budgetOf(unit);
        message.font = unit.font.toStdString();
        sink_(message);
    }

    // A source or target as read; only the one measured is built.
    struct Content {
        Pieces pieces;
        std::uint64_t line = 0;
    };

    Content readContent(bool parentPreserve)
    {
        Content content;
        content.line = static_cast<std::uint64_t>(xml_.lineNumber());
        readInline(content.pieces, preservesSpace(xml_.attributes(), parentPreserve));
        return content;
    }

    // Text and inline codes up to the end of the element the reader is in.
    void readInline(Pieces& pieces, bool preserve)
    {
        readMixed(xml_, pieces, !preserve, [&] { readCode(pieces, preserve); });
    }

    void readCode(Pieces& pieces, bool preserve)
    {
        const QXmlStreamAttributes attributes = xml_.attributes();
        const bool ph = xml_.name() == u"ph", x = xml_.name() == u"x";
        const bool drawnText = xml_.name() == u"g" || xml_.name() == u"mrk";
        if (!ours()) {
            xml_.skipCurrentElement();
        } else if (drawnText) {
            readInline(pieces, preservesSpace(attributes, preserve));
        } else if ((ph || x) && attributes.value(QStringLiteral("ctype")) == u"lb") {
            pieces.push_back({Piece::Kind::LineBreak, {}, false});
            xml_.skipCurrentElement();
        } else if (ph || x) {
            // As written: a ph holds its native code; an x holds nothing.
            QString written;
            if (ph)
                written = elementText(xml_);
            else
                xml_.skipCurrentElement();
            if (written.isEmpty())
                written = attributes.value(QStringLiteral("equiv-text")).toString();
            pieces.push_back({Piece::Kind::Placeholder, written, false});
        } else {
            xml_.skipCurrentElement();  // bpt, ept, it, bx, ex: formatting, nothing drawn
        }
    }

    QXmlStreamReader& xml_;
    const ReadOptions& options_;
    const MessageSink& sink_;
    const QString xliff_;  // the document's XLIFF namespace
    std::optional<ReadError> error_;
};

}  // namespace

ReadResult readXliff1(QXmlStreamReader& xml, const ReadOptions& options, const MessageSink& sink)
{
    ReadResult result;
    const QStringView version = xml.attributes().value(QStringLiteral("version"));
    result.formatName = "XLIFF " + (version.isEmpty() ? std::string("1.2") : version.toString().toStdString());
    result.error = Reader(xml, options, sink).run();
    return result;
}

}  // namespace catalogue
