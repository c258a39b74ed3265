#include "SortedComboBox.h"

#include "FontNames.h"
#include "TypedSearch.h"

#include <QFocusEvent>
#include <QKeyEvent>

SortedComboBox::SortedComboBox(QWidget* parent) : ElidedComboBox(parent), search_(new TypedSearch(this)) {}

QString SortedComboBox::boxText() const
{
    return search_->searching() ? search_->typed() : ElidedComboBox::boxText();
}

void SortedComboBox::keyPressEvent(QKeyEvent* event)
{
    // The search's keys, also those its open list hands on, before the
    // list's own search by first letters.
    if (search_->keyPressed(event))
        event->accept();
    else
        ElidedComboBox::keyPressEvent(event);
}

void SortedComboBox::focusOutEvent(QFocusEvent* event)
{
    // The search's own list takes the focus only for a while.
    if (event->reason() != Qt::PopupFocusReason)
        search_->end();
    ElidedComboBox::focusOutEvent(event);
}

void SortedComboBox::fill(std::vector<std::string> names)
{
    // Sorted once and added in one go: thousands of faces added one by one
    // cost a search and a model insertion each.
    QStringList items;
    for (const std::string& name : platform::sortedFontNames(std::move(names)))
        items.append(QString::fromStdString(name));
    clear();
    addItems(items);
}
