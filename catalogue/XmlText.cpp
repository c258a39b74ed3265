#include "XmlText.h"

namespace catalogue {

namespace {

bool isXmlSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Text that collapsing leaves as it is: single spaces between other
// characters, none at either end (most strings).
bool alreadyCollapsed(const QString& text)
{
    if (text.isEmpty() || text.front() == u' ' || text.back() == u' ')
        return false;
    QChar previous;
    for (const QChar c : text) {
        if (c == u'\t' || c == u'\n' || c == u'\r' || (c == u' ' && previous == u' '))
            return false;
        previous = c;
    }
    return true;
}

}  // namespace

void appendText(Pieces& pieces, QStringView text, bool collapse)
{
    if (text.isEmpty())
        return;
    if (!pieces.empty() && pieces.back().kind == Piece::Kind::Text && pieces.back().collapse == collapse) {
        pieces.back().text += text;
        return;
    }
    pieces.push_back({Piece::Kind::Text, text.toString(), collapse});
}

Text buildText(const Pieces& pieces, std::uint64_t line)
{
    Text out;
    out.line = line;
    QString& text = out.text;
    bool pendingSpace = false;
    const auto flush = [&] {
        if (pendingSpace)
            text += u' ';
        pendingSpace = false;
    };
    for (const Piece& piece : pieces) {
        switch (piece.kind) {
        case Piece::Kind::Text:
            if (!piece.collapse || alreadyCollapsed(piece.text)) {
                flush();
                text += piece.text;  // shares the piece's text when it is the first
                break;
            }
            // Runs of other characters go in whole; a run of white space
            // is one space, and none at all where it starts the text or a line.
            for (qsizetype i = 0, size = piece.text.size(); i < size;) {
                qsizetype end = i;
                while (end < size && !isXmlSpace(piece.text[end]))
                    ++end;
                if (end > i) {
                    flush();
                    text += QStringView(piece.text).sliced(i, end - i);
                }
                for (i = end; i < size && isXmlSpace(piece.text[i]);)
                    ++i;
                if (i > end && !text.isEmpty() && text.back() != u'\n')
                    pendingSpace = true;
            }
            break;
        case Piece::Kind::Placeholder:
            flush();
            out.placeholders.push_back({text.size(), piece.text.size()});
            text += piece.text;
            break;
        case Piece::Kind::LineBreak:
            pendingSpace = false;
            text += u'\n';
            break;
        }
    }
    return out;  // a space still pending would end the text: dropped
}

bool preservesSpace(const QXmlStreamAttributes& attributes, bool parent)
{
    const QStringView space = attributes.value(QStringLiteral("http://www.w3.org/XML/1998/namespace"),
                                               QStringLiteral("space"));
    if (space == u"preserve")
        return true;
    if (space == u"default")
        return false;
    return parent;
}

std::optional<ReadError> readToRoot(QXmlStreamReader& xml)
{
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            if (!xml.entityDeclarations().isEmpty())
                return errorAt(xml, "the document declares the entity '" +
                                        xml.entityDeclarations().front().name().toString().toStdString() +
                                        "'; catalogues are read without declared entities, so that no document "
                                        "can read other files or grow into more text than it holds");
            break;
        case QXmlStreamReader::StartElement:
            return std::nullopt;
        case QXmlStreamReader::Invalid:
            return xmlError(xml);
        default:
            break;
        }
    }
    return xmlError(xml);
}

ReadError xmlError(const QXmlStreamReader& xml)
{
    if (!xml.hasError())
        return errorAt(xml, "the document ends early");
    return errorAt(xml, xml.errorString().toStdString());
}

ReadError errorAt(const QXmlStreamReader& xml, std::string message)
{
    return {static_cast<std::uint64_t>(xml.lineNumber()), std::move(message)};
}

QString elementText(QXmlStreamReader& xml) { return xml.readElementText(QXmlStreamReader::IncludeChildElements); }

ReadError wrongRoot(const QXmlStreamReader& xml, const char* expected)
{
    return errorAt(xml, "the root element is <" + xml.name().toString().toStdString() + ">, not <" + expected + ">");
}

}  // namespace catalogue
