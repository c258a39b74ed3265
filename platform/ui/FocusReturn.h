#pragma once
// Gives the keyboard focus back to the window a dialog was shown over, and
// to the control in it that had the focus, once the dialog has closed.
// Window managers do not always do it: under openbox, a file dialog and
// its "replace?" box closing together leave no window focused, and Esc or
// Alt+ keys do nothing until the user clicks.

#include <QPointer>
#include <QWidget>

namespace platform {

class FocusReturn {
public:
    // owner: what the dialog is shown over; nullptr: the active window.
    explicit FocusReturn(QWidget* owner);
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> control_;
};

}  // namespace platform
