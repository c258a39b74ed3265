#pragma once
// The results window's histogram of line widths. The measured fits are
// marked on the width axis with solid lines and the estimated ones (average
// plus a multiple of the standard deviation) with dashed ones, so where the
// estimate and the data part ways shows at a glance; their shares are
// written above, the measured ones in the upper row. Painted by hand: a few
// rectangles and lines need no chart library.

#include "HistogramBins.h"
#include "MarkLabels.h"

#include <QWidget>

#include <array>
#include <vector>
#include <cstdint>

class DistributionChart : public QWidget {
    Q_OBJECT
public:
    // The fits marked, as indices into engine::fitShares: 50, 90, 95, 99%.
    static constexpr std::array<std::size_t, 4> markedFits{0, 4, 5, 6};

    explicit DistributionChart(QWidget* parent = nullptr);

    // Estimated fits are marked where the window shows them: rounded to whole pixels.
    void setData(const engine::WidthDistribution& widths, const std::array<std::int64_t, 7>& exactFits,
                 const std::array<double, 7>& estimatedFits);

    const report::Histogram& histogram() const { return histogram_; }

    // Where things are drawn, in the widget's own coordinates.
    QRectF plotArea() const;
    QRectF barRect(std::size_t bin) const;
    double markX(std::size_t fit, bool exact) const;  // fit: an index into engine::fitShares
    // A bar's widths and line count for a point over its column; empty elsewhere.
    QString toolTipAt(QPoint point) const;
    // The labels over the measured or the estimated marks, left to right.
    std::vector<report::MarkLabel> markLabels(bool exact) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct LegendItem {
        QString text;  // elided if need be
        double x = 0;
        int row = 0;
    };
    std::vector<LegendItem> legend() const;
    // Rows of text above the bars: the legend's and the two of mark labels.
    int rowsAbove() const;
    double xOf(double width) const;
    report::CountAxis countAxis() const;
    int leftMargin() const;

    report::Histogram histogram_;
    std::array<std::int64_t, 7> exact_{};
    std::array<std::int64_t, 7> estimated_{};
};
