#include "AppIcon.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Tick levels from the coarsest: halves, quarters, eighths, sixteenths and
// thirty-seconds of the ruler, each shorter than the one before. Length is a
// share of the ruler's inside height.
struct TickLevel {
    int divisions;
    double length;
};
constexpr std::array<TickLevel, 5> tickLevels{{{2, 0.7}, {4, 0.5}, {8, 0.3}, {16, 0.2}, {32, 0.15}}};

// Outline and tick thickness: one pixel up to 127 px, then growing with the size.
int strokeWidth(int size)
{
    return std::max(1, size / 64);
}

// The left edge of the tick at position x: stroke wide and centred on x
// as far as whole pixels allow.
int tickLeft(int x, int stroke)
{
    return x - stroke / 2;
}

// True when every gap along the ruler's inside, between ticks and at its
// ends, stays at least two pixels and one tick wide; finer ticks would run
// together or into the outline.
bool ticksStandApart(const std::vector<int>& positions, int size, int stroke)
{
    std::vector<int> lefts;
    for (const int x : positions)
        lefts.push_back(tickLeft(x, stroke));
    std::sort(lefts.begin(), lefts.end());
    const int minimumGap = std::max(2, stroke);
    int gapStart = stroke;
    for (const int left : lefts) {
        if (left - gapStart < minimumGap)
            return false;
        gapStart = left + stroke;
    }
    return size - stroke - gapStart >= minimumGap;
}

}  // namespace

void paintRuler(QPainter& painter, int size)
{
    const int stroke = strokeWidth(size);
    const int height = static_cast<int>(std::lround(size * 12.0 / 32.0));
    const int top = (size - height) / 2;
    const QRect ruler(0, top, size, height);
    const QRect inside = ruler.adjusted(stroke, stroke, -stroke, -stroke);
    painter.fillRect(ruler, Qt::black);
    painter.fillRect(inside, QColor(255, 255, 0));

    // Ticks stand on the inside of the lower edge, each level added only
    // while all of them stay apart; a position taken by a coarser level
    // keeps that level's longer tick.
    std::vector<int> positions;
    for (const TickLevel& level : tickLevels) {
        std::vector<int> added;
        for (int i = 1; i < level.divisions; ++i) {
            const int x = static_cast<int>(std::lround(double(i) * size / level.divisions));
            if (std::find(positions.begin(), positions.end(), x) == positions.end())
                added.push_back(x);
        }
        std::vector<int> all = positions;
        all.insert(all.end(), added.begin(), added.end());
        if (!ticksStandApart(all, size, stroke))
            break;
        positions = all;
        const int length = std::max(stroke, static_cast<int>(std::lround(inside.height() * level.length)));
        for (const int x : added)
            painter.fillRect(QRect(tickLeft(x, stroke), inside.bottom() + 1 - length, stroke, length), Qt::black);
    }
}

QImage rulerImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintRuler(painter, size);
    return image;
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : iconSizes)
        icon.addPixmap(QPixmap::fromImage(rulerImage(size)));
    return icon;
}
