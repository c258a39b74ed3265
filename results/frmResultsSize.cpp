// The results window's size and place: no smaller than designed, as large
// as the user makes it, always within the screen's free area, and opened
// at the size it was last closed at.

#include "frmResults.h"

#include "RememberedSize.h"
#include "SizesPanel.h"

#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

const QString sizeKey = QStringLiteral("ResultsWindowSize");

// The window manager's frame round a window: known once it has been shown,
// else taken to be that of the window it opens over.
QMargins frameOf(const QWidget* window)
{
    if (window->isVisible() && window->windowHandle())
        return window->windowHandle()->frameMargins();
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (owner && owner->isVisible() && owner->windowHandle())
        return owner->windowHandle()->frameMargins();
    return {};
}

const QScreen* screenOf(const QWidget* window)
{
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    return owner && owner->isVisible() ? owner->screen() : window->screen();
}

}  // namespace

QSize frmResults::roomOnScreen() const
{
    const QScreen* where = screenOf(this);
    if (!where)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return where->availableGeometry().size().shrunkBy(frameOf(this));
}

QSize frmResults::openingSize() const
{
    QSize wanted = platform::readRememberedSize(sizeKey);
    if (!wanted.isValid())
        wanted = QSize(designed_.width() + panelAtFirst_, designed_.height());
    // The table's height, if any, is added by whoever shows it.
    const QSize room = roomOnScreen();
    return wanted.boundedTo(room).expandedTo(QSize(designed_.width() + panelAtLeast_, designed_.height()).boundedTo(room));
}

void frmResults::FitToScreen()
{
    const QScreen* where = screenOf(this);
    if (!where)
        return;
    const QSize room = roomOnScreen();
    setMinimumSize(smallest_.boundedTo(room));
    if (!isMaximized())
        resize(size().boundedTo(room).expandedTo(minimumSize()));
    // Where the window was put (centred over its owner), moved only as far
    // as it takes to bring the whole frame onto the screen.
    const QRect available = where->availableGeometry();
    const QRect outer(pos(), size().grownBy(frameOf(this)));
    const int x = std::max(available.left(), std::min(outer.left(), available.right() + 1 - outer.width()));
    const int y = std::max(available.top(), std::min(outer.top(), available.bottom() + 1 - outer.height()));
    move(x, y);
}

void frmResults::done(int result)
{
    pnlSizes->cancel();  // nothing goes on measuring for a window gone
    // A window closed maximised reopens at the size it had before.
    // The table's part is not kept: it is sized afresh for the next table.
    const QSize size = isMaximized() ? normalGeometry().size() : this->size();
    platform::writeRememberedSize(sizeKey, QSize(size.width(), std::max(designed_.height(), size.height() - tableBelow_)));
    QDialog::done(result);
}

void frmResults::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlacePanel();
    PlaceTable();
}
