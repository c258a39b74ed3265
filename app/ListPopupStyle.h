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

// Makes the open list wide enough for its longest entry, and no wider than
// the screen; a list wider than its box opens from the box's left edge.
void widenOpenList(QComboBox* list);
