// The main window's commands: Open, Calculate, Help and Exit.

#include "frmMain.h"

#include "AppInfo.h"
#include "BackgroundCalculation.h"
#include "CalculateWidth.h"
#include "ChosenFace.h"
#include "ColumnNames.h"
#include "ColumnRows.h"
#include "CurrentFont.h"
#include "Dialogs.h"
#include "ElidedComboBox.h"
#include "JsonOutput.h"
#include "OpenFilterSetting.h"
#include "PreviewBox.h"
#include "RememberedSelections.h"
#include "ReportWriter.h"
#include "UserMessages.h"
#include "frmResults.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace {

QString applicationTitle() { return QString::fromUtf8(appinfo::title); }

// The open dialog's filters: every file, text files, HTML files, and CSV
// and TSV files last, so a remembered position keeps its meaning.
const char* const openFilterText =
    "All Files (*.*)|*.*|Text Files"
    "(*.txt)|*.txt|HTML Files (*.html;*.htm)|*.html;*.htm"
    "|CSV and TSV Files (*.csv;*.tsv)|*.csv;*.tsv";

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

void frmMain::showCalculationProgress()
{
    if (!calculation_ || calculationClock_.elapsed() < progressDelayMs)
        return;
    const std::uint64_t total = calculation_->bytesTotal();
    if (total == 0) {
        picText->showProgress(PreviewBox::unknownProgress);  // a stream: no end known
        return;
    }
    const std::uint64_t done = std::min(calculation_->bytesDone(), total);
    picText->showProgress(static_cast<int>(done * 100 / total));
}

void frmMain::CalculateWidth()
{
    engine::CalculationRequest request;
    request.dataFileChosen = !dataFilePath_.isEmpty();
    request.dataFileTitle = dataFileTitle_.toStdString();
    request.data.path = QFile::encodeName(dataFilePath_).toStdString();
    request.fonts = {logFont_};
    const std::optional<engine::DelimitedFormat> format = delimitedFormat();
    request.options.delimited = format;

    // Measured on a thread of its own: the window keeps painting and its
    // close box keeps working, while its inputs stay disabled.
    calculationClock_.start();
    calculation_ = std::make_unique<BackgroundCalculation>(std::move(request));
    calculation_->wait([this] { showCalculationProgress(); });
    const engine::CalculationResult result = calculation_->takeResult();
    calculation_.reset();
    picText->showProgress(-1);
    if (exiting_)
        return;

    publishResults(result);
    if (result.outcome == engine::Outcome::Done) {
        showResults(result);
        return;
    }
    const report::UserMessage message = report::calculationMessage(
        result.outcome, {dataFileTitle_.toStdString(), dataFilePath_.toStdString(), result.reason,
                         result.unclosedQuoteLine, cmbColumn->currentText().toStdString()});
    if (!message.text.empty())
        platform::dialogs().message(this, applicationTitle(), QString::fromStdString(message.text),
                                    message.critical ? platform::MessageIcon::Critical : platform::MessageIcon::None);
}

void frmMain::publishResults(const engine::CalculationResult& result)
{
    // The one place the shared record is written, as a whole.
    if (result.outcome == engine::Outcome::Done) {
        engine::WidthStatistics =
            engine::statisticsRecord(result.targets.front().statistics, engine::WidthStatistics.ReportPath);
    } else if (result.outcome == engine::Outcome::EmptyFile) {
        // An empty file has reset the extremes by the time it is found empty.
        engine::WidthStatistics.MinWidth = -1;
        engine::WidthStatistics.MaxWidth = -1;
    }
}

void frmMain::showResults(const engine::CalculationResult& result)
{
    // A column's caption as the measurement read the header, should the
    // file have changed since the list was filled. Saved as JSON, exactly
    // what the tool writes for the same file, font and resolution.
    const auto reportOf = [&](const engine::TargetResult& target) {
        const tool::FormatRecord format =
            result.delimited ? tool::formatRecord(result.layout, target.caption) : tool::FormatRecord{};
        std::string json = tool::resultJson(
            {target.measurement, target.statistics, tool::chosenFaceName(engine::CurrentFont), format, dpi()});
        return report::ReportInput{selections(),
                                   dataFileTitle_.toStdString(),
                                   dataFilePath_.toStdString(),
                                   target.statistics,
                                   {target.measurement.widths, target.measurement.widest, dpi(), std::move(json)},
                                   result.delimited,
                                   target.caption,
                                   sizesSource(target)};
    };
    if (!results_)
        results_ = new frmResults(this);
    // Several columns: a table of them, sized with the header in the same font.
    std::optional<report::ColumnTable> table;
    if (result.targets.size() > 1)
        table = report::columnTable(result, logFont_, logFont_);
    if (table) {
        std::vector<report::ReportInput> columns;
        for (const engine::TargetResult& target : result.targets)
            columns.push_back(reportOf(target));
        results_->LoadColumns(std::move(columns), std::move(table->rows));
    } else {
        results_->Load(reportOf(result.targets.front()));
    }
    results_->exec();
}

report::SizesSource frmMain::sizesSource(const engine::TargetResult& target) const
{
    // The same data, column and font as measured, for the results window's
    // Sizes view to measure again in other sizes.
    report::SizesSource source;
    source.data.path = QFile::encodeName(dataFilePath_).toStdString();
    source.dataFileTitle = dataFileTitle_.toStdString();
    source.delimited = delimitedFormat();
    if (source.delimited) {
        source.delimited->allColumns = false;
        source.delimited->columns = {engine::ColumnChoice::byNumber(target.column)};
    }
    source.selections = selections();
    source.logPixelsY = GetDeviceCaps(GetScreenDC(), LOGPIXELSY);
    source.stamp = engine::fileStamp(source.data);
    return source;
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
    engine::CurrentFont.release();
    exiting_ = true;
    if (calculation_)
        calculation_->cancel();
    if (results_)
        results_->close();
    close();
    QCoreApplication::quit();
}
