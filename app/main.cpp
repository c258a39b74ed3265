// Spanwick: how wide must a column be for a share of a text's lines to fit?

#include "AppIcon.h"
#include "AppInfo.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(appinfo::title));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(appinfo::major).arg(appinfo::minor).arg(appinfo::revision));
    QApplication::setWindowIcon(applicationIcon());
    QApplication::setDesktopFileName(QStringLiteral("spanwick"));

    frmMain window;
    window.Load();
    return QApplication::exec();
}
