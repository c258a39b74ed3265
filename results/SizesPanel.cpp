#include "SizesPanel.h"

#include "BackgroundJob.h"
#include "FitWithinText.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

const QString chosenMark = QStringLiteral("\u25B6");

}  // namespace

SizesPanel::SizesPanel(QWidget* parent)
    : QWidget(parent),
      job_(new BackgroundJob(this)),
      table_(new QTableWidget(this)),
      txtFitWithin_(new QLineEdit(this)),
      lblAnswer_(new QLabel(this)),
      lblStatus_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      cmdCancel_(new QPushButton(tr("Cancel"), this))
{
    table_->setObjectName(QStringLiteral("tblSizes"));
    table_->setColumnCount(static_cast<int>(report::sizeHeadings.size()));
    QStringList headings;
    for (const std::string_view heading : report::sizeHeadings)
        headings << QString::fromUtf8(heading.data(), static_cast<qsizetype>(heading.size()));
    table_->setHorizontalHeaderLabels(headings);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setHighlightSections(false);
    // The chosen size is marked in the row's heading, the others have none.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setWordWrap(false);
    // As wide as its columns; the sentence beside it takes the rest.
    table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* within = new QLabel(tr("Fit &within"), this);
    within->setBuddy(txtFitWithin_);
    auto* pixels = new QLabel(tr("pixels"), this);
    for (QLabel* label : {within, pixels})
        label->setTextFormat(Qt::PlainText);
    // Only the box is typed into; the table is looked at, and scrolls with the wheel.
    table_->setFocusPolicy(Qt::NoFocus);
    txtFitWithin_->setObjectName(QStringLiteral("txtFitWithin"));
    txtFitWithin_->setValidator(new QIntValidator(0, INT_MAX, txtFitWithin_));
    txtFitWithin_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    txtFitWithin_->setToolTip(tr("A width in whole pixels; Enter finds the largest size whose measured 99% fits in it"));
    txtFitWithin_->installEventFilter(this);
    lblAnswer_->setObjectName(QStringLiteral("lblFitWithin"));
    lblStatus_->setObjectName(QStringLiteral("lblSizesStatus"));
    for (QLabel* label : {lblAnswer_, lblStatus_}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    progress_->setObjectName(QStringLiteral("prgSizes"));
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(fontMetrics().height());
    cmdCancel_->setObjectName(QStringLiteral("cmdSizesCancel"));

    auto* box = new QHBoxLayout;
    box->addWidget(within);
    box->addWidget(txtFitWithin_);
    box->addWidget(pixels);
    box->addStretch();
    auto* side = new QVBoxLayout;
    side->setContentsMargins(0, 0, 0, 0);
    side->addLayout(box);
    side->addWidget(lblAnswer_);
    side->addStretch();
    side->addWidget(lblStatus_);
    side->addWidget(progress_);
    side->addWidget(cmdCancel_, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);
    layout->addLayout(side, 1);

    connect(job_, &BackgroundJob::progressed, this, &SizesPanel::showProgress);
    connect(job_, &BackgroundJob::finished, this, [this] {
        setBusy(false);
        if (state_ == State::MeasuringRows)
            rowsMeasured();
        else if (state_ == State::Searching)
            searchEnded();
    });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] {
        if (busy())
            cancel();
        else
            startRows();  // measure again after a cancel
    });
    setBusy(false);
    cmdCancel_->hide();
}

SizesPanel::~SizesPanel() = default;

void SizesPanel::setSource(const report::SizesSource& source)
{
    job_->cancel();
    source_ = source;
    state_ = State::Idle;
    sizes_.clear();
    measured_.clear();
    pending_.reset();
    lblAnswer_->clear();
    say({});
    cmdCancel_->hide();
    resetRows();
    if (isVisible())
        open();
}

void SizesPanel::open()
{
    if (state_ == State::Idle)
        startRows();
}

bool SizesPanel::busy() const { return job_->running(); }

void SizesPanel::cancel() { job_->cancel(); }

QString SizesPanel::answer() const { return lblAnswer_->text(); }

QString SizesPanel::status() const { return lblStatus_->text(); }

void SizesPanel::say(const QString& status)
{
    lblStatus_->setText(status);
    lblStatus_->setVisible(!status.isEmpty());
}

void SizesPanel::setBusy(bool busy)
{
    progress_->setVisible(busy);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    cmdCancel_->setText(busy ? tr("Cancel") : tr("&Measure"));
    cmdCancel_->setVisible(busy);
}

void SizesPanel::startRows()
{
    state_ = State::Stopped;
    if (const std::string refusal = report::notMeasurableAgain(source_); !refusal.empty()) {
        say(text(refusal));
        return;
    }
    state_ = State::MeasuringRows;
    sizes_ = report::neighbouringSizes(source_.chosenSize());
    say(tr("Measuring sizes %1 to %2\u2026").arg(sizes_.front()).arg(sizes_.back()));
    rowsResult_ = std::make_shared<engine::CalculationResult>();
    const engine::CalculationRequest request = report::sizesRequest(source_, sizes_);
    setBusy(true);
    job_->start([request, out = rowsResult_](const engine::ProgressHook& progress) {
        engine::CalculationRequest measuring = request;
        measuring.options.progress = progress;
        *out = engine::measureCalculation(measuring);
    });
}

void SizesPanel::rowsMeasured()
{
    const engine::CalculationResult& result = *rowsResult_;
    if (result.outcome != engine::Outcome::Done) {
        state_ = State::Stopped;
        const std::string problem = report::sizesProblem(source_, result.outcome, result.reason);
        say(problem.empty() ? tr("Cancelled.") : text(problem));
        cmdCancel_->setVisible(problem.empty());  // Measure, to start again
        pending_.reset();
        return;
    }
    measured_ = report::sizeRows(result, sizes_);
    rowsResult_.reset();  // the rows are all that is kept of it
    state_ = State::Ready;
    say({});
    resetRows();
    if (pending_) {
        const std::int64_t within = *pending_;
        pending_.reset();
        startSearch(within);
    }
}

void SizesPanel::applyFitWithin()
{
    if (txtFitWithin_->text().isEmpty()) {
        if (state_ == State::Searching)
            job_->cancel();
        pending_.reset();
        lblAnswer_->clear();
        say({});
        resetRows();
        return;
    }
    const std::int64_t within = txtFitWithin_->text().toLongLong();
    switch (state_) {
    case State::Idle:
    case State::Stopped:  // again, after a cancel; or said again why not
        pending_ = within;
        startRows();
        break;
    case State::MeasuringRows:
        pending_ = within;
        break;
    case State::Searching:
    case State::Ready:
        startSearch(within);
        break;
    }
}

void SizesPanel::startSearch(std::int64_t within)
{
    job_->cancel();  // a search for another width
    if (const std::string refusal = report::notMeasurableAgain(source_); !refusal.empty()) {
        lblAnswer_->clear();
        resetRows();
        say(text(refusal));
        return;
    }
    state_ = State::Searching;
    searching_ = within;
    lblAnswer_->clear();
    resetRows();
    say(tr("Looking for the largest size within %1 pixels\u2026").arg(within));
    searchResult_ = std::make_shared<report::FitWithin>();
    setBusy(true);
    job_->start([source = source_, within, out = searchResult_](const engine::ProgressHook& progress) {
        *out = report::searchFitWithin(source, within, progress);
    });
}

void SizesPanel::searchEnded()
{
    state_ = State::Ready;
    const report::FitWithin& found = *searchResult_;
    if (found.outcome != engine::Outcome::Done) {
        const std::string problem = report::sizesProblem(source_, found.outcome, found.reason);
        say(problem.empty() ? tr("Cancelled.") : text(problem));
        return;
    }
    say({});
    lblAnswer_->setText(
        text(report::fitWithinSentence(source_.selections.faceText, found.answer, report::fitWithinShare, searching_)) +
        QStringLiteral("."));
    shown_ = measured_;
    highlighted_.reset();
    if (found.answer.fits) {
        const auto stats = found.statistics.find(found.answer.fits->points);
        if (stats != found.statistics.end())
            highlighted_ = report::rowFor(shown_, found.answer.fits->points, stats->second);
    }
    showRows();
}

void SizesPanel::showProgress()
{
    const std::uint64_t total = job_->bytesTotal();
    if (total == 0) {
        progress_->setRange(0, 0);
        return;
    }
    progress_->setRange(0, 100);
    progress_->setValue(static_cast<int>(std::min(job_->bytesDone(), total) * 100 / total));
}

void SizesPanel::resetRows()
{
    shown_ = measured_;
    highlighted_.reset();
    showRows();
}

void SizesPanel::showRows()
{
    table_->setRowCount(static_cast<int>(shown_.size()));
    const int chosen = source_.chosenSize();
    for (std::size_t r = 0; r < shown_.size(); ++r) {
        const int row = static_cast<int>(r);
        const std::array<std::string, 5> cells = report::rowCells(shown_[r]);
        const bool isChosen = shown_[r].points == chosen;
        const bool outside = std::find(sizes_.begin(), sizes_.end(), shown_[r].points) == sizes_.end();
        auto* mark = new QTableWidgetItem(isChosen ? chosenMark : QString());
        mark->setToolTip(isChosen ? tr("The size measured") : QString());
        table_->setVerticalHeaderItem(row, mark);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(text(cells[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            QFont font = table_->font();
            font.setBold(isChosen);
            font.setItalic(outside);
            item->setFont(font);
            if (highlighted_ == r) {
                item->setBackground(palette().highlight());
                item->setForeground(palette().highlightedText());
            }
            if (outside)
                item->setToolTip(tr("The largest size within the width, beyond the sizes round the one measured"));
            table_->setItem(row, static_cast<int>(c), item);
        }
    }
    if (highlighted_) {
        // Laid out for its new row first, or the scroll falls short.
        table_->doItemsLayout();
        table_->scrollToItem(table_->item(static_cast<int>(*highlighted_), 0));
    }
}

int SizesPanel::heightWanted() const
{
    const int rows = std::max<int>(static_cast<int>(report::neighbouringSizes(source_.chosenSize()).size()) + 1, 10);
    return table_->horizontalHeader()->sizeHint().height() + rows * table_->verticalHeader()->defaultSectionSize() +
           2 * table_->frameWidth();
}

bool SizesPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Enter applies the width here, rather than pressing the window's Save.
    if (watched == txtFitWithin_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            applyFitWithin();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
