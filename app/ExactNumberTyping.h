#pragma once
// Typing a number into a list of numbers (point sizes, widths) selects the
// entry that is that number, not the next one that starts with its
// digits: with 24 showing, "12" selects 12, not 120. Digits typed within
// the desktop's typing interval make one number, until the list is opened,
// closed or left; in the open list they move its highlight the same way.
// Other keys work as in any list.

#include <QComboBox>
#include <QElapsedTimer>

class ExactNumberTyping : public QObject {
    Q_OBJECT
public:
    // Watches the list and its open list; owned by the list.
    explicit ExactNumberTyping(QComboBox* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The entry the digit makes with those typed just before, or, when
    // there is none, the entry the digit is alone; -1 when neither.
    int entryFor(QChar digit);

    QComboBox* list_;
    QString typed_;
    QElapsedTimer sinceLast_;
};
