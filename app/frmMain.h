#pragma once
// The main window: the four steps of choosing a font and a data file, the
// live preview, and the commands Open, Calculate, Help and Exit.

#include "FontSelections.h"
#include "CalculateWidth.h"
#include "Delimited.h"
#include "ElidedLabel.h"
#include "ReportWriter.h"
#include "WindowFont.h"
#include "modFontView.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class PreviewBox;
class SortedComboBox;
class frmResults;
class BackgroundCalculation;
class ElidedComboBox;

class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: shows the window, fills the lists, selects the defaults and
    // draws the preview.
    void Load();

    // The window's operations.
    void DrawFont();
    void CalculateWidth();
    void DisableInputs();
    void EnableInputs();

    // Makes path the data file, as choosing it with Open does: the step-4
    // label and its tooltip, the path Calculate uses, the remembered folder.
    void useDataFile(const QString& path);
    // A file named on the command line: taken if it is a file, otherwise
    // the window starts without one and says why in a message box.
    void openStartupFile(const QString& path);

    // The commands.
    void Open();
    void Calculate();
    void Help();
    void Exit();

    // The resize rule for a window of this outer size, in twips.
    void applyResizeRule(double outerWidth, double outerHeight);

    // The selections as the controls hold them now.
    engine::FontSelections selections() const;
    QString dataFilePath() const { return dataFilePath_; }
    QString dataFileTitle() const { return dataFileTitle_; }

    // Design geometry of a control, in twips, as it stands now.
    QRectF twipsOf(const QWidget* control) const;
    // The 22 designed inputs that DisableInputs and EnableInputs switch, in
    // order; the column controls below are switched with them.
    const std::vector<QWidget*>& inputs() const { return inputs_; }
    // How many times the preview has been drawn; for tests.
    int drawCount() const { return drawCount_; }

    // The controls, by their design names.
    QLabel* lblStep1;
    QLabel* lblStep1Label;
    SortedComboBox* cmbFont;
    QLabel* lblStep2;
    QLabel* lblStep2Label;
    QComboBox* cmbSize;
    QLabel* lblStep3;
    QLabel* lblStep3Label;
    QCheckBox* chkItalic;
    QCheckBox* chkUnderline;
    QCheckBox* chkStrikeOut;
    QLabel* lblWeight;
    QComboBox* cmbWeight;
    QLabel* lblWidth;
    QComboBox* cmbWidth;
    QLabel* lblStep4;
    QLabel* lblStep4Label;
    ElidedLabel* lblFile;
    QPushButton* cmdOpen;
    PreviewBox* picText;
    QFrame* Line1;
    QPushButton* cmdCalculate;
    QPushButton* cmdHelp;
    QPushButton* cmdExit;
    // Step 4's column of a CSV or TSV file, shown only for one.
    QLabel* lblColumn;
    ElidedComboBox* cmbColumn;
    QCheckBox* chkHeader;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void place(QWidget* control, const QRectF& twips);
    void chooseFonts();
    void connectSelections();
    void setTabOrder();
    void setMinimumClientSize();
    void installShortcuts();
    void selectRememberedFont();
    void rememberFont() const;
    bool restoreRememberedGeometry();
    void rememberOnExit() const;
    bool busy() const;
    void showResults(const engine::CalculationResult& result);
    void showCalculationProgress();
    void cancelCalculation();
    void publishResults(const engine::CalculationResult& result);
    report::SizesSource sizesSource(const engine::TargetResult& target) const;

    // The column controls (frmMainColumn.cpp).
    void buildColumnControls();
    QList<platform::Caption> columnCaptions() const;
    void showColumnsOf(const QString& path);
    // Makes room in step 4 for the column rows, or gives it back.
    void showColumnRows(bool shown);
    void fillColumnList(int position);
    void rememberColumn(int position) const;
    // The format Calculate reads the data file in; nothing for plain text.
    std::optional<engine::DelimitedFormat> delimitedFormat() const;

    int dpi() const;
    double outerWidthTwips() const;
    double outerHeightTwips() const;

    std::vector<QWidget*> inputs_;
    std::vector<QWidget*> columnInputs_;
    std::vector<std::string> firstRecord_;  // a CSV or TSV file's first record, as the list shows it
    std::vector<std::pair<QWidget*, QRectF>> design_;  // current geometry in twips
    LOGFONTA logFont_{};                               // the window's own font description
    QString dataFilePath_;                             // the open dialog's full path
    QString dataFileTitle_;                            // and its file name
    QPointer<frmResults> results_;
    QElapsedTimer calculationClock_;
    std::unique_ptr<BackgroundCalculation> calculation_;  // while Calculate runs
    double belowStep4Shift_ = 0;  // twips the line and buttons stand lower, for the column rows
    bool exiting_ = false;
    int drawCount_ = 0;
};
