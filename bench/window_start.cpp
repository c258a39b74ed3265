// The main window's start as the user sees it: the program's own start-up
// (application, window, Load), up to the end of the first paint after Load,
// when the lists are filled and the inputs enabled. The process then leaves
// at once, so its whole run, timed from outside, is the start alone.
//
//   window_start            the main window
//   window_start --label    the yardstick: a window of one label, the least
//                           any Qt program pays for its fonts

#include "AppIcon.h"
#include "AppInfo.h"
#include "FontCatalog.h"
#include "frmMain.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

// Leaves the process once the window has finished a paint begun after Load.
class LeaveAfterPaint : public QObject {
public:
    explicit LeaveAfterPaint(QWidget* window)
    {
        window->installEventFilter(this);
        window->update();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { _exit(0); });  // run when this paint has ended
        return false;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QString::fromUtf8(appinfo::title));
    const bool yardstick = argc > 1 && std::strcmp(argv[1], "--label") == 0;
    std::optional<fontview::CatalogReadAhead> readAhead;
    if (!yardstick)
        readAhead.emplace();  // as the program does
    QApplication app(argc, argv);
    QApplication::setWindowIcon(applicationIcon());
    if (yardstick) {
        QLabel label(QStringLiteral("Select font face:"));
        label.show();
        const LeaveAfterPaint leave(&label);
        return QApplication::exec();
    }
    frmMain window;
    window.Load();
    const LeaveAfterPaint leave(&window);
    return QApplication::exec();
}
