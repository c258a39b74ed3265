#pragma once
// The two XLIFF generations. Each goes on from the root element, where
// readToRoot has left the reader.

#include "CatalogueReader.h"

#include <QXmlStreamReader>

namespace catalogue {

// A root of the 2.x namespace or version.
bool isXliff2Root(const QXmlStreamReader& xml);

ReadResult readXliff1(QXmlStreamReader& xml, const ReadOptions& options, const MessageSink& sink);
ReadResult readXliff2(QXmlStreamReader& xml, const ReadOptions& options, const MessageSink& sink);

}  // namespace catalogue
