#include "WindowFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>

namespace platform {

namespace {

QString withoutMarker(QString text)
{
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

bool fits(const QFont& font, const QList<Caption>& captions)
{
    for (const Caption& caption : captions)
        if (neededWidth(caption, font) > caption.designedWidth)
            return false;
    return true;
}

}  // namespace

int neededWidth(const Caption& caption, const QFont& font)
{
    const QFontMetrics metrics(font);
    const QString text = withoutMarker(caption.text);
    const int textWidth = metrics.horizontalAdvance(text);
    QStyle* style = QApplication::style();
    switch (caption.kind) {
    case CaptionKind::Label:
        return textWidth;
    case CaptionKind::CheckBox: {
        QStyleOptionButton option;
        option.text = text;
        option.fontMetrics = metrics;
        return style->sizeFromContents(QStyle::CT_CheckBox, &option, QSize(textWidth, metrics.height())).width();
    }
    case CaptionKind::Button:
        // The text and the frame around it; a button's preferred minimum
        // width is not needed for the caption to show.
        return textWidth + 2 * style->pixelMetric(QStyle::PM_ButtonMargin) +
               2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    case CaptionKind::GroupBox:
        // The title is set in from the frame's left edge.
        return textWidth + 2 * metrics.averageCharWidth();
    }
    return textWidth;
}

QFont fittingWindowFont(const QFont& desktop, const QList<Caption>& captions)
{
    if (fits(desktop, captions))
        return desktop;
    const double largest = desktop.pointSizeF() > 0 ? desktop.pointSizeF() : 9.0;
    // The families that are installed, asked once and not at every size:
    // each font looked for is a search of every installed face, and a
    // missing one a search for its fallbacks too. The desktop's family
    // counts only under its own name, not as an alias of another.
    QStringList families;
    if (QFontInfo(desktop).family().compare(desktop.family(), Qt::CaseInsensitive) == 0)
        families << desktop.family();
    for (const char* narrow : {"Liberation Sans", "DejaVu Sans Condensed", "Liberation Sans Narrow"})
        if (QFontDatabase::hasFamily(QString::fromLatin1(narrow)))
            families << QString::fromLatin1(narrow);
    for (double size = largest; size >= 6.0; size -= 0.5) {
        for (const QString& family : families) {
            QFont font(desktop);
            font.setFamily(family);
            font.setPointSizeF(size);
            if (fits(font, captions))
                return font;
        }
    }
    QFont smallest(desktop);
    smallest.setPointSizeF(6.0);
    return smallest;
}

}  // namespace platform
