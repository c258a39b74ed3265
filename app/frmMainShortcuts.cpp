// The desktop's usual keys beside the designed ones: F1 Help, Ctrl+O Open,
// Ctrl+Q Exit.

#include "frmMain.h"

#include <QPushButton>
#include <QShortcut>

void frmMain::installShortcuts()
{
    // Open and Exit go through their buttons, so like them they do nothing
    // while the inputs are off during a calculation.
    const auto pressing = [this](QKeySequence keys, QPushButton* button) {
        connect(new QShortcut(keys, this), &QShortcut::activated, button, [button] {
            if (button->isEnabled())
                button->click();
        });
    };
    pressing(QKeySequence(Qt::CTRL | Qt::Key_O), cmdOpen);
    pressing(QKeySequence(Qt::CTRL | Qt::Key_Q), cmdExit);
    // Help works even then: its window is apart from the measurement, and
    // reading it is what a long calculation leaves time for.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &frmMain::Help);
}
