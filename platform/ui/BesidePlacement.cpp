#include "BesidePlacement.h"

#include <algorithm>

namespace platform {

QRect placeBeside(const QRect& owner, QSize size, const QRect& available, int narrowest)
{
    constexpr int gap = 8;
    size = size.boundedTo(available.size());
    const int roomRight = available.right() - owner.right() - gap;
    const int roomLeft = owner.left() - available.left() - gap;

    int left = 0;
    if (roomRight >= size.width()) {
        left = owner.right() + 1 + gap;
    } else if (roomLeft >= size.width()) {
        left = owner.left() - gap - size.width();
    } else if (std::max(roomLeft, roomRight) >= std::min(narrowest, size.width())) {
        // Narrowed to the wider side's room.
        size.setWidth(std::max(roomLeft, roomRight));
        left = roomRight >= roomLeft ? owner.right() + 1 + gap : available.left();
    } else {
        // No room: against the screen's edge on the roomier side.
        left = roomRight >= roomLeft ? available.right() + 1 - size.width() : available.left();
    }
    const int top = std::clamp(owner.top(), available.top(), available.bottom() + 1 - size.height());
    return {QPoint(left, top), size};
}

}  // namespace platform
