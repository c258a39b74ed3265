// Writes the application icon as the PNG files a desktop installation needs.

#include "AppIcon.h"

#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons FOLDER\n");
        return 2;
    }
    for (const int size : {16, 32}) {
        const QString file = QStringLiteral("%1/spanwick-%2.png").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!rulerImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
