#pragma once
// gettext PO and POT catalogues.

#include "CatalogueReader.h"

class QIODevice;

namespace catalogue {

ReadResult readGettext(QIODevice& device, const ReadOptions& options, const MessageSink& sink);

}  // namespace catalogue
