#pragma once
// Reads a translation catalogue string by string: XLIFF 1.2 and 2.x, gettext
// PO and Qt Linguist TS. Each string reaches the sink as soon as it is
// read, so a catalogue of any size is read in little memory.

#include "CatalogueMessage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QIODevice;

namespace catalogue {

enum class Format { Xliff, Gettext, Linguist };

// By the file's extension, in any case: .xlf and .xliff, .po and .pot, .ts.
std::optional<Format> formatOfFileName(std::string_view fileName);
// By the word a user gives: xliff, po, ts.
std::optional<Format> formatFromWord(std::string_view word);
// "xliff, po or ts", for messages.
const char* formatWords();

struct ReadOptions {
    bool source = false;  // the source text even where there is a translation
};

struct ReadError {
    std::uint64_t line = 0;  // 0: not at a line (the file could not be opened)
    std::string message;
};

struct ReadResult {
    std::string formatName;  // "XLIFF 1.2", "gettext", "Qt Linguist"...
    std::optional<ReadError> error;  // the strings before it have reached the sink
};

using MessageSink = std::function<void(const Message&)>;

ReadResult readCatalogue(QIODevice& device, Format format, const ReadOptions& options, const MessageSink& sink);

// Opens the file by its name (UTF-8) and reads it.
ReadResult readCatalogueFile(const std::string& path, Format format, const ReadOptions& options,
                             const MessageSink& sink);

}  // namespace catalogue
