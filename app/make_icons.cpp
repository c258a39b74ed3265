// Writes the application icon into FOLDER/hicolor as the desktop's icon theme
// lays it out: <n>x<n>/apps/spanwick.png for every size and
// scalable/apps/spanwick.svg. The sizes come from AppIcon.h alone.

#include "AppIcon.h"
#include "AppInfo.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>

#include <cstdio>

namespace {

bool writePng(const QDir& theme, int size)
{
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    return theme.mkpath(folder) && rulerImage(size).save(theme.filePath(folder + QStringLiteral("/spanwick.png")), "PNG");
}

// The scalable icon is the largest drawing, kept as vector shapes.
bool writeSvg(const QDir& theme)
{
    if (!theme.mkpath(QStringLiteral("scalable/apps")))
        return false;
    const int size = iconSizes.back();
    QSvgGenerator svg;
    svg.setFileName(theme.filePath(QStringLiteral("scalable/apps/spanwick.svg")));
    svg.setViewBox(QRect(0, 0, size, size));
    svg.setTitle(QString::fromUtf8(appinfo::title));
    svg.setDescription(QStringLiteral("A ruler"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    // The generator writes the painter's font into every group; without an
    // application the default one has size -1, which SVG readers warn about.
    painter.setFont(QFont(QStringLiteral("sans-serif"), 12));
    paintRuler(painter, size);
    return painter.end();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons FOLDER\n");
        return 2;
    }
    // Start afresh, so a size dropped from the list is not installed from an earlier run.
    QDir theme(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor"));
    if (theme.exists() && !theme.removeRecursively()) {
        std::fprintf(stderr, "make_icons: cannot clear %s\n", qPrintable(theme.path()));
        return 1;
    }
    for (const int size : iconSizes) {
        if (!writePng(theme, size)) {
            std::fprintf(stderr, "make_icons: cannot write the %d px icon in %s\n", size, qPrintable(theme.path()));
            return 1;
        }
    }
    if (!writeSvg(theme)) {
        std::fprintf(stderr, "make_icons: cannot write the SVG icon in %s\n", qPrintable(theme.path()));
        return 1;
    }
    return 0;
}
