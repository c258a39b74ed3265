#include "AppIcon.h"

#include <QPainter>
#include <QPixmap>

QImage rulerImage(int size)
{
    // Drawn on a 32-pixel grid; the 16-pixel image is the same at half scale.
    const int unit = size / 16;  // pixels per half-step of the 32 grid: 2 at 32, 1 at 16
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int top = 5 * size / 16, height = 6 * size / 16;
    const QRect ruler(0, top, size, height);
    painter.fillRect(ruler, QColor(255, 255, 0));
    painter.setPen(Qt::black);
    painter.drawRect(ruler.adjusted(0, 0, -1, -1));
    // A long tick every 8 pixels and a short one every 2 (at 32x32).
    const int bottom = top + height - 2;
    for (int x = 0; x < size; x += unit) {
        const bool longTick = (x % (4 * unit)) == 0;
        const int length = longTick ? height / 2 : height / 4;
        if (x > 0)
            painter.drawLine(x, bottom, x, bottom - length + 1);
    }
    return image;
}

QIcon applicationIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(rulerImage(32)));
    icon.addPixmap(QPixmap::fromImage(rulerImage(16)));
    return icon;
}
