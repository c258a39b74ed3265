// The distribution panel right of the designed controls: the histogram
// across the panel, below it the measured fits, row for row level with the
// estimated ones in "Confidence Intervals" at the window's first height,
// and the widest lines. The chart and the widest lines grow with the window.

#include "frmResults.h"

#include "DistributionChart.h"
#include "ElidedLabel.h"
#include "SizesPanel.h"
#include "VisibleText.h"
#include "Twips.h"

#include <QGroupBox>
#include <QTabBar>

#include <algorithm>
#include <cmath>

namespace {

// In twips, spaced like the designed controls.
constexpr double groupGap = 105, windowEdge = 120, inset = 120;
constexpr double chartTop = 120, chartBottom = 3135;
constexpr double lowerTop = 3240, lowerBottom = 6015;
constexpr double fitsTop = 3960;  // Frame2's top
constexpr double firstRowTop = 240, rowStep = 240, rowHeight = 255;

// The longest measured fit the panel is sized for; a longer one is elided
// and its tooltip holds the whole.
const QString longestFit = QStringLiteral("99% of the lines fit within 99999 pixels");

// Numbers as the designed labels write them: whole, no thousands separator.
QString number(std::uint64_t n) { return QString::number(n); }

// A line of plain text; a record of delimited text, numbered after its header.
QString lineText(std::uint64_t line, bool record = false)
{
    return (record ? QStringLiteral("Record %1") : QStringLiteral("Line %1")).arg(number(line));
}
QString widthText(std::int64_t width) { return QString::fromStdString(report::pixelsText(width)); }

// A widest line's whole kept text, its line ends as line breaks, and a
// word when it goes on past what was kept.
QString widestToolTip(QString text)
{
    const bool cut = static_cast<std::size_t>(text.toUcs4().size()) > engine::WidestLines::textCharacters;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (!cut)
        return text;
    return text + QStringLiteral("\n\n(Only the first %1 characters of this line are kept.)")
                      .arg(engine::WidestLines::textCharacters);
}

}  // namespace

void frmResults::BuildPanel()
{
    const int dpi = logicalDpiY();
    const auto px = [dpi](double twips) { return platform::twipsToPixels(twips, dpi); };
    const QFontMetrics metrics(font());
    const int average = metrics.averageCharWidth();
    const int gap = px(groupGap), in = px(inset);

    const auto group = [&](const char* name, const char* title) {
        auto* box = new QGroupBox(QString::fromLatin1(title), this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    // Rows are placed from twips the way the designed ones are, so a row
    // here and one in Frame2 with the same twips end up on the same pixel
    // while the groups stand at their first places. They keep their places
    // in their groups when the groups move.
    const auto rowRect = [&](double groupTop, double rowTop, int x, int width) {
        return QRect(x, px(groupTop) + px(rowTop) - px(lowerTop), width, px(rowTop + rowHeight) - px(rowTop));
    };
    const auto elided = [&](QGroupBox* box, const QString& name, QRect geometry) {
        auto* field = new ElidedLabel(box);
        field->setObjectName(name);
        field->setGeometry(geometry);
        return field;
    };

    // Measured: as wide as its longest sentence.
    const int fitWidth = std::max(metrics.horizontalAdvance(longestFit),
                                  metrics.horizontalAdvance(QStringLiteral("Measured")) + 4 * average);
    measuredWidth_ = fitWidth + 2 * in;
    fraMeasured = group("fraMeasured", "Measured");
    lblLineCount = elided(fraMeasured, QStringLiteral("lblLineCount"), rowRect(lowerTop, firstRowTop, in, fitWidth));
    lblBinWidth = elided(fraMeasured, QStringLiteral("lblBinWidth"), rowRect(lowerTop, firstRowTop + rowStep, in, fitWidth));
    lblResolution =
        elided(fraMeasured, QStringLiteral("lblResolution"), rowRect(lowerTop, firstRowTop + 2 * rowStep, in, fitWidth));
    for (std::size_t i = 0; i < lblExact.size(); ++i)
        lblExact[i] = elided(fraMeasured, QStringLiteral("lblExact%1").arg(engine::fitShares[i]),
                             rowRect(fitsTop, firstRowTop + static_cast<double>(i) * rowStep, in, fitWidth));

    // Widest Lines: line number, width and as much of the text as the
    // window leaves room for: at least a dozen characters, at first
    // forty-odd, all of it in a window made wide enough.
    const int numbers = metrics.horizontalAdvance(lineText(99'999, true)) +
                        metrics.horizontalAdvance(widthText(99'999)) + 2 * average;
    // The chart spans both; it needs room for its sixty bars and labels.
    const int chartNeeds = 60 * 4 + metrics.horizontalAdvance(QStringLiteral("0000 px")) * 2;
    const int widestAtLeast = 2 * in + numbers + 12 * average;
    const int widestAtFirst = std::max(2 * in + numbers + 40 * average, chartNeeds - measuredWidth_ - gap);
    fraWidest = group("fraWidest", "Widest Lines");
    for (std::size_t i = 0; i < wideRows.size(); ++i) {
        const double top = firstRowTop + static_cast<double>(i) * rowStep;
        WideRow& row = wideRows[i];
        row.line = new QLabel(fraWidest);
        row.width = new QLabel(fraWidest);
        for (QLabel* number : {row.line, row.width}) {
            number->setTextFormat(Qt::PlainText);
            number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            number->setGeometry(rowRect(lowerTop, top, 0, 0));
        }
        row.line->setObjectName(QStringLiteral("lblWideLine%1").arg(i));
        row.width->setObjectName(QStringLiteral("lblWideWidth%1").arg(i));
        row.text = elided(fraWidest, QStringLiteral("lblWideText%1").arg(i), rowRect(lowerTop, top, 0, 0));
        row.text->setWrapsToolTip(true);
    }

    // Its tabs stand in the group's title: the chart, or the Sizes view.
    fraDistribution = group("fraDistribution", "");
    tabDistribution = new QTabBar(fraDistribution);
    tabDistribution->setObjectName(QStringLiteral("tabDistribution"));
    tabDistribution->addTab(tr("&Distribution"));
    tabDistribution->addTab(tr("Si&zes"));
    tabDistribution->setDrawBase(false);
    tabDistribution->setExpanding(false);
    tabDistribution->setUsesScrollButtons(false);
    tabDistribution->setFocusPolicy(Qt::NoFocus);  // Alt+D and Alt+Z choose a tab
    tabDistribution->resize(tabDistribution->sizeHint());
    chrDistribution = new DistributionChart(fraDistribution);
    chrDistribution->setObjectName(QStringLiteral("chrDistribution"));
    pnlSizes = new SizesPanel(fraDistribution);
    pnlSizes->setObjectName(QStringLiteral("pnlSizes"));
    pnlSizes->hide();
    connect(tabDistribution, &QTabBar::currentChanged, this, &frmResults::ShowTab);

    const int edge = px(windowEdge);
    panelAtLeast_ = measuredWidth_ + gap + widestAtLeast + edge;
    panelAtFirst_ = measuredWidth_ + gap + widestAtFirst + edge;
}

void frmResults::PlacePanel()
{
    const int dpi = logicalDpiY();
    const auto px = [dpi](double twips) { return platform::twipsToPixels(twips, dpi); };
    const int left = designed_.width(), right = width() - px(windowEdge);
    // A taller window gives the chart the height, or the table when there
    // is one; the groups below the chart keep to the designed foot.
    const int taller = columns_.empty() ? std::max(0, height() - designed_.height()) : 0;
    const int lowerY = px(lowerTop) + taller, lowerHeight = px(lowerBottom) - px(lowerTop);
    fraMeasured->setGeometry(left, lowerY, measuredWidth_, lowerHeight);
    const int widestLeft = left + measuredWidth_ + px(groupGap);
    fraWidest->setGeometry(widestLeft, lowerY, std::max(0, right - widestLeft), lowerHeight);
    fraDistribution->setGeometry(left, px(chartTop), std::max(0, right - left), px(chartBottom) - px(chartTop) + taller);
    const int side = px(60), top = tabDistribution->height();
    tabDistribution->move(px(60), 0);
    const QRect inside(side, top, std::max(0, fraDistribution->width() - 2 * side),
                       std::max(0, fraDistribution->height() - top - px(60)));
    chrDistribution->setGeometry(inside);
    pnlSizes->setGeometry(inside);
    PlaceWidestColumns();
}

void frmResults::ShowTab(int index)
{
    if (tabDistribution->currentIndex() != index) {
        tabDistribution->setCurrentIndex(index);  // comes back here
        return;
    }
    const bool sizes = index == 1;
    chrDistribution->setVisible(!sizes);
    pnlSizes->setVisible(sizes);
    if (!sizes)
        return;
    // Taller, screen allowing, to show every row; with a table of columns
    // below, the view scrolls instead.
    const int shortBy = pnlSizes->heightWanted() - pnlSizes->height();
    if (shortBy > 0 && columns_.empty() && isVisible() && !isMaximized()) {
        resize(width(), std::min(height() + shortBy, roomOnScreen().height()));
        FitToScreen();
    }
    pnlSizes->open();
}

void frmResults::FillWideNumbers(bool bare)
{
    const std::vector<engine::WideLine>& widest = input_.measured.widest;
    for (std::size_t i = 0; i < wideRows.size(); ++i) {
        WideRow& row = wideRows[i];
        if (i >= widest.size()) {
            row.line->clear();
            row.width->clear();
            continue;
        }
        const engine::WideLine& wide = widest[i];
        const QString where = lineText(wide.line, input_.delimited);
        row.line->setText(bare ? number(wide.line) : where);
        row.line->setToolTip(input_.delimited ? QStringLiteral("%1 starts on line %2").arg(where, number(wide.startLine))
                             : bare           ? where
                                              : QString());
        row.width->setText(bare ? number(static_cast<std::uint64_t>(std::max<std::int64_t>(wide.width, 0)))
                                : widthText(wide.width));
    }
}

void frmResults::PlaceWidestColumns()
{
    // The numbers take what their longest value needs, the text the rest;
    // where that leaves less than a dozen characters, the numbers go bare
    // ("778", "29445") and their tooltips say what they are.
    const QFontMetrics metrics(font());
    const int average = metrics.averageCharWidth();
    const int in = platform::twipsToPixels(inset, logicalDpiY());
    int lineWidth = 0, widthWidth = 0, textLeft = 0;
    bool bare = false;
    for (const bool tried : {false, true}) {
        bare = tried;
        FillWideNumbers(bare);
        lineWidth = metrics.horizontalAdvance(bare ? number(9) : lineText(9, input_.delimited));
        widthWidth = metrics.horizontalAdvance(bare ? number(99) : widthText(99));
        for (const WideRow& row : wideRows) {
            lineWidth = std::max(lineWidth, metrics.horizontalAdvance(row.line->text()));
            widthWidth = std::max(widthWidth, metrics.horizontalAdvance(row.width->text()));
        }
        textLeft = in + lineWidth + widthWidth + 2 * average;
        if (fraWidest->width() - in - textLeft >= 12 * average)
            break;
    }
    for (WideRow& row : wideRows) {
        const int y = row.line->y(), h = row.line->height();
        row.line->setGeometry(in, y, lineWidth, h);
        row.width->setGeometry(in + lineWidth + average, y, widthWidth, h);
        row.text->setGeometry(textLeft, y, std::max(0, fraWidest->width() - in - textLeft), h);
        row.text->setFullText(row.text->fullText(), row.text->fullToolTip());
        // In a window too narrow to show the text, the width's tooltip holds it.
        if (row.text->width() < 3 * average)
            row.width->setToolTip(row.text->toolTip());
        else
            row.width->setToolTip(bare && !row.width->text().isEmpty() ? widthText(row.width->text().toLongLong())
                                                                      : QString());
    }
}

void frmResults::LoadPanel()
{
    const report::MeasuredDetail& measured = input_.measured;
    chrDistribution->setData(measured.widths, input_.statistics.exactFits, input_.statistics.fits);

    lblLineCount->setFullText(QStringLiteral("Lines: %1").arg(number(measured.widths.lineCount())));
    const report::Histogram& histogram = chrDistribution->histogram();
    lblBinWidth->setFullText(histogram.bins.empty() ? QString()
                                                    : QStringLiteral("Each bar: ") + widthText(histogram.binWidth));
    // A scaled screen draws each of these pixels larger; the widths are in
    // the pixels the window lays itself out in.
    QString resolution = QStringLiteral("Resolution: %1 dpi").arg(measured.dpi);
    if (const double scale = devicePixelRatioF(); scale != 1.0)
        resolution += QStringLiteral(", screen at %1%").arg(std::lround(scale * 100));
    lblResolution->setFullText(resolution);
    const std::array<std::string, 7> fits = report::measuredLines(input_.statistics, report::windowUnit);
    for (std::size_t i = 0; i < fits.size(); ++i)
        lblExact[i]->setFullText(QString::fromStdString(fits[i]));

    for (std::size_t i = 0; i < wideRows.size(); ++i) {
        WideRow& row = wideRows[i];
        if (i < measured.widest.size()) {
            const engine::WideLine& wide = measured.widest[i];
            // One line in the row, a line break inside a value shown as ↵;
            // the tooltip keeps the breaks.
            row.text->setFullText(QString::fromStdString(report::visibleText(wide.text)),
                                  widestToolTip(QString::fromStdString(wide.text)));
        } else {
            row.text->setFullText(QString());
        }
    }
    PlacePanel();  // the numbers too, as the room allows
}
