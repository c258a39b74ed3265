// Spanwick: how wide must a column be for a share of a text's lines to fit?

#include "AppIcon.h"
#include "AppInfo.h"
#include "Dialogs.h"
#include "FontCatalog.h"
#include "FreeTypeLibrary.h"
#include "StartupArguments.h"
#include "frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QString::fromUtf8(appinfo::title));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(appinfo::major).arg(appinfo::minor).arg(appinfo::revision));
    answerInformationRequests(argc, argv);

    // The font catalog is read while the toolkit connects to the display and
    // the window is made; the face list is the first to need it.
    const fontview::CatalogReadAhead readAhead;
    QApplication app(argc, argv);
    const StartupArguments arguments = parseStartupArguments(QApplication::arguments(), QDir::currentPath());
    if (!arguments.error.isEmpty()) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", argv[0],
                     qPrintable(arguments.error), argv[0]);
        return 2;
    }
    QApplication::setWindowIcon(applicationIcon());
    QApplication::setDesktopFileName(QStringLiteral("spanwick"));
    // Without its font engine the program can measure nothing: say so and stop.
    if (const std::string problem = fontview::fontEngineError(); !problem.empty()) {
        platform::dialogs().message(nullptr, QString::fromUtf8(appinfo::title),
                                    QStringLiteral("Spanwick cannot start: %1.").arg(QString::fromStdString(problem)),
                                    platform::MessageIcon::Critical);
        return 1;
    }

    frmMain window;
    window.Load();
    // From the event loop, so a message about the file comes over a window
    // that is already drawn.
    if (!arguments.dataFile.isEmpty())
        QTimer::singleShot(0, &window, [&window, &arguments] { window.openStartupFile(arguments.dataFile); });
    const int status = QApplication::exec();

    // Exit has written the settings and released the font; the window is
    // gone. What is left is the libraries' teardown (font databases, the
    // X and D-Bus connections and their threads), which can keep the
    // process alive for seconds, so it ends here. Only a clipboard the
    // program still holds goes through Qt's ending, which hands it to the
    // desktop's clipboard manager so that the copied text outlives it.
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard() && !clipboard->ownsSelection()) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
