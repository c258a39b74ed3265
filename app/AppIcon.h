#pragma once
// The application's icon: a yellow ruler with a black outline and tick
// marks along its lower edge. One drawing serves the window icon, the PNG
// files and the scalable SVG file, so they cannot drift apart.

#include <QIcon>
#include <QImage>

#include <array>

class QPainter;

// The square sizes, in pixels, the icon is drawn at for the desktop's icon theme.
inline constexpr std::array<int, 7> iconSizes{16, 24, 32, 48, 64, 128, 256};

// Draws the ruler on a size x size pixel grid. Every shape is a whole-pixel
// rectangle, so it stays crisp without antialiasing; small sizes get fewer
// ticks so that neighbouring ticks never merge.
void paintRuler(QPainter& painter, int size);

QImage rulerImage(int size);
QIcon applicationIcon();
