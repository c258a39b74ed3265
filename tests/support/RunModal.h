#pragma once
// Running the results window modally in a test.

#include "frmResults.h"

#include <QTimer>
#include <QtTest>

#include <functional>

// Runs the window modally, does action inside, then closes it if it is
// still open. Returns whether the action left it open.
inline bool runModal(frmResults& window, const std::function<void()>& action)
{
    bool leftOpen = false;
    QTimer::singleShot(0, &window, [&] {
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("results window did not become active");
        action();
        leftOpen = window.isVisible();
        if (leftOpen)
            window.reject();
    });
    window.exec();
    return leftOpen;
}
