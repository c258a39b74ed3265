// The table of columns below the designed controls and the distribution
// panel, when every column of a CSV or TSV file was measured: a row for
// each column, and Save Table… below it. Choosing a row shows that column
// everywhere else in the window.

#include "frmResults.h"

#include "ColumnTablePanel.h"
#include "Dialogs.h"
#include "ReportSaver.h"
#include "Twips.h"

#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>

#include <algorithm>
#include <limits>

namespace {

// In twips, spaced as the designed groups are.
constexpr double groupLeft = 120, groupGap = 105, windowEdge = 120;
constexpr double inset = 120, titleRoom = 240, buttonGap = 90;
constexpr double buttonWidth = 975, buttonHeight = 375;  // as the designed buttons
// The rows shown before the table scrolls, and at least, screen allowing.
constexpr int rowsAtMost = 12, rowsAtLeast = 4;

}  // namespace

void frmResults::BuildTable()
{
    const int dpi = logicalDpiY();
    fraColumns = new QGroupBox(tr("Columns"), this);
    fraColumns->setObjectName(QStringLiteral("fraColumns"));
    tblColumns = new ColumnTablePanel(fraColumns);
    tblColumns->setObjectName(QStringLiteral("pnlColumns"));
    fraColumns->hide();

    // Below the table, at its right; Alt+T is free.
    cmdSaveTable = new QPushButton(tr("Save &Table\u2026"), fraColumns);
    cmdSaveTable->setObjectName(QStringLiteral("cmdSaveTable"));
    cmdSaveTable->resize(std::max(platform::twipsToPixels(buttonWidth, dpi), cmdSaveTable->sizeHint().width()),
                         platform::twipsToPixels(buttonHeight, dpi));
    setTabOrder(cmdCopy, tblColumns->view());
    setTabOrder(tblColumns->view(), cmdSaveTable);

    connect(cmdSaveTable, &QPushButton::clicked, this, &frmResults::SaveTable);
    connect(tblColumns, &ColumnTablePanel::rowChosen, this, [this](std::size_t index) {
        if (index < columns_.size())
            Fill(columns_[index]);
    });
}

void frmResults::LoadColumns(std::vector<report::ReportInput> columns, std::vector<report::ColumnRow> rows)
{
    if (!tblColumns)
        BuildTable();  // only once there are columns: a file of lines never sees it
    columns_ = std::move(columns);
    const int count = static_cast<int>(rows.size());
    tblColumns->setRows(std::move(rows), DecimalSeparator());  // chooses the first row, which fills the rest
    PlaceTable(count);
}

void frmResults::PlaceTable(int rows)
{
    const bool shown = !columns_.empty();
    if (!fraColumns) {
        setFixedSize(withoutTable_);
        return;
    }
    fraColumns->setVisible(shown);
    if (!shown) {
        setFixedSize(withoutTable_);
        return;
    }
    const int dpi = logicalDpiY();
    const auto px = [dpi](double twips) { return platform::twipsToPixels(twips, dpi); };
    // As many rows as there are, up to a dozen; fewer where the screen is
    // short, but never so few that the table cannot be used: it scrolls.
    // The window widens for every column of the table to show, as far as
    // the screen goes; past that the table scrolls.
    const int around = px(groupLeft) + 2 * px(inset) + px(windowEdge);
    const int wanted = tblColumns->widthNeeded() + around;
    int room = std::numeric_limits<int>::max(), across = wanted;
    if (const QScreen* shownOn = screen()) {
        const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 16;
        const QSize free = shownOn->availableGeometry().size();
        room = free.height() - frame - style()->pixelMetric(QStyle::PM_TitleBarHeight) - withoutTable_.height() -
               cmdSaveTable->height() - px(groupGap + titleRoom + buttonGap + inset + windowEdge);
        across = std::min(across, free.width() - frame);
    }
    const int windowWidth = std::max(withoutTable_.width(), across);
    const bool scrolls = windowWidth < wanted;
    const int tableHeight = std::max(tblColumns->heightFor(std::min(rows, rowsAtLeast), scrolls),
                                     std::min(tblColumns->heightFor(std::min(rows, rowsAtMost), scrolls), room));
    const int top = withoutTable_.height() - px(windowEdge) + px(groupGap);
    const int width = windowWidth - px(groupLeft) - px(windowEdge);
    const int inner = width - 2 * px(inset);
    tblColumns->setGeometry(px(inset), px(titleRoom), inner, tableHeight);
    cmdSaveTable->move(px(inset) + inner - cmdSaveTable->width(), tblColumns->geometry().bottom() + 1 + px(buttonGap));
    fraColumns->setGeometry(px(groupLeft), top, width, cmdSaveTable->geometry().bottom() + 1 + px(inset));
    setFixedSize(windowWidth, fraColumns->geometry().bottom() + 1 + px(windowEdge));
}

std::vector<report::ColumnRow> frmResults::ShownRows() const
{
    std::vector<report::ColumnRow> shown;
    for (const std::size_t index : tblColumns->shownOrder())
        shown.push_back(tblColumns->rows()[index]);
    return shown;
}

void frmResults::SaveTable()
{
    platform::SaveFileRequest request;
    request.filters = platform::parseFilterText(QStringLiteral("CSV File (*.csv)|*.csv"));
    // The report's name, as a CSV file.
    std::string name = report::proposedReportName(input_.selections.faceText, input_.selections.sizeText,
                                                  input_.dataFileTitle);
    name.replace(name.rfind(".txt"), 4, ".csv");
    request.fileName = QString::fromStdString(name);
    const platform::SaveFileAnswer answer = platform::dialogs().saveFile(this, request);
    if (!answer.accepted)
        return;
    const QByteArray csv = QByteArray::fromStdString(report::tableCsv(ShownRows()));
    const QString reason = results::writeWholeFile(answer.path, csv);
    if (!reason.isEmpty())
        results::tellNotSaved(this, QStringLiteral("table"), answer.path, reason);
}

std::string frmResults::TableText() const { return report::tableTabbed(ShownRows(), DecimalSeparator()); }
