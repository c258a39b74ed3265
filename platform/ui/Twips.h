#pragma once
// Window geometry is designed in twips (1/1440 inch): 15 twips to a pixel
// at 96 dots per inch, fewer on denser screens.

#include <QRect>

#include <cmath>

namespace platform {

inline int twipsToPixels(double twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

inline double pixelsToTwips(int pixels, int dpi) { return pixels * 1440.0 / dpi; }

inline QRect twipRect(double left, double top, double width, double height, int dpi)
{
    const int x = twipsToPixels(left, dpi), y = twipsToPixels(top, dpi);
    // Right and bottom edges are rounded too, so neighbours never overlap.
    return QRect(x, y, twipsToPixels(left + width, dpi) - x, twipsToPixels(top + height, dpi) - y);
}

}  // namespace platform
