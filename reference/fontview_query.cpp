// Answers width queries with the program's own font layer, in the format
// of the reference data: one tab-separated query per input line
// (face, lfHeight, lfWidth, lfWeight, italic 0/1), one JSON line out.
// With --families it lists the installed family names, one a line.

#include "modFontView.h"
#include "DeviceContext.h"
#include "FontCatalog.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--families") == 0) {
        for (const std::string& family : fontview::FontCatalog::instance().familyNames())
            std::cout << family << '\n';
        return 0;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        for (std::string field; std::getline(stream, field, '\t');)
            fields.push_back(field);
        if (fields.size() < 5)
            fields.resize(5, "0");
        LOGFONTA lf{};
        std::strncpy(lf.lfFaceName, fields[0].c_str(), LF_FACESIZE - 1);
        lf.lfHeight = std::atoi(fields[1].c_str());
        lf.lfWidth = std::atoi(fields[2].c_str());
        lf.lfWeight = std::atoi(fields[3].c_str());
        lf.lfItalic = fields[4] == "1";
        lf.lfCharSet = DEFAULT_CHARSET;
        const HFONT font = CreateFontIndirectA(&lf);
        BitmapDC dc(1, 1);
        const HGDIOBJ previous = SelectObject(&dc, font);
        char face[LF_FACESIZE];
        GetTextFaceA(&dc, LF_FACESIZE, face);
        std::int32_t widths[95];
        GetCharWidth32A(&dc, 32, 126, widths);
        SelectObject(&dc, previous);
        DeleteObject(font);
        std::cout << "{\"face\":\"" << face << "\",\"widths\":[";
        for (int i = 0; i < 95; ++i)
            std::cout << (i ? "," : "") << widths[i];
        std::cout << "]}\n";
    }
}
