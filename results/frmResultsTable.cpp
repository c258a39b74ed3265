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
#include <QTableView>

#include <algorithm>

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
    ShowTab(0);
    const int count = static_cast<int>(rows.size());
    tblColumns->setRows(std::move(rows), DecimalSeparator());  // chooses the first row, which fills the rest
    ShowTable(count);
}

void frmResults::ShowTable(int rows)
{
    const bool shown = fraColumns && !columns_.empty();
    const bool wasShown = tableBelow_ > 0;
    if (fraColumns)
        fraColumns->setVisible(shown);
    const QSize room = roomOnScreen();
    const QSize withoutTable(designed_.width() + panelAtLeast_, designed_.height());
    if (!shown) {
        tableBelow_ = 0;
        smallest_ = withoutTable;
        setMinimumSize(smallest_.boundedTo(room));
        if (wasShown || !isVisible())
            resize(openingSize());
        PlaceTable();
        return;
    }
    const int dpi = logicalDpiY();
    const auto px = [dpi](double twips) { return platform::twipsToPixels(twips, dpi); };
    // The group round the table, less the table itself.
    const int chrome = px(groupGap + titleRoom + buttonGap + inset) + cmdSaveTable->height();
    // At least a few rows, screen allowing, up to a dozen at first; past
    // that the table scrolls, and a taller window shows more of it. The
    // window widens for every column of the table, as far as the screen goes.
    const int wantedWidth = tblColumns->widthNeeded() + px(groupLeft) + 2 * px(inset) + px(windowEdge);
    const bool scrolls = std::min(room.width(), std::max(openingSize().width(), wantedWidth)) < wantedWidth;
    const int least = chrome + tblColumns->heightFor(std::min(rows, rowsAtLeast), scrolls);
    const int wanted = chrome + tblColumns->heightFor(std::min(rows, rowsAtMost), scrolls);
    smallest_ = QSize(withoutTable.width(), withoutTable.height() + least);
    setMinimumSize(smallest_.boundedTo(room));
    if (!wasShown || !isVisible()) {
        const QSize opening = openingSize();
        resize(QSize(std::max(opening.width(), wantedWidth), opening.height() + wanted)
                   .boundedTo(room)
                   .expandedTo(minimumSize()));
    }
    tableBelow_ = std::max(least, height() - designed_.height());
    PlaceTable();
}

void frmResults::PlaceTable()
{
    if (!fraColumns || columns_.empty())
        return;
    const int dpi = logicalDpiY();
    const auto px = [dpi](double twips) { return platform::twipsToPixels(twips, dpi); };
    // Below the designed controls and the panel, as wide as the window; a
    // taller window gives the table the height.
    tableBelow_ = std::max(0, height() - designed_.height());
    const int top = designed_.height() - px(windowEdge) + px(groupGap);
    const int width = std::max(0, this->width() - px(groupLeft) - px(windowEdge));
    const int groupHeight = std::max(0, height() - px(windowEdge) - top);
    const int inner = std::max(0, width - 2 * px(inset));
    const int tableHeight =
        std::max(0, groupHeight - px(titleRoom) - px(buttonGap) - cmdSaveTable->height() - px(inset));
    tblColumns->setGeometry(px(inset), px(titleRoom), inner, tableHeight);
    cmdSaveTable->move(px(inset) + inner - cmdSaveTable->width(), tblColumns->geometry().bottom() + 1 + px(buttonGap));
    fraColumns->setGeometry(px(groupLeft), top, width, groupHeight);
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
    // The report's name without the column's, as a CSV file.
    report::ReportInput whole = input_;
    whole.delimited = false;
    std::string name = report::proposedReportName(whole);
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
