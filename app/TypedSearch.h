#pragma once
// Searching a long list by typing: the letters typed, spaces included,
// open a list of the entries that hold them, the best first (those that
// begin with them, then the others, each in the list's order). Up and Down
// move in it, Enter or a click chooses; Esc, Backspace past the first
// letter or leaving the list gives up. "Liberation Se" finds Liberation
// Serif; "mono" finds every monospaced family.

#include <QObject>
#include <QString>

class QAbstractItemView;
class QComboBox;
class QCompleter;
class QKeyEvent;
class QStringListModel;

class TypedSearch : public QObject {
    Q_OBJECT
public:
    explicit TypedSearch(QComboBox* list);

    // From the list's own key handling: true when the key was the search's.
    bool keyPressed(QKeyEvent* event);
    // Gives up the search, if one is going on.
    void end();

    bool searching() const { return searching_; }
    const QString& typed() const { return typed_; }
    // The entries the search offers now, in order, and the list they show in.
    QStringList offered() const;
    QAbstractItemView* popup() const;

private:
    void update();
    void choose(const QString& entry);

    QComboBox* list_;
    QCompleter* completer_;
    QStringListModel* matches_;
    QString typed_;
    bool searching_ = false;
};
