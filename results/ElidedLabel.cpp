#include "ElidedLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QTextDocument>

QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}

QString wrappedToolTip(const QString& text)
{
    // Always rich text, which Qt wraps; spaces and line breaks kept.
    return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(text.toHtmlEscaped());
}

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void ElidedLabel::setFullText(const QString& text, const QString& toolTip, const QString& keptEnd)
{
    full_ = text;
    tip_ = toolTip;
    keptEnd_ = text.endsWith(keptEnd) ? keptEnd : QString();
    elide();
}

void ElidedLabel::setWrapsToolTip(bool wraps)
{
    wraps_ = wraps;
    elide();
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        elide();
}

void ElidedLabel::elide()
{
    // Qt elides on grapheme boundaries, so an accent or a surrogate pair
    // is never split from its letter. The kept end stays whole while it
    // leaves a third of the room to the rest.
    const QFontMetrics metrics = fontMetrics();
    const int room = contentsRect().width();
    const int endWidth = metrics.horizontalAdvance(keptEnd_);
    QString shown;
    if (!keptEnd_.isEmpty() && metrics.horizontalAdvance(full_) > room && endWidth <= room * 2 / 3)
        shown = metrics.elidedText(full_.chopped(keptEnd_.size()), Qt::ElideMiddle, room - endWidth) + keptEnd_;
    else
        shown = metrics.elidedText(full_, Qt::ElideMiddle, room);
    setText(shown);
    const QString tip = !tip_.isEmpty() ? tip_ : shown != full_ ? full_ : QString();
    setToolTip(tip.isEmpty() ? QString() : wraps_ ? wrappedToolTip(tip) : plainToolTip(tip));
}
