// The results window's Sizes view: its rows are the same font measured at
// each size alone, the Fit within box's sentence and highlight agree with
// measuring every listed size, it measures only once opened, it can be
// cancelled, and a stream it cannot read again is said so.

#include "ColumnTablePanel.h"
#include "FitWithinText.h"
#include "FontDescription.h"
#include "OffscreenScreen.h"
#include "ResultsWindowHelpers.h"
#include "SizesPanel.h"
#include "TestFiles.h"
#include "TestSettings.h"
#include "frmResults.h"

#include <QLineEdit>
#include <QScreen>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

#include <sys/stat.h>

Q_DECLARE_METATYPE(report::SizesSource)

namespace {

const std::string face = "DejaVu Sans";

// Lines of words of every width, a few of them long.
QByteArray someLines(unsigned seed, int count)
{
    std::mt19937 random(seed);
    const char* const words[] = {"Ann", "Wilhelmina", "O'Brien", "de la Cruz", "Zoë", "MMMM", "iiii", "Čapek", "42"};
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        const int n = static_cast<int>(random() % 6) + (i % 37 == 0 ? 12 : 1);
        for (int w = 0; w < n; ++w)
            text += QByteArray(words[random() % std::size(words)]) + (w + 1 < n ? " " : "");
        text += "\n";
    }
    return text;
}

report::SizesSource sourceFor(const QString& path, int size, std::optional<engine::DelimitedFormat> delimited = {})
{
    report::SizesSource source;
    source.data.path = QFile::encodeName(path).toStdString();
    source.dataFileTitle = QFileInfo(path).fileName().toStdString();
    source.delimited = std::move(delimited);
    source.selections = engine::defaultSelections();
    source.selections.faceText = face;
    source.selections.sizeText = std::to_string(size);
    source.logPixelsY = 96;
    return source;
}

// The font at each of the sizes, as Calculate measures it: alone, or
// all of them in one pass.
std::vector<engine::Statistics> measured(const report::SizesSource& source, const std::vector<int>& sizes)
{
    engine::CalculationRequest request;
    request.dataFileChosen = true;
    request.data = source.data;
    request.options.delimited = source.delimited;
    for (const int size : sizes) {
        engine::FontSelections selections = source.selections;
        selections.sizeText = std::to_string(size);
        LOGFONTA lf{};
        engine::describeFont(lf, selections, source.logPixelsY);
        request.fonts.push_back(lf);
    }
    const engine::CalculationResult result = engine::measureCalculation(request);
    if (result.outcome != engine::Outcome::Done || result.targets.size() != sizes.size())
        qFatal("the sizes could not be measured");
    std::vector<engine::Statistics> statistics;
    for (const engine::TargetResult& target : result.targets)
        statistics.push_back(target.statistics);
    return statistics;
}

engine::Statistics alone(const report::SizesSource& source, int size) { return measured(source, {size}).front(); }

// The largest listed size within the width, found by measuring them all.
engine::FaceAnswer everySize(const report::SizesSource& source, std::int64_t within)
{
    std::vector<int> sizes;
    for (int size = engine::smallestListedPointSize; size <= engine::largestListedPointSize; ++size)
        sizes.push_back(size);
    const std::vector<engine::Statistics> all = measured(source, sizes);
    const auto fit = [&](std::size_t i) { return engine::SizeFit{sizes[i], all[i].exactFits[6]}; };
    engine::FaceAnswer answer;
    for (std::size_t i = sizes.size(); i-- > 0;) {
        if (fit(i).fit <= within) {
            answer.fits = fit(i);
            if (i + 1 < sizes.size())
                answer.next = fit(i + 1);
            return answer;
        }
    }
    answer.next = fit(0);
    return answer;
}

report::ReportInput inputFor(const report::SizesSource& source)
{
    report::ReportInput in;
    in.selections = source.selections;
    in.dataFileTitle = source.dataFileTitle;
    in.dataFilePath = source.data.path;
    in.delimited = source.delimited.has_value();
    in.statistics = alone(source, source.chosenSize());
    in.measured.widths.add(in.statistics.MaxWidth);
    in.sizes = source;
    return in;
}

SizesPanel* sizesOf(const frmResults& window) { return window.findChild<SizesPanel*>(QStringLiteral("pnlSizes")); }

void openSizes(frmResults& window) { window.findChild<QTabBar*>(QStringLiteral("tabDistribution"))->setCurrentIndex(1); }

QStringList rowTexts(const QTableWidget* table, int row)
{
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c)
        cells << table->item(row, c)->text();
    return cells;
}

QStringList expectedTexts(int size, const engine::Statistics& s)
{
    return {QString::number(size), QString::number(s.MaxWidth), QString::number(s.exactFits[5]),
            QString::number(s.exactFits[6]), QString::number(std::llround(s.fits[6]))};
}

bool highlighted(const QTableWidget* table, int row)
{
    return table->item(row, 0)->background() == table->palette().highlight();
}

constexpr int measuring = 60'000;  // ms at most for a pass over a small file

}  // namespace

class SizesViewTest : public QObject {
    Q_OBJECT

    TestSettings settings;  // the window's remembered size, kept apart
    QTemporaryDir folder;
    QWidget owner;
    QString lines, csv;

private slots:
    void initTestCase()
    {
        lines = writeTestFile(folder, "names.txt", someLines(7, 300));
        QByteArray records = "id,name\n";
        const QList<QByteArray> names = someLines(11, 120).split('\n');
        for (int i = 0; i + 1 < names.size(); ++i)
            records += QByteArray::number(i) + ",\"" + names[i] + "\"\n";
        csv = writeTestFile(folder, "people.csv", records);
    }

    // A row for each listed size from four below the chosen one to four
    // above, each what that size measures alone; the chosen one marked.
    void rowsAreEachSizeAlone_data()
    {
        QTest::addColumn<report::SizesSource>("source");
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("lines at 10") << sourceFor(lines, 10) << QList<int>{6, 7, 8, 9, 10, 11, 12, 13, 14};
        QTest::newRow("lines at 2, the list's first sizes") << sourceFor(lines, 2) << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("lines at 143, its last") << sourceFor(lines, 143) << QList<int>{139, 140, 141, 142, 143, 144};
        engine::DelimitedFormat named;
        named.columns = {engine::ColumnChoice::byNumber(2)};
        QTest::newRow("a column of a CSV file") << sourceFor(csv, 9, named) << QList<int>{5, 6, 7, 8, 9, 10, 11, 12, 13};
        engine::DelimitedFormat bare = named;
        bare.header = false;
        QTest::newRow("a column, the header measured too") << sourceFor(csv, 9, bare) << QList<int>{5, 6, 7, 8, 9, 10, 11, 12, 13};
    }

    void rowsAreEachSizeAlone()
    {
        QFETCH(report::SizesSource, source);
        QFETCH(QList<int>, sizes);
        frmResults window(&owner);
        window.Load(inputFor(source));
        runModal(window, [&] {
            openSizes(window);
            SizesPanel* view = sizesOf(window);
            QTRY_VERIFY_WITH_TIMEOUT(!view->busy(), measuring);
            QCOMPARE(view->status(), QString());
            const QTableWidget* table = view->table();
            QCOMPARE(table->rowCount(), sizes.size());
            for (int r = 0; r < sizes.size(); ++r) {
                QCOMPARE(rowTexts(table, r), expectedTexts(sizes[r], alone(source, sizes[r])));
                const bool chosen = sizes[r] == source.chosenSize();
                QCOMPARE(table->item(r, 0)->font().bold(), chosen);
                QCOMPARE(table->verticalHeaderItem(r)->text().isEmpty(), !chosen);
            }
            QVERIFY(!view->highlightedRow());
        });
    }

    // The sentence is the one the tool prints for the same answer, and the
    // answer is the one measuring every listed size gives; its row is
    // highlighted, added when it is not among the nine.
    void fitWithinNamesAndHighlightsTheLargestSize_data()
    {
        QTest::addColumn<std::int64_t>("within");
        QTest::addColumn<bool>("amongTheRows");
        const engine::Statistics at8 = alone(sourceFor(lines, 10), 8);
        const engine::Statistics at30 = alone(sourceFor(lines, 10), 30);
        QTest::newRow("exactly the 99% of size 8") << at8.exactFits[6] << true;
        QTest::newRow("a pixel short of it") << at8.exactFits[6] - 1 << true;
        QTest::newRow("size 30, outside the rows") << at30.exactFits[6] << false;
        QTest::newRow("wider than any size") << std::int64_t{1'000'000} << false;
        QTest::newRow("narrower than any") << std::int64_t{0} << false;
    }

    void fitWithinNamesAndHighlightsTheLargestSize()
    {
        QFETCH(std::int64_t, within);
        QFETCH(bool, amongTheRows);
        const report::SizesSource source = sourceFor(lines, 10);
        const engine::FaceAnswer expected = everySize(source, within);
        frmResults window(&owner);
        window.Load(inputFor(source));
        runModal(window, [&] {
            openSizes(window);
            SizesPanel* view = sizesOf(window);
            QLineEdit* box = view->fitWithinBox();
            box->setFocus();
            QTest::keyClicks(box, QString::number(within));
            QTest::keyClick(box, Qt::Key_Return);  // applies here, not Save
            QTRY_VERIFY_WITH_TIMEOUT(!view->busy() && !view->answer().isEmpty(), measuring);
            QVERIFY(window.isVisible());
            QCOMPARE(view->answer(),
                     QString::fromStdString(report::fitWithinSentence(face, expected, 99, within)) + ".");
            const QTableWidget* table = view->table();
            if (!expected.fits) {
                QVERIFY(!view->highlightedRow());
                QCOMPARE(table->rowCount(), 9);
                return;
            }
            QVERIFY(view->highlightedRow());
            const int row = static_cast<int>(*view->highlightedRow());
            QCOMPARE(table->rowCount(), amongTheRows ? 9 : 10);
            QCOMPARE(table->item(row, 0)->text(), QString::number(expected.fits->points));
            QCOMPARE(rowTexts(table, row), expectedTexts(expected.fits->points, alone(source, expected.fits->points)));
            for (int r = 0; r < table->rowCount(); ++r)
                QCOMPARE(highlighted(table, r), r == row);
            // In sight, though the table may scroll.
            QTRY_VERIFY(table->viewport()->rect().contains(table->visualItemRect(table->item(row, 0))));
            // Emptied, the box takes the answer away, and the added row.
            box->clear();
            QTest::keyClick(box, Qt::Key_Enter);
            QCOMPARE(view->answer(), QString());
            QCOMPARE(table->rowCount(), 9);
            QVERIFY(!view->highlightedRow());
        });
    }

    // With every column measured, the view answers for the column chosen in
    // the table, and measures again for another; the window does not grow
    // for it, so the answer's row is scrolled into sight.
    void followsTheChosenColumn()
    {
        std::vector<report::ReportInput> columns;
        std::vector<report::ColumnRow> rows;
        for (const std::size_t number : {std::size_t{1}, std::size_t{2}}) {
            engine::DelimitedFormat format;
            format.columns = {engine::ColumnChoice::byNumber(number)};
            columns.push_back(inputFor(sourceFor(csv, 10, format)));
            report::ColumnRow row;
            row.number = number;
            row.statistics = columns.back().statistics;
            rows.push_back(row);
        }
        frmResults window(&owner);
        window.LoadColumns(columns, rows);
        runModal(window, [&] {
            const int height = window.height();
            openSizes(window);
            SizesPanel* view = sizesOf(window);
            QTRY_VERIFY_WITH_TIMEOUT(!view->busy(), measuring);
            QCOMPARE(window.height(), height);
            QCOMPARE(rowTexts(view->table(), 4), expectedTexts(10, columns[0].statistics));

            window.findChild<ColumnTablePanel*>()->chooseRow(1);
            QVERIFY(view->busy());
            QTRY_VERIFY_WITH_TIMEOUT(!view->busy(), measuring);
            QCOMPARE(rowTexts(view->table(), 4), expectedTexts(10, columns[1].statistics));

            QTest::keyClicks(view->fitWithinBox(), QStringLiteral("100000"));
            QTest::keyClick(view->fitWithinBox(), Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(!view->busy() && view->highlightedRow(), measuring);
            const QTableWidget* table = view->table();
            QCOMPARE(table->item(static_cast<int>(*view->highlightedRow()), 0)->text(), QStringLiteral("144"));
            QVERIFY(table->viewport()->rect().contains(table->visualItemRect(table->item(9, 0))));
        });
    }

    // Nothing is measured until the view is opened; the next calculation's
    // results open on the chart, and their view waits again.
    void measuresOnlyOnceOpened()
    {
        settings.clear();  // opened at its first size
        const report::SizesSource source = sourceFor(lines, 10);
        frmResults window(&owner);
        window.Load(inputFor(source));
        runModal(window, [&] {
            SizesPanel* view = sizesOf(window);
            QTest::qWait(50);
            QVERIFY(!view->busy());
            QCOMPARE(view->table()->rowCount(), 0);
            const int before = window.height();
            openSizes(window);
            QVERIFY(view->busy());
            QTRY_VERIFY_WITH_TIMEOUT(!view->busy(), measuring);
            QCOMPARE(view->table()->rowCount(), 9);
            // Taller for its rows, as far as a small screen allows.
            QVERIFY(window.height() > before);
            QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
        });
        window.Load(inputFor(sourceFor(lines, 20)));
        runModal(window, [&] {
            SizesPanel* view = sizesOf(window);
            QCOMPARE(window.findChild<QTabBar*>(QStringLiteral("tabDistribution"))->currentIndex(), 0);
            QVERIFY(!view->busy());
            QCOMPARE(view->table()->rowCount(), 0);
            openSizes(window);
            QTRY_VERIFY_WITH_TIMEOUT(!view->busy(), measuring);
            QCOMPARE(view->table()->item(0, 0)->text(), QStringLiteral("16"));
        });
    }

    // Esc or Cancel stops the measuring and leaves the window open; Measure
    // starts it again, and Esc then closes the window as ever.
    void escapeOrCancelStopsTheMeasuring_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Esc") << true;
        QTest::newRow("Cancel") << false;
    }

    void escapeOrCancelStopsTheMeasuring()
    {
        QFETCH(bool, escape);
        // A gigabyte of nothing, on no disk: far more than a pass reads
        // before the stop.
        const QString big = folder.filePath("big.txt");
        {
            QFile file(big);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64{1} << 30));
        }
        frmResults window(&owner);
        window.Load(inputFor(sourceFor(lines, 10)));
        window.findChild<SizesPanel*>()->setSource(sourceFor(big, 10));
        const bool leftOpen = runModal(window, [&] {
            openSizes(window);
            SizesPanel* view = sizesOf(window);
            QVERIFY(view->busy());
            auto* cancel = view->findChild<QPushButton*>(QStringLiteral("cmdSizesCancel"));
            QVERIFY(cancel->isVisible());
            if (escape)
                QTest::keyClick(&window, Qt::Key_Escape);
            else
                cancel->click();
            QVERIFY(!view->busy());
            QVERIFY(window.isVisible());
            QCOMPARE(view->status(), QStringLiteral("Cancelled."));
            QCOMPARE(view->table()->rowCount(), 0);
            QCOMPARE(cancel->text(), QStringLiteral("&Measure"));
            QVERIFY(cancel->isVisible());
            cancel->click();
            QVERIFY(view->busy());
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(!view->busy());
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        QVERIFY(!leftOpen);
    }

    // A stream was read once by Calculate and is gone, and a file written
    // since would answer for other data: the view says so rather than
    // measure, and the box has nothing to look for.
    void whatCannotBeReadAgainIsSaidSo_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("said");
        QTest::newRow("a named pipe") << "fifo" << "cannot be read a second time";
        QTest::newRow("a file written since") << "changed" << "has changed since it was measured";
        QTest::newRow("nothing measured") << "none" << "no data file";
    }

    void whatCannotBeReadAgainIsSaidSo()
    {
        QFETCH(QString, kind);
        QFETCH(QString, said);
        report::SizesSource source = sourceFor(lines, 10);
        if (kind == "fifo") {
            const QString fifo = folder.filePath("fifo");
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            source = sourceFor(fifo, 10);
        } else if (kind == "changed") {
            const QString path = writeTestFile(folder, "changing.txt", someLines(3, 50));
            source = sourceFor(path, 10);
            source.stamp = engine::fileStamp(source.data);
            writeTestFile(path, someLines(3, 51));
        } else {
            source = report::SizesSource{};
        }
        frmResults window(&owner);
        window.Load(inputFor(sourceFor(lines, 10)));
        window.findChild<SizesPanel*>()->setSource(source);
        runModal(window, [&] {
            openSizes(window);
            SizesPanel* view = sizesOf(window);
            QVERIFY(!view->busy());
            QVERIFY2(view->status().contains(said), qPrintable(view->status()));
            QTest::keyClicks(view->fitWithinBox(), QStringLiteral("200"));
            QTest::keyClick(view->fitWithinBox(), Qt::Key_Return);
            QVERIFY(!view->busy());
            QCOMPARE(view->table()->rowCount(), 0);
            QCOMPARE(view->answer(), QString());
        });
    }
};

int main(int argc, char** argv)
{
    return runOnScreen<SizesViewTest>(argc, argv, {1024, 600, 96, "1"});  // a small laptop's
}
#include "SizesViewTest.moc"
