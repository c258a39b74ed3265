#include "ElidedComboBox.h"

#include "ListPopupStyle.h"

#include <QHelpEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

QRect ElidedComboBox::textRect() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
}

QString ElidedComboBox::shownText() const
{
    // The style draws the label one pixel in from each side of the field.
    return fontMetrics().elidedText(boxText(), Qt::ElideRight, textRect().width() - 2);
}

void ElidedComboBox::paintEvent(QPaintEvent*)
{
    // QComboBox's own painting, with the label shortened.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

bool ElidedComboBox::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (shownText() != boxText())
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), currentText(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QComboBox::event(event);
}

void ElidedComboBox::showPopup()
{
    widenOpenList(this);
    QComboBox::showPopup();
}
