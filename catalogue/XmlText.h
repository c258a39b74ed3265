#pragma once
// What the XML catalogues share: a string's content as the readers find it
// (text, placeholders, line breaks), turned into the text that is drawn;
// white space as xml:space asks; and reading XML safely.

#include "CatalogueMessage.h"
#include "CatalogueReader.h"

#include <QXmlStreamReader>

#include <optional>
#include <vector>

namespace catalogue {

struct Piece {
    enum class Kind { Text, Placeholder, LineBreak };
    Kind kind = Kind::Text;
    QString text;  // for a placeholder: as it is written
    bool collapse = false;  // text whose white space runs are one space (xml:space="default")
};
using Pieces = std::vector<Piece>;

void appendText(Pieces& pieces, QStringView text, bool collapse);

// Reads text up to the end of the element the reader is in. Each element
// inside goes to onElement with the reader on its start, to be read to
// its end there.
template <class OnElement>
void readMixed(QXmlStreamReader& xml, Pieces& pieces, bool collapse, OnElement&& onElement)
{
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            appendText(pieces, xml.text(), collapse);
            break;
        case QXmlStreamReader::StartElement:
            onElement();
            break;
        case QXmlStreamReader::EndElement:
        case QXmlStreamReader::Invalid:
            return;
        default:
            break;
        }
    }
}

// The drawn text: in collapsing text every run of spaces, tabs and line
// ends is one space, and none starts or ends the whole.
Text buildText(const Pieces& pieces, std::uint64_t line);

// Whether an element keeps its white space: its own xml:space, else its
// parent's.
bool preservesSpace(const QXmlStreamAttributes& attributes, bool parent);

// Reads the prologue up to the root element. A document that declares
// entities is refused: an outside one could read any file, and nested
// ones can expand a small file into gigabytes of text.
std::optional<ReadError> readToRoot(QXmlStreamReader& xml);

// What went wrong with the document, at its line.
ReadError xmlError(const QXmlStreamReader& xml);

ReadError errorAt(const QXmlStreamReader& xml, std::string message);

// The text of an element and all its descendants, where the reader stands
// on its start; the reader ends on its end.
QString elementText(QXmlStreamReader& xml);

// "the root element is <x>, not <y>"
ReadError wrongRoot(const QXmlStreamReader& xml, const char* expected);

}  // namespace catalogue
