#pragma once
// The results window: what was measured and the statistics, with Save and
// Close, and to their right the distribution: a histogram, or in its place
// the Sizes view, the measured fits beside the estimated ones, and the
// widest lines. Copy puts it all on
// the clipboard. Shown modally over the main window after each calculation;
// it can be made larger than designed, and remembers its size. When every
// column of a CSV or TSV file was measured, a table of them stands below,
// and the rest shows the column chosen in it.

#include "ColumnRows.h"
#include "ReportWriter.h"

#include <QDialog>

#include <array>
#include <vector>

class ColumnTablePanel;
class DistributionChart;
class ElidedLabel;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabBar;
class SizesPanel;

class frmResults : public QDialog {
    Q_OBJECT
public:
    explicit frmResults(QWidget* owner);

    // Fills every value afresh from the calculation's selections, data file
    // and statistics.
    void Load(const report::ReportInput& input);
    // Every column measured: a row for each, columns[i] the report of
    // rows[i]; the first is shown.
    void LoadColumns(std::vector<report::ReportInput> columns, std::vector<report::ColumnRow> rows);

    // The size the window opens at: the last one it was closed at, or one
    // wide enough for the panel, kept within the screen.
    QSize openingSize() const;
    // The client area the screen leaves room for, the frame taken off.
    QSize roomOnScreen() const;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    // Builds the distribution panel right of the designed controls and
    // works out how wide it can be and would like to be.
    void BuildPanel();
    // Places the panel in the window's current size.
    void PlacePanel();
    void LoadPanel();
    void PlaceWidestColumns();
    // Shows the chart or the Sizes view in the Distribution group's place.
    void ShowTab(int index);
    // The widest lines' numbers, as words ("Line 7", "1404 pixels") or bare.
    void FillWideNumbers(bool bare);
    // Keeps the window's size and place within the screen's free area.
    void FitToScreen();
    void Save();
    void Copy();
    // Shows one column, or the one file of lines, in everything but the table.
    void Fill(const report::ReportInput& input);

    // The table of columns (frmResultsTable.cpp), made the first time
    // there are columns.
    void BuildTable();
    // Shows the table when there are columns, sized for up to `rows` of
    // them, and sizes the window to it.
    void ShowTable(int rows = 0);
    // Places the table's group in the window's height below the rest.
    void PlaceTable();
    std::vector<report::ColumnRow> ShownRows() const;  // in the order shown
    std::string TableText() const;
    void SaveTable();

    static std::string DecimalSeparator();

    report::ReportInput input_;
    QSize designed_;         // the designed client area, in pixels
    QSize smallest_;         // the designed area and the narrowest panel, the table's least below
    int measuredWidth_ = 0;  // the Measured group's width
    int panelAtLeast_ = 0;   // the panel's narrowest width, the margin included
    int panelAtFirst_ = 0;   // its width when nothing is remembered
    std::vector<report::ReportInput> columns_;  // with a table: each row's report
    int tableBelow_ = 0;                        // the height the table's group takes below, gap included

    QGroupBox* Frame3 = nullptr;  // Font Information
    QGroupBox* Frame1 = nullptr;  // General Statistics
    QGroupBox* Frame2 = nullptr;  // Confidence Intervals

    ElidedLabel* lblFontFace = nullptr;
    QLabel* lblFontSize = nullptr;
    QLabel* lblItalic = nullptr;
    QLabel* lblUnderline = nullptr;
    QLabel* lblStrikeOut = nullptr;
    QLabel* lblWeight = nullptr;
    QLabel* lblWidth = nullptr;
    ElidedLabel* lblDataFile = nullptr;

    QLabel* lblMin = nullptr;
    QLabel* lblMax = nullptr;
    QLabel* lblAvg = nullptr;
    QLabel* lblStdDev = nullptr;

    QLabel* lbl50 = nullptr;
    QLabel* lbl60 = nullptr;
    QLabel* lbl70 = nullptr;
    QLabel* lbl80 = nullptr;
    QLabel* lbl90 = nullptr;
    QLabel* lbl95 = nullptr;
    QLabel* lbl99 = nullptr;

    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdSaveTable = nullptr;

    QGroupBox* fraColumns = nullptr;
    ColumnTablePanel* tblColumns = nullptr;

    // The distribution panel.
    QGroupBox* fraDistribution = nullptr;
    QGroupBox* fraMeasured = nullptr;
    QGroupBox* fraWidest = nullptr;
    DistributionChart* chrDistribution = nullptr;
    QTabBar* tabDistribution = nullptr;  // the chart, or the Sizes view
    SizesPanel* pnlSizes = nullptr;
    ElidedLabel* lblLineCount = nullptr;
    ElidedLabel* lblBinWidth = nullptr;
    ElidedLabel* lblResolution = nullptr;
    std::array<ElidedLabel*, 7> lblExact{};  // beside lbl50..lbl99, row for row
    struct WideRow {
        QLabel* line = nullptr;
        QLabel* width = nullptr;
        ElidedLabel* text = nullptr;
    };
    std::array<WideRow, 10> wideRows{};
};
