#pragma once
// The results window: what was measured and the statistics, with Save and
// Close. Shown modally over the main window after each calculation.

#include "ReportWriter.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

class frmResults : public QDialog {
    Q_OBJECT
public:
    explicit frmResults(QWidget* owner);

    // Fills every value afresh from the calculation's selections, data file
    // and statistics.
    void Load(const report::ReportInput& input);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void Save();

    report::ReportInput input_;

    QGroupBox* Frame3 = nullptr;  // Font Information
    QGroupBox* Frame1 = nullptr;  // General Statistics
    QGroupBox* Frame2 = nullptr;  // Confidence Intervals

    QLabel* lblFontFace = nullptr;
    QLabel* lblFontSize = nullptr;
    QLabel* lblItalic = nullptr;
    QLabel* lblUnderline = nullptr;
    QLabel* lblStrikeOut = nullptr;
    QLabel* lblWeight = nullptr;
    QLabel* lblWidth = nullptr;
    QLabel* lblDataFile = nullptr;

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
};
