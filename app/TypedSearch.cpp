#include "TypedSearch.h"

#include "ListPopupStyle.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QStringListModel>

TypedSearch::TypedSearch(QComboBox* list)
    : QObject(list), list_(list), completer_(new QCompleter(this)), matches_(new QStringListModel(this))
{
    // The completer shows what update() found, unfiltered: it only lists.
    completer_->setModel(matches_);
    completer_->setWidget(list);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setMaxVisibleItems(list->maxVisibleItems());
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this, &TypedSearch::choose);
}

QAbstractItemView* TypedSearch::popup() const { return completer_->popup(); }

QStringList TypedSearch::offered() const { return searching_ ? matches_->stringList() : QStringList(); }

bool TypedSearch::keyPressed(QKeyEvent* event)
{
    if (searching_) {
        switch (event->key()) {
        case Qt::Key_Backspace:
            typed_.chop(1);
            if (typed_.isEmpty())
                end();
            else
                update();
            return true;
        case Qt::Key_Escape:
            end();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // With a list open, the list chooses; without, nothing was found.
            if (completer_->popup()->isVisible())
                return false;
            end();
            return true;
        default:
            break;
        }
    }
    const QString text = event->text();
    const bool plain = (event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
    // A space starts no search (it opens the list), but goes on one.
    if (!plain || text.size() != 1 || !text.front().isPrint() || (text.front().isSpace() && !searching_))
        return false;
    if (!searching_)
        typed_.clear();
    searching_ = true;
    typed_ += text;
    update();
    return true;
}

void TypedSearch::end()
{
    searching_ = false;
    typed_.clear();
    completer_->popup()->hide();
    list_->update();
}

void TypedSearch::update()
{
    QStringList starting, holding;
    for (int i = 0; i < list_->count(); ++i) {
        const QString entry = list_->itemText(i);
        if (entry.startsWith(typed_, Qt::CaseInsensitive))
            starting << entry;
        else if (entry.contains(typed_, Qt::CaseInsensitive))
            holding << entry;
    }
    matches_->setStringList(starting + holding);
    list_->update();  // the box shows the letters typed
    if (matches_->rowCount() == 0) {
        completer_->popup()->hide();  // the letters typed so far stay, for Backspace
        return;
    }
    QAbstractItemView* popup = completer_->popup();
    popup->setFont(list_->font());
    popup->setMinimumWidth(openListWidth(list_));
    completer_->complete(list_->rect());
    popup->setCurrentIndex(matches_->index(0));
}

void TypedSearch::choose(const QString& entry)
{
    end();
    const int found = list_->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0)
        list_->setCurrentIndex(found);
}
