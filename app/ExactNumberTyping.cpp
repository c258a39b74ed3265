#include "ExactNumberTyping.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>

ExactNumberTyping::ExactNumberTyping(QComboBox* list) : QObject(list), list_(list)
{
    list->installEventFilter(this);
    list->view()->installEventFilter(this);
}

int ExactNumberTyping::entryFor(QChar digit)
{
    if (!sinceLast_.isValid() || sinceLast_.elapsed() > QApplication::keyboardInputInterval())
        typed_.clear();
    sinceLast_.start();
    for (const QString& tried : {typed_ + digit, QString(digit)}) {
        const int found = list_->findText(tried, Qt::MatchExactly);
        if (found >= 0) {
            typed_ = tried;
            return found;
        }
    }
    return -1;
}

bool ExactNumberTyping::eventFilter(QObject* watched, QEvent* event)
{
    // Opening or closing the list, or leaving it, starts a new number.
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide || event->type() == QEvent::FocusOut)
        typed_.clear();
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() != 1 || !text.front().isDigit() ||
        (key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) != Qt::NoModifier)
        return false;
    const int entry = entryFor(text.front());
    if (entry < 0)
        return true;  // no such entry: nothing changes
    if (watched == list_)
        list_->setCurrentIndex(entry);
    else
        list_->view()->setCurrentIndex(list_->model()->index(entry, list_->modelColumn(), list_->rootModelIndex()));
    return true;
}
