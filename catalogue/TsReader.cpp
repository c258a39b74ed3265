// Qt Linguist TS: each message's translation, or each of its numerus forms,
// with their length variants. An unfinished or empty translation shows its
// source at run time, so that is what is measured; an obsolete or vanished
// one shows nowhere and is left out. Text is kept exactly as written.

#include "TsReader.h"
#include "XmlText.h"

namespace catalogue {

namespace {

struct Variant {
    Pieces pieces;
    std::uint64_t line = 0;
};

struct Translation {
    bool obsolete = false;
    Variant own;                  // text directly inside it
    std::vector<Variant> lengths;  // its length variants
    std::vector<std::vector<Variant>> forms;  // numerus forms: each its text or its length variants
};

std::uint64_t lineOf(const QXmlStreamReader& xml) { return static_cast<std::uint64_t>(xml.lineNumber()); }

// The variants that hold any text, as drawn.
std::vector<Text> texts(const std::vector<Variant>& variants)
{
    std::vector<Text> out;
    for (const Variant& variant : variants)
        if (!variant.pieces.empty())
            out.push_back(buildText(variant.pieces, variant.line));
    return out;
}

class Reader {
public:
    Reader(QXmlStreamReader& xml, const ReadOptions& options, const MessageSink& sink)
        : xml_(xml), options_(options), sink_(sink)
    {
    }

    std::optional<ReadError> run()
    {
        if (xml_.name() != u"TS")
            return wrongRoot(xml_, "TS");
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"context")
                readContext();
            else
                xml_.skipCurrentElement();
        }
        if (xml_.hasError())
            return xmlError(xml_);
        return std::nullopt;
    }

private:
    void readContext()
    {
        std::string context;
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"name")
                context = elementText(xml_).toStdString();
            else if (xml_.name() == u"message")
                readMessage(context);
            else
                xml_.skipCurrentElement();
        }
    }

    void readMessage(const std::string& context)
    {
        const QXmlStreamAttributes attributes = xml_.attributes();
        Variant source;
        Translation translation;
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"source") {
                source.line = lineOf(xml_);
                readText(source.pieces, nullptr);
            } else if (xml_.name() == u"translation") {
                const QStringView type = xml_.attributes().value(QStringLiteral("type"));
                translation.obsolete = type == u"obsolete" || type == u"vanished";
                readTranslation(translation);
            } else {
                xml_.skipCurrentElement();
            }
        }
        if (xml_.hasError() || translation.obsolete)
            return;

        const Text sourceText = buildText(source.pieces, source.line);
        Message message;
        message.id = attributes.value(QStringLiteral("id")).toString().toStdString();
        if (message.id.empty())
            message.id = context + "|" + sourceText.text.section(u'\n', 0, 0).toStdString();
        const auto handOn = [&](std::vector<Text> variants, const std::string& suffix) {
            Message one = message;
            one.id += suffix;
            one.variants = variants.empty() ? std::vector<Text>{sourceText} : std::move(variants);
            sink_(one);
        };
        if (options_.source) {
            handOn({}, {});
        } else if (!translation.forms.empty()) {
            for (std::size_t i = 0; i < translation.forms.size(); ++i)
                handOn(texts(translation.forms[i]), pluralFormSuffix(i));
        } else {
            handOn(texts(translation.lengths.empty() ? std::vector<Variant>{translation.own} : translation.lengths), {});
        }
    }

    void readTranslation(Translation& translation)
    {
        translation.own.line = lineOf(xml_);
        readMixed(xml_, translation.own.pieces, false, [&] {
            if (xml_.name() == u"numerusform") {
                Variant own{{}, lineOf(xml_)};
                std::vector<Variant> lengths;
                readText(own.pieces, &lengths);
                translation.forms.push_back(lengths.empty() ? std::vector<Variant>{own} : lengths);
            } else if (xml_.name() == u"lengthvariant") {
                translation.lengths.push_back({{}, lineOf(xml_)});
                readText(translation.lengths.back().pieces, nullptr);
            } else {
                readByte(translation.own.pieces);
            }
        });
    }

    // Text with <byte value="x1b"/> for characters XML cannot carry, and,
    // where lengths is given, the element's length variants.
    void readText(Pieces& pieces, std::vector<Variant>* lengths)
    {
        readMixed(xml_, pieces, false, [&] {
            if (lengths && xml_.name() == u"lengthvariant") {
                lengths->push_back({{}, lineOf(xml_)});
                readText(lengths->back().pieces, nullptr);
            } else {
                readByte(pieces);
            }
        });
    }

    // The reader stands on a start element inside text: a byte is its
    // character, anything else is passed over.
    void readByte(Pieces& pieces)
    {
        if (xml_.name() == u"byte") {
            const QStringView value = xml_.attributes().value(QStringLiteral("value"));
            bool ok = false;
            const char32_t code = value.startsWith(u'x') ? value.mid(1).toUInt(&ok, 16) : value.toUInt(&ok, 10);
            if (ok && code <= 0x10FFFF)
                appendText(pieces, QString::fromUcs4(&code, 1), false);
        }
        xml_.skipCurrentElement();
    }

    QXmlStreamReader& xml_;
    const ReadOptions& options_;
    const MessageSink& sink_;
};

}  // namespace

ReadResult readLinguist(QXmlStreamReader& xml, const ReadOptions& options, const MessageSink& sink)
{
    ReadResult result;
    result.formatName = "Qt Linguist";
    result.error = Reader(xml, options, sink).run();
    return result;
}

}  // namespace catalogue
