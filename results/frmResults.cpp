#include "frmResults.h"

#include "AppInfo.h"
#include "PrintablePath.h"
#include "ReportSaver.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTextDocument>

namespace {

// The user's regional decimal separator, read when it is needed.
std::string decimalSeparator() { return QLocale().decimalPoint().toStdString(); }

void fill(QLabel* field, const std::string& value) { field->setText(QString::fromStdString(value)); }

// Qt shows a tooltip that looks like markup as rich text; a path such as
// "/data/<b>x</b>.txt" must still read as it is.
QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}

}  // namespace

frmResults::frmResults(QWidget* owner) : QDialog(owner)
{
    BuildLayout();
    connect(cmdSave, &QPushButton::clicked, this, &frmResults::Save);
    // Close, Esc and the close box all go through reject(), so the window
    // closes one way only.
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

void frmResults::Load(const report::ReportInput& input)
{
    input_ = input;
    const report::ResultValues v = report::resultValues(input, decimalSeparator(), report::windowUnit);

    setWindowTitle(QString::fromUtf8(appinfo::caption));
    fill(lblFontFace, v.fontFace);
    fill(lblFontSize, v.fontSize);
    fill(lblItalic, v.italic);
    fill(lblUnderline, v.underline);
    fill(lblStrikeOut, v.strikeOut);
    fill(lblWeight, v.weight);
    fill(lblWidth, v.width);
    // A line break in a file name would otherwise show as a second line.
    fill(lblDataFile, report::printablePath(input.dataFileTitle));
    lblDataFile->setToolTip(plainToolTip(QString::fromStdString(report::printablePath(input.dataFilePath))));
    fill(lblMin, v.minimum);
    fill(lblMax, v.maximum);
    fill(lblAvg, v.average);
    fill(lblStdDev, v.stdDeviation);
    QLabel* const lines[] = {lbl50, lbl60, lbl70, lbl80, lbl90, lbl95, lbl99};
    for (std::size_t i = 0; i < v.fitLines.size(); ++i)
        fill(lines[i], v.fitLines[i]);
}

void frmResults::showEvent(QShowEvent* event)
{
    // Every showing starts on Save, wherever the focus was left last time.
    cmdSave->setFocus(Qt::ActiveWindowFocusReason);
    QDialog::showEvent(event);
}

void frmResults::Save() { results::SaveReport(this, input_, decimalSeparator()); }
