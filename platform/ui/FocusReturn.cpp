#include "FocusReturn.h"

#include <QApplication>

namespace platform {

FocusReturn::FocusReturn(QWidget* owner) : window_(owner ? owner->window() : QApplication::activeWindow())
{
    if (window_)
        control_ = window_->focusWidget();  // also remembered while the window is inactive
}

FocusReturn::~FocusReturn()
{
    // A window closed meanwhile (Exit while a message was up) stays closed.
    if (!window_ || !window_->isVisible())
        return;
    window_->activateWindow();
    if (control_ && control_->window() == window_ && control_->isVisible() && control_->isEnabled())
        control_->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace platform
