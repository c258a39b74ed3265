// The main window's commands: Open, Calculate, Help and Exit.

#include "frmMain.h"

#include "AppInfo.h"
#include "CalculateWidth.h"
#include "CurrentFont.h"
#include "Dialogs.h"
#include "OpenFilterSetting.h"
#include "PreviewBox.h"
#include "RememberedSelections.h"
#include "ReportWriter.h"
#include "frmResults.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>

namespace {

QString applicationTitle() { return QString::fromUtf8(appinfo::title); }

// The open dialog's filters: every file, text files, HTML files.
const char* const openFilterText =
    "All Files (*.*)|*.*|Text Files"
    "(*.txt)|*.txt|HTML Files (*.html;*.htm)|*.html;*.htm";

constexpr qint64 progressDelayMs = 500;

}  // namespace

void frmMain::Open()
{
    platform::OpenFileRequest request;
    request.filters = platform::parseFilterText(QString::fromLatin1(openFilterText));
    request.selectedFilter = readOpenFilterIndex(applicationTitle());
    request.fileName = dataFilePath_;
    request.folder = readDataFolder(applicationTitle());

    const platform::OpenFileAnswer answer = platform::dialogs().openFile(this, request);
    if (!answer.accepted)
        return;  // cancelled: nothing changes

    // The chosen file is taken even if the filter could not be remembered.
    writeOpenFilterIndex(applicationTitle(), answer.selectedFilter);
    useDataFile(answer.path);
}

void frmMain::Calculate()
{
    DisableInputs();
    CalculateWidth();
    if (!exiting_)
        EnableInputs();
}

bool frmMain::calculationProgress(const engine::Progress& progress)
{
    // The window keeps painting and its close box keeps working.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (exiting_)
        return false;
    if (calculationClock_.elapsed() >= progressDelayMs) {
        const double share =
            progress.bytesTotal > 0 ? static_cast<double>(progress.bytesDone) / progress.bytesTotal : 1.0;
        picText->showProgress(static_cast<int>(((progress.pass - 1) + share) * 50.0));
    }
    return true;
}

void frmMain::CalculateWidth()
{
    engine::CalculationRequest request;
    request.dataFileTitle = lblFile->text().toStdString();  // empty: no data file chosen yet
    request.dataFilePath = dataFilePath_.toStdString();
    request.widthContext = &picText->dc();
    request.progress = [this](const engine::Progress& progress) { return calculationProgress(progress); };

    calculationClock_.start();
    const engine::CalculationResult result = engine::CalculateWidth(request);
    picText->showProgress(-1);
    if (exiting_)
        return;

    if (result.outcome == engine::Outcome::Done) {
        showResults();
    } else if (!result.message.empty()) {
        platform::dialogs().message(this, applicationTitle(), QString::fromStdString(result.message),
                                    result.icon == engine::MessageIcon::Critical ? platform::MessageIcon::Critical
                                                                                 : platform::MessageIcon::None);
    }
}

void frmMain::showResults()
{
    const report::ReportInput input{selections(), dataFileTitle_.toStdString(), dataFilePath_.toStdString(),
                                    engine::WidthStatistics};
    if (!results_)
        results_ = new frmResults(this);
    results_->Load(input);
    results_->exec();
}

void frmMain::Help()
{
    platform::dialogs().showHelp(this, QCoreApplication::applicationDirPath() + QStringLiteral("/Spanwick Help.hlp"));
}

void frmMain::Exit()
{
    // Safe to run again from the window's own closing: the font is 0 by
    // then and a closing window ignores a second close.
    if (!exiting_)
        rememberOnExit();
    engine::releaseCurrentFont();
    exiting_ = true;
    if (results_)
        results_->close();
    close();
    QCoreApplication::quit();
}
