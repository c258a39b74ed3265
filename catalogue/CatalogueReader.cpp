#include "CatalogueReader.h"

#include "PoReader.h"
#include "TsReader.h"
#include "XliffReaders.h"
#include "Words.h"
#include "XmlText.h"

#include <QFile>

#include <filesystem>

namespace catalogue {

namespace {

ReadResult readXml(QIODevice& device, Format format, const ReadOptions& options, const MessageSink& sink)
{
    QXmlStreamReader xml(&device);
    if (auto error = readToRoot(xml))
        return {{}, std::move(error)};
    if (format == Format::Linguist)
        return readLinguist(xml, options, sink);
    if (xml.name() != u"xliff")
        return {{}, wrongRoot(xml, "xliff")};
    return isXliff2Root(xml) ? readXliff2(xml, options, sink) : readXliff1(xml, options, sink);
}

}  // namespace

std::optional<Format> formatOfFileName(std::string_view fileName)
{
    const std::string extension = lowerCase(std::filesystem::path(fileName).extension().string());
    if (extension == ".xlf" || extension == ".xliff")
        return Format::Xliff;
    if (extension == ".po" || extension == ".pot")
        return Format::Gettext;
    if (extension == ".ts")
        return Format::Linguist;
    return std::nullopt;
}

std::optional<Format> formatFromWord(std::string_view word)
{
    const std::string given = lowerCase(word);
    if (given == "xliff")
        return Format::Xliff;
    if (given == "po")
        return Format::Gettext;
    if (given == "ts")
        return Format::Linguist;
    return std::nullopt;
}

const char* formatWords() { return "xliff, po or ts"; }

ReadResult readCatalogue(QIODevice& device, Format format, const ReadOptions& options, const MessageSink& sink)
{
    if (format == Format::Gettext)
        return readGettext(device, options, sink);
    return readXml(device, format, options, sink);
}

ReadResult readCatalogueFile(const std::string& path, Format format, const ReadOptions& options,
                             const MessageSink& sink)
{
    QFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::ReadOnly))
        return {{}, ReadError{0, file.errorString().toStdString()}};
    return readCatalogue(file, format, options, sink);
}

}  // namespace catalogue
