#include "ListPopupStyle.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScreen>
#include <QScrollBar>

ListPopupStyle::ListPopupStyle(QObject* owner) { setParent(owner); }

int ListPopupStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const
{
    if (hint == QStyle::SH_ComboBox_Popup)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

int openListWidth(const QComboBox* list)
{
    const QAbstractItemView* view = list->view();
    const QFontMetrics metrics(view->font());
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(list->itemText(i)));
    // The entry's own margins, the list's frame and its scroll bar.
    const int room = widest + 4 * metrics.averageCharWidth() + 2 * view->frameWidth() +
                     view->verticalScrollBar()->sizeHint().width();
    const int screen = list->screen() ? list->screen()->availableGeometry().width() : room;
    return std::min(room, screen);
}

void widenOpenList(QComboBox* list) { list->view()->setMinimumWidth(openListWidth(list)); }
