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

void ElidedLabel::setFullText(const QString& text, const QString& toolTip)
{
    full_ = text;
    tip_ = toolTip;
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
    // is never split from its letter.
    const QString shown = fontMetrics().elidedText(full_, Qt::ElideMiddle, contentsRect().width());
    setText(shown);
    const QString tip = !tip_.isEmpty() ? tip_ : shown != full_ ? full_ : QString();
    setToolTip(tip.isEmpty() ? QString() : wraps_ ? wrappedToolTip(tip) : plainToolTip(tip));
}
