#pragma once
// The desktop's style, except that a drop-down list opens as a plain list
// under the box. Styles whose list opens like a menu (Fusion, the GTK
// look) size it to fit every entry, up to the screen's height, and ignore
// QComboBox::maxVisibleItems; a plain list keeps to it.

#include <QProxyStyle>

class QComboBox;

class ListPopupStyle final : public QProxyStyle {
    Q_OBJECT
public:
    explicit ListPopupStyle(QObject* owner);

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// How wide an open list must be for its longest entry, no wider than the
// screen; and makes it so. A list wider than its box opens from the box's
// left edge.
int openListWidth(const QComboBox* list);
void widenOpenList(QComboBox* list);
