#include "frmResults.h"

#include "AppInfo.h"
#include "CopiedText.h"
#include "ElidedLabel.h"
#include "PrintablePath.h"
#include "ReportSaver.h"
#include "SizesPanel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>

namespace {

void fill(QLabel* field, const std::string& value) { field->setText(QString::fromStdString(value)); }

}  // namespace

frmResults::frmResults(QWidget* owner) : QDialog(owner)
{
    BuildLayout();
    connect(cmdSave, &QPushButton::clicked, this, &frmResults::Save);
    // Close, Esc and the close box all go through reject(), so the window
    // closes one way only.
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdCopy, &QPushButton::clicked, this, &frmResults::Copy);
    // Ctrl+S and Ctrl+C besides the buttons' own Alt+S and Alt+O.
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, &frmResults::Save);
    connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this, &frmResults::Copy);
}

// The user's regional decimal separator, read when it is needed.
std::string frmResults::DecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

void frmResults::Load(const report::ReportInput& input)
{
    columns_.clear();
    ShowTable();
    ShowTab(0);  // each showing opens on the chart; the Sizes view waits to be opened
    Fill(input);
}

void frmResults::Fill(const report::ReportInput& input)
{
    input_ = input;
    const report::ResultValues v = report::resultValues(input, DecimalSeparator(), report::windowUnit);

    setWindowTitle(QString::fromUtf8(appinfo::caption));
    lblFontFace->setFullText(QString::fromStdString(v.fontFace));
    fill(lblFontSize, v.fontSize);
    fill(lblItalic, v.italic);
    fill(lblUnderline, v.underline);
    fill(lblStrikeOut, v.strikeOut);
    fill(lblWeight, v.weight);
    fill(lblWidth, v.width);
    // The name, elided if need be; the tooltip always has the whole path. A
    // line break in a file name would otherwise show as a second line. A
    // column of a CSV or TSV file is named after it, as in the report, and
    // stays in view: the name is elided before it.
    const QString column = QString::fromStdString(report::columnSuffix(input));
    lblDataFile->setFullText(QString::fromStdString(report::printablePath(input.dataFileTitle)) + column,
                             QString::fromStdString(report::printablePath(input.dataFilePath)) + column, column);
    fill(lblMin, v.minimum);
    fill(lblMax, v.maximum);
    fill(lblAvg, v.average);
    fill(lblStdDev, v.stdDeviation);
    QLabel* const lines[] = {lbl50, lbl60, lbl70, lbl80, lbl90, lbl95, lbl99};
    for (std::size_t i = 0; i < v.fitLines.size(); ++i)
        fill(lines[i], v.fitLines[i]);
    LoadPanel();
    pnlSizes->setSource(input.sizes);
}

void frmResults::showEvent(QShowEvent* event)
{
    // Every showing starts on Save, wherever the focus was left last time.
    cmdSave->setFocus(Qt::ActiveWindowFocusReason);
    FitToScreen();
    QDialog::showEvent(event);
}

void frmResults::keyPressEvent(QKeyEvent* event)
{
    // Esc stops the Sizes view's measuring first, and closes the window after.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && pnlSizes->busy()) {
        pnlSizes->cancel();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmResults::Save() { results::SaveReport(this, input_, DecimalSeparator()); }

void frmResults::Copy()
{
    // With a table, the table: it pastes into a spreadsheet as cells.
    const std::string text = columns_.empty() ? report::copiedText(input_, DecimalSeparator()) : TableText();
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}
