#pragma once
// Qt Linguist TS catalogues. Goes on from the root element, where
// readToRoot has left the reader.

#include "CatalogueReader.h"

#include <QXmlStreamReader>

namespace catalogue {

ReadResult readLinguist(QXmlStreamReader& xml, const ReadOptions& options, const MessageSink& sink);

}  // namespace catalogue
