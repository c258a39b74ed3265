#pragma once
// Runs a window test on an offscreen screen of a chosen size, resolution
// and scale, as a laptop or a high-resolution desktop would show it: the
// platform reads the screen from a file named before the application
// starts.

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

struct ScreenSpec {
    int width = 1400;   // device pixels
    int height = 900;
    int logicalDpi = 96;
    const char* scale = "1";  // QT_SCALE_FACTOR
};

template <class Test>
int runOnScreen(int argc, char** argv, const ScreenSpec& screen)
{
    QTemporaryDir folder;
    QFile config(folder.filePath(QStringLiteral("screen.json")));
    const QByteArray json = QStringLiteral(R"({"screens":[{"name":"test","x":0,"y":0,"width":%1,"height":%2,)"
                                           R"("logicalDpi":%3,"logicalBaseDpi":%3,"dpr":1}]})")
                                .arg(screen.width)
                                .arg(screen.height)
                                .arg(screen.logicalDpi)
                                .toUtf8();
    if (!folder.isValid() || !config.open(QIODevice::WriteOnly) || config.write(json) != json.size())
        qFatal("cannot describe the test screen");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    qputenv("QT_SCALE_FACTOR", screen.scale);
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
