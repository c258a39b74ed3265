// Reads an XML file with QXmlStreamReader and does nothing else: the least
// any check of an XML catalogue can take. xml_read FILE
#include <QFile>
#include <QXmlStreamReader>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QXmlStreamReader xml(&file);
    long long tokens = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        ++tokens;
    }
    std::printf("%lld tokens%s\n", tokens, xml.hasError() ? ", with an error" : "");
    return xml.hasError() ? 1 : 0;
}
