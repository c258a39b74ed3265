// The keys: the designed Enter and Esc, and the desktop's usual ones
// beside them: F1 Help, Ctrl+O Open, Ctrl+Q Exit. While a calculation
// runs, Esc and the Cancel button beside its progress stop it.

#include "frmMain.h"

#include "BackgroundCalculation.h"
#include "PreviewBox.h"

#include <QKeyEvent>
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
    connect(picText, &PreviewBox::cancelRequested, this, &frmMain::cancelCalculation);
}

void frmMain::cancelCalculation()
{
    if (calculation_)
        calculation_->cancel();
}

void frmMain::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // The focused button, or else the default button, Calculate.
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        QPushButton* target = focused ? focused : cmdCalculate;
        if (target->isEnabled())
            target->click();
        return;
    }
    case Qt::Key_Escape:
        // Busy, Esc stops the calculation; ready, it is Exit's key.
        if (calculation_)
            cancelCalculation();
        else if (cmdExit->isEnabled())
            cmdExit->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

