// Every column of a CSV or TSV file in the results window: "All columns"
// in the main window's list, the table below the designed controls, a
// chosen row shown in the designed labels, Save of that column as if
// measured alone, Save Table… and Copy of the table, sorting, and a table
// of hundreds of columns on a small screen.

#include "ColumnTablePanel.h"
#include "ElidedComboBox.h"
#include "ElidedLabel.h"
#include "MainWindowFixture.h"
#include "ResultsWindowHelpers.h"
#include "ScriptedDialogs.h"
#include "frmResults.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QtTest>

namespace {

const QStringList statisticsFields{"lblMin", "lblMax", "lblAvg", "lblStdDev", "lbl50", "lbl60",
                                   "lbl70",  "lbl80",  "lbl90",  "lbl95",     "lbl99"};

QString label(const QWidget* window, const QString& name)
{
    if (auto* elided = window->findChild<ElidedLabel*>(name))
        return elided->fullText();
    auto* field = window->findChild<QLabel*>(name);
    return field ? field->text() : QStringLiteral("<no %1>").arg(name);
}

QMap<QString, QString> statistics(const QWidget* window)
{
    QMap<QString, QString> shown;
    for (const QString& name : statisticsFields)
        shown[name] = label(window, name);
    return shown;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

// A synthetic column: `longest` pixels at most, over three values.
report::ReportInput columnReport(const std::string& caption, std::int64_t longest)
{
    report::ReportInput in;
    in.selections.faceText = "Arial";
    in.selections.sizeText = "10";
    in.selections.weightIndex = 3;
    in.selections.widthText = "Normal";
    in.dataFilePath = "/data/names.csv";
    in.dataFileTitle = "names.csv";
    in.delimited = true;
    in.column = caption;
    engine::WidthDistribution widths;
    for (const std::int64_t w : {std::int64_t{10}, longest / 2, longest})
        widths.add(w);
    in.statistics = engine::computeStatistics(widths);
    in.measured.widths = widths;
    return in;
}

report::ColumnRow columnRow(std::size_t number, const report::ReportInput& in, std::int64_t header)
{
    report::ColumnRow row;
    row.number = number;
    row.caption = in.column;
    row.statistics = in.statistics;
    row.headerWidth = header;
    row.sizedWidth = std::max(in.statistics.MaxWidth, header);
    row.sheet = engine::spreadsheetWidth(row.sizedWidth, 7);
    return row;
}

// Two columns, "city" the longer and "name" with the wider header.
void loadTwoColumns(frmResults& window)
{
    const report::ReportInput name = columnReport("name", 40), city = columnReport("city", 59);
    window.LoadColumns({name, city}, {columnRow(1, name, 52), columnRow(2, city, 20)});
}

const QString twoColumnsHeading = "#\tColumn\tValues\tShortest\tLongest\tAverage\t99% estimated\t99% measured\tHeader\t"
                                  "Sized\tCharacters\tCol width\n";
const QString nameRow = "1\tname\t3\t10\t40\t23.3\t59\t40\t52\t52\t7.43\t8.140625\n";
const QString cityRow = "2\tcity\t3\t10\t59\t32.7\t90\t59\t20\t59\t8.43\t9.140625\n";

}  // namespace

class ColumnTableTest : public QObject, private MainWindowFixture {
    Q_OBJECT

    QWidget owner;

    void choose(const QString& path)
    {
        dialogs_->openAnswers.push_back({true, path, 4});
        window_->Open();
    }

    // Calculates; inside the results window, runs then.
    void calculate(const std::function<void(frmResults*)>& then)
    {
        QTimer::singleShot(0, [this, then] { openedResults(then); });
        window_->Calculate();
    }
    void openedResults(const std::function<void(frmResults*)>& then)
    {
        auto* results = qobject_cast<frmResults*>(QApplication::activeModalWidget());
        if (!results) {
            QTimer::singleShot(10, [this, then] { openedResults(then); });  // not open yet
            return;
        }
        then(results);
        results->close();
    }

    static ColumnTablePanel* table(const QWidget* window) { return window->findChild<ColumnTablePanel*>(); }

private slots:
    void initTestCase() { keepSettingsInTheFolder(); }
    void init() { startAsAFirstRun(); }
    void cleanup() { closeTheWindow(); }

    // ------------------------------------------------ from the main window

    void choosingARowShowsThatColumnAsMeasuredAlone()
    {
        const QString path = writeFile(QStringLiteral("people.csv"),
                                       "id,name,city\n1,Ann,Oslo\n2,Christopher,\"Rio de Janeiro\"\n3,Bo,Lima\n");
        choose(path);
        QCOMPARE(window_->cmbColumn->currentText(), QStringLiteral("All columns"));

        // The city column alone, for comparison.
        window_->cmbColumn->setCurrentIndex(3);
        QMap<QString, QString> alone;
        calculate([&](frmResults* results) {
            alone = statistics(results);
            QVERIFY(!table(results) || !table(results)->isVisible());
        });

        window_->cmbColumn->setCurrentIndex(0);
        calculate([&](frmResults* results) {
            ColumnTablePanel* panel = table(results);
            QVERIFY(panel && panel->isVisible());
            QCOMPARE(panel->rows().size(), std::size_t{3});
            QCOMPARE(label(results, "lblDataFile"), QStringLiteral("people.csv, column id"));
            // From the keyboard: Tab to the table, down to its third row.
            panel->view()->setFocus();
            QTest::keyClick(panel->view(), Qt::Key_Down);
            QTest::keyClick(panel->view(), Qt::Key_Down);
            QCOMPARE(panel->chosenRow(), 2);
            QCOMPARE(label(results, "lblDataFile"), QStringLiteral("people.csv, column city"));
            QCOMPARE(statistics(results), alone);
        });
        QVERIFY(dialogs_->messages.isEmpty());
    }

    void savingAChosenColumnSavesItsReportAsMeasuredAlone()
    {
        const QString path = writeFile(QStringLiteral("sheet.csv"),
                                       "name,note\nAnn,\"first\nsecond line\"\nBo,x\n\"Cy, Jr\",\"\"\"quoted\"\"\"\n");
        choose(path);
        window_->cmbColumn->setCurrentIndex(2);
        const QString alone = folder_.filePath(QStringLiteral("alone.txt"));
        dialogs_->saveAnswers.push_back({true, alone});
        calculate([](frmResults* results) { results->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click(); });

        window_->cmbColumn->setCurrentIndex(0);
        const QString chosen = folder_.filePath(QStringLiteral("chosen.txt"));
        dialogs_->saveAnswers.push_back({true, chosen});
        calculate([](frmResults* results) {
            table(results)->chooseRow(1);
            results->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
        });
        QVERIFY(fileBytes(alone).startsWith("Font Face: "));
        QCOMPARE(fileBytes(chosen), fileBytes(alone));
        QCOMPARE(dialogs_->saveRequests.size(), 2);
        QCOMPARE(dialogs_->saveRequests[1].fileName, dialogs_->saveRequests[0].fileName);
    }

    void aFileOfOneColumnShowsNoTable()
    {
        choose(writeFile(QStringLiteral("one.csv"), "name\nAnn\nBo\n"));
        QCOMPARE(window_->cmbColumn->currentText(), QStringLiteral("All columns"));
        calculate([](frmResults* results) {
            QVERIFY(!table(results) || !table(results)->isVisible());
            QCOMPARE(label(results, "lblDataFile"), QStringLiteral("one.csv, column name"));
        });
    }

    // ------------------------------------------------ the window itself

    void copyPutsTheTableAsCellsInTheOrderShown()
    {
        frmResults window(&owner);
        loadTwoColumns(window);
        window.findChild<QPushButton*>(QStringLiteral("cmdCopy"))->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), twoColumnsHeading + nameRow + cityRow);

        // Longest first; Ctrl+C as the button.
        ColumnTablePanel* panel = table(&window);
        panel->sortBy(4);
        panel->sortBy(4);
        QGuiApplication::clipboard()->clear();
        runModal(window, [&] { QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier); });
        QCOMPARE(QGuiApplication::clipboard()->text(), twoColumnsHeading + cityRow + nameRow);
    }

    void everyHeadingSortsFromTheKeyboardsMenu()
    {
        frmResults window(&owner);
        loadTwoColumns(window);
        ColumnTablePanel* panel = table(&window);
        const QList<QAction*> actions = panel->view()->actions();
        QCOMPARE(actions.size(), static_cast<qsizetype>(report::tableColumns().size()));
        QCOMPARE(panel->view()->contextMenuPolicy(), Qt::ActionsContextMenu);
        const auto sortBy = [&](const QString& heading) {
            for (QAction* action : actions)
                if (action->text() == "Sort by " + heading)
                    action->trigger();
        };
        sortBy("Header");
        QCOMPARE(panel->shownOrder(), (std::vector<std::size_t>{1, 0}));  // 20 before 52
        sortBy("Header");
        QCOMPARE(panel->shownOrder(), (std::vector<std::size_t>{0, 1}));
        sortBy("Column");
        QCOMPARE(panel->shownOrder(), (std::vector<std::size_t>{1, 0}));  // city before name
        // The chosen column stays chosen whatever the order.
        panel->chooseRow(0);
        sortBy("Longest");
        QCOMPARE(panel->chosenRow(), 0);
        QCOMPARE(label(&window, "lblDataFile"), QStringLiteral("names.csv, column name"));
    }

    void saveTableWritesTheTableAsCsv()
    {
        ScriptedDialogs dialogs;
        frmResults window(&owner);
        loadTwoColumns(window);
        const QString path = folder_.filePath(QStringLiteral("table.csv"));
        dialogs.saveAnswers.push_back({true, path});
        auto* saveTable = window.findChild<QPushButton*>(QStringLiteral("cmdSaveTable"));
        QVERIFY(saveTable);
        QCOMPARE(saveTable->text(), QStringLiteral("Save &Table\u2026"));
        saveTable->click();
        QCOMPARE(dialogs.saveRequests.size(), 1);
        QCOMPARE(dialogs.saveRequests[0].fileName, QStringLiteral("Arial 10 point - names.csv.csv"));
        QCOMPARE(dialogs.saveRequests[0].filters.size(), 1);
        QCOMPARE(dialogs.saveRequests[0].filters[0].patterns, QStringList{"*.csv"});
        QCOMPARE(fileBytes(path), QByteArray("#,Column,Values,Shortest,Longest,Average,99% estimated,99% measured,"
                                             "Header,Sized,Characters,Col width\r\n"
                                             "1,name,3,10,40,23.3,59,40,52,52,7.43,8.140625\r\n"
                                             "2,city,3,10,59,32.7,90,59,20,59,8.43,9.140625\r\n"));
        QVERIFY(dialogs.messages.isEmpty());

        // A folder that is not there: said, and nothing else changes.
        dialogs.saveAnswers.push_back({true, folder_.filePath(QStringLiteral("gone/table.csv"))});
        saveTable->click();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].text.startsWith("The table could not be saved to '"),
                 qPrintable(dialogs.messages[0].text));
        // Cancelled: nothing written, nothing said.
        saveTable->click();
        QCOMPARE(dialogs.messages.size(), 1);
    }

    void theDesignedControlsStayWhereTheyAre()
    {
        frmResults window(&owner);
        window.Load(columnReport("name", 40));
        QMap<QString, QRect> before;
        const QList<QWidget*> designed = window.findChildren<QWidget*>(QRegularExpression("^(lbl|Label|Frame|cmd|fra)"));
        for (QWidget* widget : designed)
            before[widget->objectName()] = widget->geometry();
        const QSize alone = window.size();

        loadTwoColumns(window);
        auto* columns = window.findChild<QGroupBox*>(QStringLiteral("fraColumns"));
        QVERIFY(columns && !columns->isHidden());
        for (QWidget* widget : designed)
            QCOMPARE(widget->geometry(), before[widget->objectName()]);
        QVERIFY(columns->y() >= window.findChild<QGroupBox*>(QStringLiteral("Frame2"))->geometry().bottom());
        QVERIFY(window.height() > alone.height());
        QVERIFY(window.rect().contains(columns->geometry()));
        QCOMPARE(columns->title(), QStringLiteral("Columns"));
        // As tall as its rows, with no empty space below the last.
        QTableView* view = table(&window)->view();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(view->rowAt(view->viewport()->height() - 2), 1);
        window.hide();

        // One column again: the table goes, and the window is as designed.
        window.Load(columnReport("name", 40));
        QVERIFY(columns->isHidden());
        QCOMPARE(window.size(), alone);
        window.findChild<QPushButton*>(QStringLiteral("cmdCopy"))->click();
        QVERIFY(QGuiApplication::clipboard()->text().startsWith("Font Face: Arial\n"));
    }

    void hundredsOfColumnsScrollWithinTheScreen()
    {
        frmResults window(&owner);
        std::vector<report::ReportInput> inputs;
        std::vector<report::ColumnRow> rows;
        for (std::size_t c = 1; c <= 300; ++c) {
            inputs.push_back(columnReport("column " + std::to_string(c), static_cast<std::int64_t>(20 + c)));
            rows.push_back(columnRow(c, inputs.back(), 30));
        }
        window.LoadColumns(std::move(inputs), std::move(rows));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect free = window.screen()->availableGeometry();
        QVERIFY2(window.frameGeometry().height() <= free.height(),
                 qPrintable(QStringLiteral("%1 > %2").arg(window.frameGeometry().height()).arg(free.height())));
        QTableView* view = table(&window)->view();
        QVERIFY(view->verticalScrollBar()->isVisible());
        QVERIFY(view->rowAt(view->viewport()->height() - 1) < 299);
        // The last row is within reach of the keyboard.
        view->setFocus();
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(table(&window)->chosenRow(), 299);
        QCOMPARE(label(&window, "lblDataFile"), QStringLiteral("names.csv, column column 300"));
    }
};

QTEST_MAIN(ColumnTableTest)
#include "ColumnTableTest.moc"
