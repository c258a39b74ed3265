#pragma once
// The Sizes view of the results window: the font as measured in the
// listed sizes round the chosen one, a row each (size, longest, measured
// 95% and 99%, estimated 99%), and the largest size whose measured 99%
// fits a width typed in the Fit within box. Measured on a thread of its
// own, from the first time the view is opened, with progress and Cancel.

#include "SizeRows.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class BackgroundJob;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

class SizesPanel : public QWidget {
    Q_OBJECT
public:
    explicit SizesPanel(QWidget* parent = nullptr);
    ~SizesPanel() override;

    // The font and data to answer for; nothing is measured until open().
    // A change stops what was being measured for the previous one.
    void setSource(const report::SizesSource& source);
    // The view is in sight: its rows are measured the first time.
    void open();
    bool busy() const;
    // Stops what is being measured, waiting for it; the view says so.
    void cancel();

    // The Fit within box, for the keyboard's Enter or a test.
    QLineEdit* fitWithinBox() const { return txtFitWithin_; }
    void applyFitWithin();

    QTableWidget* table() const { return table_; }
    // The rows shown: the measured sizes, and the answer's when outside them.
    const std::vector<report::SizeRow>& rows() const { return shown_; }
    // The row of the size within the width, when there is one.
    std::optional<std::size_t> highlightedRow() const { return highlighted_; }
    QString answer() const;
    QString status() const;

    // The height that shows every row without scrolling.
    int heightWanted() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class State { Idle, MeasuringRows, Searching, Ready, Stopped };

    void startRows();
    void startSearch(std::int64_t within);
    void rowsMeasured();
    void searchEnded();
    void showProgress();
    void resetRows();  // the measured rows, nothing highlighted
    void showRows();
    void say(const QString& status);
    void setBusy(bool busy);

    report::SizesSource source_;
    State state_ = State::Idle;
    std::vector<int> sizes_;                 // the sizes of the measured rows
    std::vector<report::SizeRow> measured_;  // one a size
    std::vector<report::SizeRow> shown_;     // and the answer's, in order of size
    std::optional<std::size_t> highlighted_;
    std::optional<std::int64_t> pending_;  // a width asked for while the rows were measured
    std::int64_t searching_ = 0;
    // What the thread hands back, read once it has ended.
    std::shared_ptr<engine::CalculationResult> rowsResult_;
    std::shared_ptr<report::FitWithin> searchResult_;

    BackgroundJob* job_;
    QTableWidget* table_;
    QLineEdit* txtFitWithin_;
    QLabel* lblAnswer_;
    QLabel* lblStatus_;
    QProgressBar* progress_;
    QPushButton* cmdCancel_;
};
