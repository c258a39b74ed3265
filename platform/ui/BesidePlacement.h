#pragma once
// Where a window opens beside another: to its right, else to its left,
// narrowed if need be, always on the screen, over the other window only
// when the screen leaves no room beside it.

#include <QRect>
#include <QSize>

namespace platform {

// owner and the result are outer (frame) rectangles; available is the
// screen's area for windows; size is the wanted outer size.
QRect placeBeside(const QRect& owner, QSize size, const QRect& available, int narrowest);

}  // namespace platform
