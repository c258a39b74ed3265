#pragma once
// A window's place saved by QWidget::saveGeometry on a screen of another
// width: the same screen at another scale, say 150% then 100%. Qt refuses
// to restore such a place; this reads it so that the window can take the
// same place in proportion to the screen it is on now.

#include <QByteArray>
#include <QRect>

#include <optional>

struct SavedPlace {
    QRect normal;           // the window's own area when not maximised, in that screen's pixels
    int screenWidth = 0;    // the width of the screen it was saved on
    bool maximized = false;
};

// Nothing when the bytes are not a saved geometry this reading knows.
std::optional<SavedPlace> readSavedPlace(const QByteArray& saved);

// The saved area moved to the same place in proportion on a screen of
// this size, no smaller than minimum, and kept within available.
QRect placeOnScreen(const SavedPlace& place, int screenWidth, const QRect& available, QSize minimum);
