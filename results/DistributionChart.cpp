#include "DistributionChart.h"

#include "AbbreviatedNumber.h"
#include "WidthStatistics.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QColor barFill(150, 182, 218);
const QColor barEdge(92, 126, 168);
const QColor exactColour(20, 20, 20);
const QColor estimatedColour(214, 96, 0);
const QColor gridColour(0, 0, 0, 28);

// A fit as the window prints it, whole pixels, kept inside int64.
std::int64_t roundedWidth(double value)
{
    if (!std::isfinite(value))
        return 0;
    constexpr double limit = 9.2e18;
    return static_cast<std::int64_t>(std::round(std::clamp(value, -limit, limit)));
}

// Room between two labels of one row.
constexpr double labelGap = 4;

}  // namespace

DistributionChart::DistributionChart(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void DistributionChart::setData(const engine::WidthDistribution& widths, const std::array<std::int64_t, 7>& exactFits,
                                const std::array<double, 7>& estimatedFits)
{
    exact_ = exactFits;
    for (std::size_t i = 0; i < estimated_.size(); ++i)
        estimated_[i] = roundedWidth(estimatedFits[i]);
    std::vector<std::int64_t> marks;
    for (const std::size_t fit : markedFits)
        marks.insert(marks.end(), {exact_[fit], estimated_[fit]});
    histogram_ = widths.empty() ? report::Histogram() : report::histogramOf(widths, marks);
    update();
}

std::vector<DistributionChart::LegendItem> DistributionChart::legend() const
{
    // Left to right from the chart's left edge (the plot's depends on the
    // count axis, which depends on how many rows this takes), on as many
    // rows as the chart's width needs; a text too long for a row of its
    // own is elided.
    static const QString texts[] = {QStringLiteral("lines"), QStringLiteral("measured fit"),
                                    QStringLiteral("estimated fit, if the widths were normally distributed")};
    const QFontMetrics metrics = fontMetrics();
    const double swatch = metrics.height() * 1.2, from = 0;
    std::vector<LegendItem> items;
    double x = from;
    int row = 0;
    for (const QString& text : texts) {
        const double needs = swatch + 4 + metrics.horizontalAdvance(text);
        if (x > from && x + needs > width()) {
            x = from;
            ++row;
        }
        const int room = std::max(0, static_cast<int>(width() - x - swatch - 4));
        items.push_back({metrics.elidedText(text, Qt::ElideRight, room), x, row});
        x += needs + metrics.height();
    }
    return items;
}

int DistributionChart::rowsAbove() const { return legend().back().row + 1 + 2; }

// Top to bottom: the legend, two rows of mark labels, the bars, the width labels.
QRectF DistributionChart::plotArea() const
{
    const int line = fontMetrics().height();
    const double top = rowsAbove() * line + 4;
    const double bottom = height() - line - 5;
    const double right = width() - fontMetrics().horizontalAdvance(QStringLiteral("0000 px")) / 2.0;
    return QRectF(QPointF(leftMargin(), top), QPointF(right, std::max(top + 1, bottom)));
}

report::CountAxis DistributionChart::countAxis() const
{
    // Room for a label about every two lines of text.
    const int line = fontMetrics().height();
    const double plotHeight = height() - (rowsAbove() + 1) * line - 9;
    return report::countAxis(histogram_.tallest, std::max(1, static_cast<int>(plotHeight / (2 * line))));
}

int DistributionChart::leftMargin() const
{
    // The widest count label, which need not be the top one ("9000" and "10K").
    const report::CountAxis axis = countAxis();
    int widest = 0;
    for (std::uint64_t c = 0; c <= axis.top; c += axis.step) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(abbreviatedNumber(c)));
        if (axis.top - c < axis.step)
            break;
    }
    return widest + 8;
}

double DistributionChart::xOf(double width) const
{
    const QRectF plot = plotArea();
    const double from = static_cast<double>(histogram_.axisFrom);
    const double span = static_cast<double>(histogram_.axisTo) - from + 1;
    return plot.left() + (width - from) / span * plot.width();
}

QRectF DistributionChart::barRect(std::size_t bin) const
{
    const QRectF plot = plotArea();
    const report::HistogramBin& b = histogram_.bins.at(bin);
    const double left = xOf(static_cast<double>(b.from));
    const double right = xOf(static_cast<double>(b.to) + 1);
    const double share = static_cast<double>(b.lines) / static_cast<double>(countAxis().top);
    const double top = plot.bottom() - share * plot.height();
    return QRectF(QPointF(left, top), QPointF(right, plot.bottom()));
}

double DistributionChart::markX(std::size_t fit, bool exact) const
{
    // A width's own pixel is the span [w, w + 1): its middle is the mark.
    return xOf(static_cast<double>(exact ? exact_.at(fit) : estimated_.at(fit)) + 0.5);
}

std::vector<report::MarkLabel> DistributionChart::markLabels(bool exact) const
{
    // Right of the count labels, which the lower row would touch.
    const double from = plotArea().left();
    std::vector<report::Mark> marks;
    for (const std::size_t fit : markedFits)
        marks.push_back({markX(fit, exact) - from, engine::fitShares[fit]});
    const QFontMetrics metrics = fontMetrics();
    std::vector<report::MarkLabel> labels = report::placeMarkLabels(
        marks, [&metrics](const std::string& text) { return metrics.horizontalAdvance(QString::fromStdString(text)); },
        width() - from, labelGap);
    for (report::MarkLabel& label : labels)
        label.left += from;
    return labels;
}

QString DistributionChart::toolTipAt(QPoint point) const
{
    const QRectF plot = plotArea();
    if (histogram_.bins.empty() || point.y() < plot.top() || point.y() > plot.bottom())
        return {};
    for (std::size_t i = 0; i < histogram_.bins.size(); ++i) {
        const QRectF bar = barRect(i);
        if (point.x() < bar.left() || point.x() >= bar.right())
            continue;
        const report::HistogramBin& b = histogram_.bins[i];
        // Whole numbers without separators, as the designed labels write them.
        const QString widths = b.from == b.to ? QString::number(b.from)
                                              : QStringLiteral("%1\u2013%2").arg(QString::number(b.from), QString::number(b.to));
        const QString unit = b.from == b.to && b.from == 1 ? QStringLiteral("pixel") : QStringLiteral("pixels");
        const QString lines = b.lines == 1 ? QStringLiteral("line") : QStringLiteral("lines");
        return QStringLiteral("%1 %2: %3 %4").arg(widths, unit, QString::number(b.lines), lines);
    }
    return {};
}

bool DistributionChart::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void DistributionChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    const double scale = std::max(1.0, logicalDpiX() / 96.0);
    const QPen textPen(palette().color(QPalette::WindowText));

    if (histogram_.bins.empty()) {
        painter.setPen(textPen);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("No lines measured"));
        return;
    }
    const QRectF plot = plotArea();
    const report::CountAxis counts = countAxis();
    const QPen exactPen(exactColour, 2 * scale, Qt::SolidLine, Qt::FlatCap);
    QPen estimatedPen(estimatedColour, 2 * scale, Qt::CustomDashLine, Qt::FlatCap);
    estimatedPen.setDashPattern({2.5, 1.5});

    // The legend: a bar's colour, then the two kinds of mark.
    const std::vector<LegendItem> items = legend();
    const double swatch = line * 1.2;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const double x = items[i].x, mid = items[i].row * line + line / 2.0;
        if (i == 0) {
            painter.fillRect(QRectF(x, mid - line / 3.0, swatch, line * 2 / 3.0), barFill);
        } else {
            painter.setPen(i == 1 ? exactPen : estimatedPen);
            painter.drawLine(QPointF(x, mid), QPointF(x + swatch, mid));
        }
        painter.setPen(textPen);
        painter.drawText(QPointF(x + swatch + 4, items[i].row * line + metrics.ascent()), items[i].text);
    }
    const int labelRows = items.back().row + 1;  // the mark labels' rows follow

    // Count labels and grid lines.
    for (std::uint64_t c = 0; c <= counts.top; c += counts.step) {
        const double y = plot.bottom() - static_cast<double>(c) / static_cast<double>(counts.top) * plot.height();
        painter.setPen(gridColour);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(textPen);
        painter.drawText(QRectF(0, y - line / 2.0, plot.left() - 5, line), Qt::AlignRight | Qt::AlignVCenter,
                         abbreviatedNumber(c));
        if (counts.top - c < counts.step)
            break;
    }

    // The bars, a hairline apart when there is room for one.
    for (std::size_t i = 0; i < histogram_.bins.size(); ++i) {
        if (histogram_.bins[i].lines == 0)
            continue;
        QRectF bar = barRect(i);
        if (bar.width() >= 4)
            bar.adjust(0.5, 0, -0.5, 0);
        bar.setTop(std::min(bar.top(), plot.bottom() - 1));  // a single line still shows
        painter.fillRect(bar, barFill);
        painter.setPen(barEdge);
        painter.drawLine(bar.topLeft(), bar.topRight());
    }
    painter.setPen(textPen);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());

    // Width labels from the right, so the last keeps its unit; one that
    // would touch its neighbour is left out.
    const std::vector<std::int64_t> ticks =
        report::widthTicks(histogram_, std::max(2, static_cast<int>(plot.width() / (4 * line))));
    double nextLeft = width();
    for (auto it = ticks.rbegin(); it != ticks.rend(); ++it) {
        const double tx = histogram_.binWidth == 1 ? xOf(static_cast<double>(*it) + 0.5) : xOf(static_cast<double>(*it));
        painter.drawLine(QPointF(tx, plot.bottom()), QPointF(tx, plot.bottom() + 3));
        QString label = abbreviatedNumber(*it);
        if (it == ticks.rbegin())
            label += QStringLiteral(" px");
        const double w = metrics.horizontalAdvance(label);
        double left = std::min(tx - w / 2, width() - w);
        left = std::max(left, 0.0);
        if (left + w + line / 2.0 > nextLeft)
            continue;
        painter.drawText(QPointF(left, plot.bottom() + 4 + metrics.ascent()), label);
        nextLeft = left;
    }

    // The marks: the dashed estimates over the measured ones, so where they
    // meet both show. Their shares above, a row for each kind.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const bool exact : {true, false}) {
        painter.setPen(exact ? exactPen : estimatedPen);
        for (const std::size_t fit : markedFits) {
            const double mx = markX(fit, exact);
            painter.drawLine(QPointF(mx, plot.top() - 2), QPointF(mx, plot.bottom()));
        }
    }
    for (const bool exact : {true, false}) {
        painter.setPen(exact ? exactColour : estimatedColour);
        const double top = line * (labelRows + (exact ? 0 : 1)) + 1;
        for (const report::MarkLabel& label : markLabels(exact))
            painter.drawText(QRectF(label.left, top, label.width, line), Qt::AlignCenter,
                             QString::fromStdString(label.text));
    }
}
