// The results window's distribution panel: the histogram's bars, marks and
// tooltips for known spreads, the measured fits level with the estimated
// ones, the widest lines, eliding, Copy and the keys, and that the designed
// controls stay where they were.

#include "TestSettings.h"
#include "AbbreviatedNumber.h"
#include "DistributionChart.h"
#include "ElidedLabel.h"
#include "ResultsWindowHelpers.h"
#include "ScriptedDialogs.h"
#include "Twips.h"
#include "frmResults.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <functional>

Q_DECLARE_METATYPE(report::ReportInput)

namespace {

using Counts = std::vector<std::pair<std::int64_t, std::uint64_t>>;  // width, lines

report::ReportInput measuredInput(const Counts& counts, std::vector<engine::WideLine> widest = {},
                                  std::string face = "DejaVu Sans", std::string path = "/home/user/names.txt")
{
    report::ReportInput in;
    in.selections.faceText = std::move(face);
    in.selections.sizeText = "10";
    in.selections.weightIndex = 3;
    in.selections.widthText = "Normal";
    in.dataFilePath = std::move(path);
    in.dataFileTitle = in.dataFilePath.substr(in.dataFilePath.rfind('/') + 1);
    for (const auto& [width, lines] : counts)
        in.measured.widths.add(width, lines);
    in.statistics = engine::computeStatistics(in.measured.widths);
    in.measured.widest = std::move(widest);
    return in;
}

// Names in a column: most short, a long thin tail of long ones.
Counts skewed()
{
    Counts c;
    for (std::int64_t w = 20; w <= 400; ++w)
        c.emplace_back(w, static_cast<std::uint64_t>(std::lround(10000 * std::exp(-(w - 20) / 30.0))));
    return c;
}

template <class T = QLabel>
T* child(const QWidget& window, const QString& name)
{
    return window.findChild<T*>(name);
}

QString shown(const QWidget& window, const QString& name)
{
    auto* label = child(window, name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

// The label's text is the whole, or a start and an end of it joined by one
// "…", cut between letters, and it fits the label.
void checkElided(const QLabel* label, const QString& full)
{
    QVERIFY(label);
    const QString text = label->text();
    QVERIFY2(label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width(), qPrintable(text));
    if (text == full)
        return;
    QCOMPARE(text.count(u'…'), full.count(u'…') + 1);
    const qsizetype mark = text.indexOf(u'…');
    const QString head = text.left(mark), tail = text.mid(mark + 1);
    QVERIFY2(full.startsWith(head) && full.endsWith(tail) && head.size() + tail.size() < full.size(), qPrintable(text));
    QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, full);
    letters.setPosition(head.size());
    QVERIFY2(letters.isAtBoundary(), qPrintable(text));
    letters.setPosition(full.size() - tail.size());
    QVERIFY2(letters.isAtBoundary(), qPrintable(text));
}

}  // namespace

class ResultsPanelTest : public QObject {
    Q_OBJECT

    TestSettings settings;

    QWidget owner;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void histogram_data()
    {
        QTest::addColumn<report::ReportInput>("in");
        QTest::addColumn<qint64>("binWidth");
        QTest::addColumn<QString>("tallestTip");
        QTest::newRow("one width") << measuredInput({{12, 5}}) << qint64(1) << "12 pixels: 5 lines";
        QTest::newRow("two widths far apart")
            << measuredInput({{10, 7}, {10000, 1}}) << qint64(250) << "0\u2013249 pixels: 7 lines";
        QTest::newRow("skewed tail") << measuredInput(skewed()) << qint64(5) << "20\u201324 pixels: 46827 lines";
        QTest::newRow("huge counts") << measuredInput({{100, 3'000'000'000}, {140, 5'000'000'000}, {180, 1}})
                                     << qint64(2) << "140\u2013141 pixels: 5000000000 lines";
        QTest::newRow("huge widths") << measuredInput({{3, 1}, {8'600'000'000, 2}}) << qint64(200'000'000)
                                     << "8600000000\u20138799999999 pixels: 2 lines";
    }

    void histogram()
    {
        QFETCH(report::ReportInput, in);
        QFETCH(qint64, binWidth);
        QFETCH(QString, tallestTip);
        frmResults window(&owner);
        window.Load(in);
        auto* chart = child<DistributionChart>(window, "chrDistribution");
        QVERIFY(chart);
        const report::Histogram& h = chart->histogram();
        QCOMPARE(h.binWidth, binWidth);
        const QRectF plot = chart->plotArea();
        QVERIFY(QRectF(chart->rect()).contains(plot));

        // Bars stand on the axis inside the plot, as tall as their share of
        // lines, the tallest reaching at least half way up.
        std::size_t tallest = 0;
        for (std::size_t i = 0; i < h.bins.size(); ++i) {
            const QRectF bar = chart->barRect(i);
            QVERIFY(bar.left() >= plot.left() - 0.01 && bar.right() <= plot.right() + 0.01);
            QVERIFY(bar.top() >= plot.top() - 0.01);
            QCOMPARE(bar.bottom(), plot.bottom());
            if (h.bins[i].lines > h.bins[tallest].lines)
                tallest = i;
            if (i > 0)
                QCOMPARE(bar.left(), chart->barRect(i - 1).right());
        }
        QVERIFY(chart->barRect(tallest).height() >= plot.height() / 2);
        const QPoint over = chart->barRect(tallest).center().toPoint();
        QCOMPARE(chart->toolTipAt(over), tallestTip);
        QCOMPARE(chart->toolTipAt(QPoint(over.x(), 0)), QString());  // above the plot: nothing

        // Every marked fit stands over its own bin; the estimates inside the plot.
        for (const std::size_t fit : DistributionChart::markedFits) {
            const std::int64_t exact = in.statistics.exactFits[fit];
            const auto bin = std::find_if(h.bins.begin(), h.bins.end(),
                                          [&](const report::HistogramBin& b) { return b.from <= exact && exact <= b.to; });
            QVERIFY(bin != h.bins.end());
            const QRectF bar = chart->barRect(static_cast<std::size_t>(bin - h.bins.begin()));
            const double x = chart->markX(fit, true);
            QVERIFY2(x >= bar.left() && x <= bar.right(), qPrintable(QString::number(engine::fitShares[fit])));
            const double estimated = chart->markX(fit, false);
            QVERIFY(estimated >= plot.left() && estimated <= plot.right());
        }
    }

    void skewedDataShowsTheEstimateShortOfTheData()
    {
        frmResults window(&owner);
        window.Load(measuredInput(skewed()));
        auto* chart = child<DistributionChart>(window, "chrDistribution");
        // 99% of these lines need 158 pixels; the estimate falls well short.
        QVERIFY(chart->markX(6, true) > chart->markX(6, false) + 10);
        // One width: measured and estimated fits meet on the one bar.
        window.Load(measuredInput({{12, 5}}));
        for (const std::size_t fit : DistributionChart::markedFits) {
            QCOMPARE(chart->markX(fit, true), chart->markX(fit, false));
            QCOMPARE(chart->markX(fit, true), chart->barRect(0).center().x());
        }
    }

    // Where marks crowd, their labels share: every marked share is written
    // once in each row, and no label covers another or leaves the chart.
    void labelsWhereMarksCrowd_data()
    {
        QTest::addColumn<report::ReportInput>("in");
        QTest::addColumn<int>("measuredLabels");
        QTest::newRow("one width: every mark on one bar") << measuredInput({{12, 5}}) << 1;
        QTest::newRow("long tail") << measuredInput({{100, 9000}, {102, 500}, {30000, 500}}) << 2;
        QTest::newRow("spread out") << measuredInput({{10, 50}, {400, 40}, {700, 5}, {1000, 4}, {1300, 1}}) << 4;
    }

    void labelsWhereMarksCrowd()
    {
        QFETCH(report::ReportInput, in);
        QFETCH(int, measuredLabels);
        frmResults window(&owner);
        window.Load(in);
        auto* chart = child<DistributionChart>(window, "chrDistribution");
        for (const bool exact : {true, false}) {
            const std::vector<report::MarkLabel> labels = chart->markLabels(exact);
            std::vector<int> shares;
            for (std::size_t i = 0; i < labels.size(); ++i) {
                shares.insert(shares.end(), labels[i].shares.begin(), labels[i].shares.end());
                QVERIFY(labels[i].left >= 0 && labels[i].left + labels[i].width <= chart->width());
                if (i > 0)
                    QVERIFY(labels[i].left > labels[i - 1].left + labels[i - 1].width);
            }
            QCOMPARE(shares, (std::vector<int>{50, 90, 95, 99}));
            if (exact)
                QCOMPARE(static_cast<int>(labels.size()), measuredLabels);
        }
    }

    void abbreviatedNumbers_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        const QLocale english(QLocale::English, QLocale::UnitedStates), german(QLocale::German, QLocale::Germany);
        QTest::newRow("zero") << qint64(0) << english << "0";
        QTest::newRow("four digits whole") << qint64(9'999) << english << "9999";
        QTest::newRow("thousands") << qint64(12'345) << english << "12K";
        QTest::newRow("rounds into the next unit") << qint64(999'999) << english << "1M";
        QTest::newRow("one decimal below ten") << qint64(1'234'567) << english << "1.2M";
        QTest::newRow("decimal comma") << qint64(1'234'567) << german << "1,2M";
        QTest::newRow("billions") << qint64(3'000'000'000) << english << "3B";
        QTest::newRow("negative") << qint64(-12'345) << english << "-12K";
        QTest::newRow("largest") << std::numeric_limits<qint64>::max() << english << "9.2E";
        QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << english << "-9.2E";
    }

    void abbreviatedNumbers()
    {
        QFETCH(qint64, value);
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QCOMPARE(abbreviatedNumber(static_cast<std::int64_t>(value), locale), text);
        if (value >= 0)
            QCOMPARE(abbreviatedNumber(static_cast<std::uint64_t>(value), locale), text);
    }

    void measuredFitsStandLevelWithTheEstimatedOnes()
    {
        frmResults window(&owner);
        window.Load(measuredInput(skewed()));
        const std::array<std::string, 7> lines =
            report::measuredLines(measuredInput(skewed()).statistics, report::windowUnit);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int share = engine::fitShares[i];
            auto* exact = child(window, QStringLiteral("lblExact%1").arg(share));
            auto* estimated = child(window, QStringLiteral("lbl%1").arg(share));
            QVERIFY(exact && estimated);
            QCOMPARE(exact->text(), QString::fromStdString(lines[i]));
            QCOMPARE(exact->mapTo(&window, QPoint()).y(), estimated->mapTo(&window, QPoint()).y());
            QCOMPARE(exact->height(), estimated->height());
            QVERIFY(exact->mapTo(&window, QPoint()).x() > window.findChild<QPushButton*>("cmdSave")->geometry().right());
        }
        QCOMPARE(shown(window, "lblExact99"), QStringLiteral("99% of the lines fit within 158 pixels"));
        QCOMPARE(shown(window, "lblLineCount"), QStringLiteral("Lines: 305015"));
        QCOMPARE(shown(window, "lblBinWidth"), QStringLiteral("Each bar: 5 pixels"));
    }

    void widestLines()
    {
        const QString longText = QStringLiteral("Begin ") + QString(150, u'x') + QStringLiteral(" – und Schluß");
        // The kept 4096 characters of a longer line end in "…"; 4096 letters
        // outside the BMP are a whole line, though twice as many UTF-16 units.
        const QString cut = QString(4096, u'y') + u'…';
        const QString whole = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(4096);
        std::vector<engine::WideLine> widest{{7, 1234, longText.toStdString()},
                                             {12'345'678, 900, "short\r\nvalue"},
                                             {3, 800, "<b>looks like markup</b>"},
                                             {5, 700, cut.toStdString()},
                                             {4, 600, whole.toStdString()}};
        frmResults window(&owner);
        window.Load(measuredInput({{600, 1}, {700, 1}, {800, 1}, {900, 1}, {1234, 1}}, widest));
        QCOMPARE(shown(window, "lblWideLine0"), QStringLiteral("Line 7"));
        QCOMPARE(shown(window, "lblWideWidth0"), QStringLiteral("1234 pixels"));
        QCOMPARE(shown(window, "lblWideLine1"), QStringLiteral("Line 12345678"));
        auto* first = child(window, "lblWideText0");
        checkElided(first, longText);
        QVERIFY2(first->text().startsWith("Begin") && first->text().endsWith("luß"), qPrintable(first->text()));
        QCOMPARE(readAs(first->toolTip()), longText);
        // A value over two lines shows on one, and whole in its tooltip.
        QCOMPARE(shown(window, "lblWideText1"), QStringLiteral("short↵value"));
        QCOMPARE(readAs(child(window, "lblWideText1")->toolTip()), QStringLiteral("short\nvalue"));
        QCOMPARE(readAs(child(window, "lblWideText2")->toolTip()), QStringLiteral("<b>looks like markup</b>"));
        QCOMPARE(readAs(child(window, "lblWideText3")->toolTip()),
                 cut + "\n\n(Only the first 4096 characters of this line are kept.)");
        QCOMPARE(readAs(child(window, "lblWideText4")->toolTip()), whole);
        // Numbers are never cut, and every row's columns line up.
        for (int i = 0; i < 5; ++i)
            for (const char* column : {"lblWideLine%1", "lblWideWidth%1"}) {
                auto* label = child(window, QString::fromLatin1(column).arg(i));
                QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
                QCOMPARE(label->x(), child(window, QString::fromLatin1(column).arg(0))->x());
            }
        // Rows past the last line stay empty, also after a longer list.
        for (int i = 5; i < 10; ++i) {
            QCOMPARE(shown(window, QStringLiteral("lblWideLine%1").arg(i)), QString());
            QCOMPARE(shown(window, QStringLiteral("lblWideText%1").arg(i)), QString());
            QCOMPARE(child(window, QStringLiteral("lblWideText%1").arg(i))->toolTip(), QString());
        }
    }

    void longValuesAreElidedInTheMiddle_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("short values stay whole") << "DejaVu Sans" << "names.txt";
        QTest::newRow("long ASCII") << QStringLiteral("Extra ") + QString(80, u'W') + " Condensed"
                                    << QStringLiteral("customer export ") + QString(60, u'm') + " final.txt";
        QTest::newRow("accents as combining marks")
            << QString("Cafe\u0301 ").repeated(20) << QString("re\u0301sume\u0301 ").repeated(20) + ".txt";
        QTest::newRow("letters outside the BMP") << QString::fromUtf8("\xF0\x9D\x90\x80\xF0\x9D\x90\x81").repeated(40)
                                                 << QString::fromUtf8("\xF0\x9F\x98\x80 data ").repeated(20);
        QTest::newRow("markup") << "<b>R&D</b> " + QString(60, u'a') << "<i>x & y " + QString(60, u'b') + ".txt";
    }

    void longValuesAreElidedInTheMiddle()
    {
        QFETCH(QString, face);
        QFETCH(QString, fileName);
        const QString path = "/data/" + fileName;
        frmResults window(&owner);
        window.Load(measuredInput({{12, 1}}, {}, face.toStdString(), path.toStdString()));
        auto* faceLabel = child<ElidedLabel>(window, "lblFontFace");
        auto* fileLabel = child<ElidedLabel>(window, "lblDataFile");
        QVERIFY(faceLabel && fileLabel);
        checkElided(faceLabel, face);
        checkElided(fileLabel, fileName);
        QCOMPARE(readAs(faceLabel->toolTip()), faceLabel->isElided() ? face : QString());
        QCOMPARE(readAs(fileLabel->toolTip()), path);
        QCOMPARE(faceLabel->textFormat(), Qt::PlainText);
    }

    // The data file's name gives way to the column it is followed by,
    // unless the column's name alone would fill the field.
    void theColumnStaysInView_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("columnWhole");
        QTest::newRow("both short") << "customers.csv" << "note" << true;
        QTest::newRow("long file name") << "customers exported " + QString(40, u'm') + ".csv" << "note" << true;
        QTest::newRow("long column name") << "customers.csv" << "note " + QString(80, u'n') << false;
    }

    void theColumnStaysInView()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, column);
        QFETCH(bool, columnWhole);
        report::ReportInput in = measuredInput({{12, 1}}, {}, "DejaVu Sans", ("/data/" + fileName).toStdString());
        in.delimited = true;
        in.column = column.toStdString();
        frmResults window(&owner);
        window.Load(in);
        auto* field = child<ElidedLabel>(window, "lblDataFile");
        const QString full = fileName + ", column " + column;
        checkElided(field, full);
        QCOMPARE(field->text().endsWith(", column " + column), columnWhole);
        QVERIFY(field->text().startsWith(fileName.left(3)));
        QCOMPARE(readAs(field->toolTip()), "/data/" + full);
    }

    void copyPutsBothKindsOfFitUnderTheirOwnHeadings_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << "button";
        QTest::newRow("Alt+O") << "Alt+O";
        QTest::newRow("Ctrl+C") << "Ctrl+C";
    }

    void copyPutsBothKindsOfFitUnderTheirOwnHeadings()
    {
        QFETCH(QString, how);
        ScriptedDialogs dialogs;
        frmResults window(&owner);
        window.Load(measuredInput({{10, 1}, {20, 1}}, {}, "Arial"));
        QGuiApplication::clipboard()->setText("earlier");
        QWidget* focusAfter = nullptr;
        runModal(window, [&] {
            QWidget* focus = QApplication::focusWidget();
            auto* copy = window.findChild<QPushButton*>("cmdCopy");
            if (how == "button")
                copy->click();
            else if (how == "Alt+O") {
                QSignalSpy clicked(copy, &QPushButton::clicked);
                QTest::keyClick(focus, Qt::Key_O, Qt::AltModifier);
                QVERIFY(!clicked.isEmpty() || clicked.wait());
            } else
                QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
            focusAfter = QApplication::focusWidget();
        });
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Font Face: Arial\nFont Size: 10\nItalic: No\nUnderline: No\nStrikethrough: No\n"
                                "Weight: Normal\nWidth: Normal\nData File: /home/user/names.txt\n\n"
                                "Minimum Length: 10 pixels.\nMaximum Length: 20 pixels.\nAverage Length: 15 pixels.\n"
                                "Standard Deviation: 7.1 pixels.\n\n"
                                "Estimated, assuming the widths are normally distributed:\n"
                                "50% of the data will fit within 15 pixels.\n60% of the data will fit within 17 pixels.\n"
                                "70% of the data will fit within 19 pixels.\n80% of the data will fit within 21 pixels.\n"
                                "90% of the data will fit within 24 pixels.\n95% of the data will fit within 27 pixels.\n"
                                "99% of the data will fit within 31 pixels.\n\n"
                                "Measured, the widths the lines really fit in (at 96 dots per inch):\n"
                                "50% of the lines fit within 10 pixels.\n60% of the lines fit within 20 pixels.\n"
                                "70% of the lines fit within 20 pixels.\n80% of the lines fit within 20 pixels.\n"
                                "90% of the lines fit within 20 pixels.\n95% of the lines fit within 20 pixels.\n"
                                "99% of the lines fit within 20 pixels.\n"));
        if (how != "button")
            QCOMPARE(focusAfter, window.findChild<QPushButton*>("cmdSave"));  // keys leave the focus where it was
        QVERIFY(dialogs.saveRequests.isEmpty());
    }

    void keys_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("saves");
        QTest::newRow("Ctrl+S saves") << QKeyCombination(Qt::ControlModifier, Qt::Key_S) << false << 1;
        QTest::newRow("Esc closes") << QKeyCombination(Qt::Key_Escape) << true << 0;
        QTest::newRow("Alt+C closes") << QKeyCombination(Qt::AltModifier, Qt::Key_C) << true << 0;
        QTest::newRow("Alt+S saves") << QKeyCombination(Qt::AltModifier, Qt::Key_S) << false << 1;
    }

    void keys()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(bool, closes);
        QFETCH(int, saves);
        ScriptedDialogs dialogs;  // Save is cancelled
        frmResults window(&owner);
        window.Load(measuredInput(skewed()));
        QWidget *first = nullptr, *after = nullptr;
        const bool leftOpen = runModal(window, [&] {
            first = QApplication::focusWidget();
            QSignalSpy clicked(window.findChild<QPushButton*>("cmdSave"), &QPushButton::clicked);
            QTest::keyClick(first, key.key(), key.keyboardModifiers());
            // A mnemonic clicks once the button has shown itself down.
            if (key == QKeyCombination(Qt::AltModifier, Qt::Key_S))
                QVERIFY(!clicked.isEmpty() || clicked.wait());
            QCOMPARE(dialogs.saveRequests.size(), saves);
            after = QApplication::focusWidget();
            // Esc still closes after whatever the key did.
            if (window.isVisible())
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        QVERIFY(!leftOpen);
        QCOMPARE(first, window.findChild<QPushButton*>("cmdSave"));
        if (!closes)
            QCOMPARE(after, first);
        QCOMPARE(dialogs.saveRequests.size(), saves);
    }

    void designedControlsStayAsDesigned()
    {
        frmResults window(&owner);
        window.Load(measuredInput(skewed()));
        const int dpi = window.logicalDpiY();
        struct Designed {
            const char* name;
            double left, top, width, height;
            const char* caption;
        };
        const Designed designed[] = {
            {"Frame3", 120, 120, 3735, 2295, "Font Information"}, {"Frame1", 120, 2520, 3735, 1335, "General Statistics"},
            {"Frame2", 120, 3960, 3735, 2055, "Confidence Intervals"}, {"cmdSave", 3960, 5160, 975, 375, "&Save"},
            {"cmdClose", 3960, 5640, 975, 375, "&Close"},            {"lblFontFace", 1680, 240, 1935, 255, nullptr},
            {"lblDataFile", 1680, 240 + 7 * 240, 1935, 255, nullptr}, {"lbl99", 120, 240 + 6 * 240, 3495, 255, nullptr},
        };
        for (const Designed& d : designed) {
            auto* widget = window.findChild<QWidget*>(d.name);
            QVERIFY2(widget, d.name);
            QCOMPARE(widget->geometry(), platform::twipRect(d.left, d.top, d.width, d.height, dpi));
            if (auto* box = qobject_cast<QGroupBox*>(widget))
                QCOMPARE(box->title(), QString::fromLatin1(d.caption));
            if (auto* button = qobject_cast<QPushButton*>(widget))
                QCOMPARE(button->text(), QString::fromLatin1(d.caption));
        }
        // The new controls keep clear of the designed ones and of the edges.
        const QRect designedArea = platform::twipRect(0, 0, 5055, 6135, dpi);
        auto* copy = window.findChild<QPushButton*>("cmdCopy");
        QCOMPARE(copy->text(), QStringLiteral("C&opy"));
        QVERIFY(copy->geometry().bottom() < window.findChild<QPushButton*>("cmdSave")->geometry().top());
        for (const char* name : {"fraDistribution", "fraMeasured", "fraWidest"}) {
            auto* box = window.findChild<QGroupBox*>(name);
            QVERIFY2(box, name);
            QVERIFY(box->x() >= designedArea.right());
            QVERIFY(window.rect().contains(box->geometry()));
        }
        for (auto* widget : window.findChildren<QWidget*>())
            if (widget->isVisibleTo(&window))
                QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), qPrintable(widget->objectName()));
    }
};

QTEST_MAIN(ResultsPanelTest)
#include "ResultsPanelTest.moc"
