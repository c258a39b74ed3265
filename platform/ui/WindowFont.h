#pragma once
// The font a window's captions are drawn in. The desktop's default font
// comes first, but the windows were designed for a small, narrow font: a
// caption must never be cut off, so a smaller size or a narrower family is
// taken when the default does not fit.

#include <QFont>
#include <QList>
#include <QString>

namespace platform {

enum class CaptionKind { Label, CheckBox, Button, GroupBox };

struct Caption {
    QString text;  // with its "&" accelerator marker
    CaptionKind kind;
    int designedWidth;  // pixels
};

// The width a caption needs in a font, in pixels, decorations included.
int neededWidth(const Caption& caption, const QFont& font);

// The desktop's font if every caption fits in it, otherwise the largest
// smaller size of it, or of a narrower family, in which they all fit.
QFont fittingWindowFont(const QFont& desktop, const QList<Caption>& captions);

}  // namespace platform
