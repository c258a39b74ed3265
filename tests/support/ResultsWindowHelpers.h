#pragma once
// For the results window's tests: running it modally, and reading its
// tooltips as they show.

#include "frmResults.h"

#include <QTextDocument>
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

// How a tooltip reads on screen: Qt shows markup-like text as rich text.
inline QString readAs(const QString& tip)
{
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}
