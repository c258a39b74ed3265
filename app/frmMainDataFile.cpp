// The ways a data file reaches the main window besides Open: a file
// dropped on the window and one named on the command line.

#include "frmMain.h"

#include "AppInfo.h"
#include "DataFileDrop.h"
#include "ElidedLabel.h"
#include "Dialogs.h"
#include "RememberedSelections.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace {
QString applicationTitle() { return QString::fromUtf8(appinfo::title); }
}  // namespace

void frmMain::useDataFile(const QString& path)
{
    const QFileInfo file(path);
    dataFilePath_ = path;
    dataFileTitle_ = file.fileName();
    lblFile->setFullText(dataFileTitle_, dataFilePath_);
    showColumnsOf(path);
    // The next Open starts there; not being able to remember it changes
    // nothing now.
    if (!path.isEmpty())
        writeDataFolder(applicationTitle(), file.absolutePath());
}

void frmMain::openStartupFile(const QString& path)
{
    const QFileInfo file(path);
    if (isDataFile(file)) {
        useDataFile(file.absoluteFilePath());
        return;
    }
    const QString why = file.isDir() ? tr("The data file '%1' given on the command line is a folder.")
                                     : tr("The data file '%1' given on the command line does not exist.");
    platform::dialogs().message(this, applicationTitle(),
                                why.arg(path) + u' ' + tr("Choose one with Open... or drop one on the window."),
                                platform::MessageIcon::Critical);
}

bool frmMain::busy() const { return !cmdOpen->isEnabled(); }

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    // The whole window takes one file, as Open does, and only when Open could.
    const Qt::DropAction action = dataFileDropAction(event->possibleActions());
    if (busy() || action == Qt::IgnoreAction || droppedDataFile(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

void frmMain::dragMoveEvent(QDragMoveEvent* event)
{
    // Accepted on entering for the whole window.
    if (busy())
        event->ignore();
    else
        event->accept();
}

void frmMain::dropEvent(QDropEvent* event)
{
    const Qt::DropAction action = dataFileDropAction(event->possibleActions());
    const QString path = droppedDataFile(event->mimeData());
    if (busy() || action == Qt::IgnoreAction || path.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    useDataFile(path);
    activateWindow();
}
