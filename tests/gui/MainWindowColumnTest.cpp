// The main window with a CSV or TSV data file: the Column list and the
// header box of step 4, what Calculate measures, what the results and the
// report call the column, and the column remembered per file extension.
// Dialogs are answered by ScriptedDialogs; settings live in a temporary
// folder.

#include "CurrentFont.h"
#include "ElidedComboBox.h"
#include "ElidedLabel.h"
#include "PreviewBox.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "Settings.h"
#include "SortedComboBox.h"
#include "WindowFont.h"
#include "MainWindowFixture.h"
#include "frmMain.h"
#include "frmResults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <functional>
#include <memory>

namespace {

const QString app = QStringLiteral("Spanwick");

QString stored(const QString& key) { return platform::GetSetting(app, "Settings", key, "<none>"); }

QStringList entries(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

// What the results window shows, read when it opens; then it is closed.
const QStringList shownFields{"lblDataFile", "lblMin", "lblMax", "lblAvg", "lblStdDev", "lbl50",
                              "lbl60",       "lbl70",  "lbl80",  "lbl90",  "lbl95",     "lbl99"};

void readNextResults(QMap<QString, QString>* shown, QString* dataFileTip, const std::function<void(QWidget*)>& then,
                     QDeadlineTimer deadline = QDeadlineTimer(10'000))
{
    QTimer::singleShot(0, [=] {
        auto* results = qobject_cast<frmResults*>(QApplication::activeModalWidget());
        if (!results) {
            if (!deadline.hasExpired())
                readNextResults(shown, dataFileTip, then, deadline);  // not open yet
            return;
        }
        for (const QString& name : shownFields)
            (*shown)[name] = results->findChild<QLabel*>(name)->text();
        // The data file's field may be elided; its tooltip holds the whole path.
        auto* dataFile = results->findChild<ElidedLabel*>(QStringLiteral("lblDataFile"));
        (*shown)[QStringLiteral("lblDataFile")] = dataFile->fullText();
        *dataFileTip = dataFile->toolTip();
        if (then)
            then(results);
        results->close();
    });
}

}  // namespace

class MainWindowColumnTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private:
    void choose(const QString& path)
    {
        dialogs_->openAnswers.push_back({true, path, 4});
        window_->Open();
    }

    // Calculates, and reads the results window; with a report path, saves
    // the report there first and returns its lines.
    QStringList calculate(QMap<QString, QString>* shown, QString* dataFileTip, const QString& reportPath = {})
    {
        if (!reportPath.isEmpty())
            dialogs_->saveAnswers.push_back({true, reportPath});
        readNextResults(shown, dataFileTip, [&reportPath](QWidget* results) {
            if (!reportPath.isEmpty())
                results->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
        });
        window_->Calculate();
        if (reportPath.isEmpty())
            return {};
        QFile report(reportPath);
        if (!report.open(QIODevice::ReadOnly))
            return {QStringLiteral("<no report>")};
        return QString::fromUtf8(report.readAll()).split(QStringLiteral("\r\n"));
    }

private slots:
    void initTestCase() { keepSettingsInTheFolder(); }
    void init() { startAsAFirstRun(); }
    void cleanup() { closeTheWindow(); }

    // ------------------------------------------------ the Column list

    void columnListFillsFromTheFirstRecord_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("withHeader");     // empty: no column controls
        QTest::addColumn<QStringList>("withoutHeader");
        QTest::newRow("names") << "names.csv" << QByteArray("name,city\nAnn,Oslo\n") << QStringList{"name", "city"}
                               << QStringList{"Column 1", "Column 2"};
        QTest::newRow("quoted names")
            << "quoted.csv" << QByteArray("\"last, first\",\"say \"\"hi\"\"\",plain\r\nx,y,z\r\n")
            << QStringList{"last, first", "say \"hi\"", "plain"} << QStringList{"Column 1", "Column 2", "Column 3"};
        QTest::newRow("name over two lines") << "lines.csv" << QByteArray("\"first\r\nname\",age\n\"A\",1\n")
                                             << QStringList{"first name", "age"}
                                             << QStringList{"Column 1", "Column 2"};
        QTest::newRow("semicolons") << "semi.csv" << QByteArray("name;city;zip\nAnn;Oslo;0150\n")
                                    << QStringList{"name", "city", "zip"}
                                    << QStringList{"Column 1", "Column 2", "Column 3"};
        QTest::newRow("tsv") << "people.tsv" << QByteArray("name\tcity, country\nAnn\tOslo, Norway\n")
                             << QStringList{"name", "city, country"} << QStringList{"Column 1", "Column 2"};
        QTest::newRow("extension in capitals") << "NAMES.CSV" << QByteArray("a,b\n") << QStringList{"a", "b"}
                                               << QStringList{"Column 1", "Column 2"};
        QTest::newRow("UTF-8 with a byte-order mark")
            << "bom.csv" << QByteArray("\xEF\xBB\xBF" "F\xC3\xB6rnamn,Ort\n") << QStringList{"F\u00f6rnamn", "Ort"}
            << QStringList{"Column 1", "Column 2"};
        QTest::newRow("empty header field") << "gap.csv" << QByteArray(",city\n1,2\n")
                                            << QStringList{"Column 1", "city"} << QStringList{"Column 1", "Column 2"};
        QTest::newRow("empty file") << "empty.csv" << QByteArray() << QStringList{"Column 1"}
                                    << QStringList{"Column 1"};
        QTest::newRow("plain text") << "names.txt" << QByteArray("name,city\n") << QStringList() << QStringList();
        QTest::newRow("csv only in the middle") << "names.csv.txt" << QByteArray("a,b\n") << QStringList()
                                                << QStringList();
    }

    void columnListFillsFromTheFirstRecord()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, withHeader);
        QFETCH(QStringList, withoutHeader);
        frmMain& w = *window_;
        QVERIFY(!w.cmbColumn->isVisible() && !w.chkHeader->isVisible() && !w.lblColumn->isVisible());

        choose(writeFile(name, bytes));
        const bool shown = !withHeader.isEmpty();
        QCOMPARE(w.cmbColumn->isVisible(), shown);
        QCOMPARE(w.chkHeader->isVisible(), shown);
        QCOMPARE(w.lblColumn->isVisible(), shown);
        if (!shown)
            return;
        QVERIFY(w.chkHeader->isChecked());
        // Every column first, and chosen.
        QCOMPARE(entries(w.cmbColumn), QStringList{"All columns"} + withHeader);
        QCOMPARE(w.cmbColumn->currentIndex(), 0);

        w.chkHeader->setChecked(false);
        QCOMPARE(entries(w.cmbColumn), QStringList{"All columns"} + withoutHeader);
    }

    void aLongNameIsShortenedInTheBox()
    {
        frmMain& w = *window_;
        const QString longName = QStringLiteral("street address, second line, as the export names it");
        choose(writeFile(QStringLiteral("long.csv"), "id,\"" + longName.toUtf8() + "\"\n"));
        w.cmbColumn->setCurrentIndex(1);
        QCOMPARE(w.cmbColumn->shownText(), QStringLiteral("id"));
        w.cmbColumn->setCurrentIndex(2);
        const QString shown = w.cmbColumn->shownText();
        QVERIFY2(shown.endsWith(u'\u2026') && longName.startsWith(shown.chopped(1)), qPrintable(shown));
        // Pointing at it shows the whole name.
        QHelpEvent help(QEvent::ToolTip, w.cmbColumn->rect().center(),
                        w.cmbColumn->mapToGlobal(w.cmbColumn->rect().center()));
        QApplication::sendEvent(w.cmbColumn, &help);
        QTRY_COMPARE(QToolTip::text(), longName);
        QToolTip::hideText();
    }

    void headerBoxKeepsTheColumnAndRedrawsNothing()
    {
        frmMain& w = *window_;
        choose(writeFile(QStringLiteral("three.csv"), "id,name,city\n1,Ann,Oslo\n"));
        QTest::qWait(50);  // let the repaints of showing the controls finish
        const int draws = w.drawCount();

        w.cmbColumn->setCurrentIndex(3);
        QTest::mouseClick(w.chkHeader, Qt::LeftButton, {}, QPoint(6, w.chkHeader->height() / 2));
        QVERIFY(!w.chkHeader->isChecked());
        QCOMPARE(w.cmbColumn->currentText(), QStringLiteral("Column 3"));
        QTest::mouseClick(w.chkHeader, Qt::LeftButton, {}, QPoint(6, w.chkHeader->height() / 2));
        QCOMPARE(w.cmbColumn->currentText(), QStringLiteral("city"));
        QTest::qWait(50);
        QCOMPARE(w.drawCount(), draws);
        QCOMPARE(w.selections().faceText, w.cmbFont->currentText().toStdString());
    }

    // Choosing a file redraws the preview at most once, besides what the
    // window's growing or shrinking for the column rows redraws: no more
    // than making the window as much taller by hand does.
    void choosingAFileRedrawsAtMostOnce()
    {
        frmMain& w = *window_;
        QTest::qWait(50);
        const int height = w.height();
        int draws = w.drawCount();
        w.resize(w.width(), height + 52);
        QTest::qWait(50);
        const int resizing = w.drawCount() - draws;
        w.resize(w.width(), height);
        QTest::qWait(50);
        draws = w.drawCount();
        choose(writeFile(QStringLiteral("a.csv"), "x,y\n"));
        QTest::qWait(50);
        QVERIFY(w.height() > height);
        QVERIFY2(w.drawCount() - draws <= resizing + 1, qPrintable(QString::number(w.drawCount() - draws)));
        draws = w.drawCount();
        choose(writeFile(QStringLiteral("b.txt"), "x\n"));  // hides them again
        QTest::qWait(50);
        QCOMPARE(w.height(), height);
        QVERIFY2(w.drawCount() - draws <= resizing + 1, qPrintable(QString::number(w.drawCount() - draws)));
        draws = w.drawCount();
        choose(writeFile(QStringLiteral("c.txt"), "x\n"));  // nothing to hide
        QTest::qWait(50);
        QVERIFY2(w.drawCount() - draws <= 1, qPrintable(QString::number(w.drawCount() - draws)));
    }

    void eachFileStartsWithItsHeaderOn()
    {
        frmMain& w = *window_;
        choose(writeFile(QStringLiteral("a.csv"), "x,y\n"));
        w.chkHeader->setChecked(false);
        w.openStartupFile(writeFile(QStringLiteral("b.tsv"), "p\tq\tr\n"));  // the command line's way
        QVERIFY(w.chkHeader->isVisible());
        QVERIFY(w.chkHeader->isChecked());
        QCOMPARE(entries(w.cmbColumn), QStringList({"All columns", "p", "q", "r"}));
    }

    void columnControlsFollowTheOtherInputs()
    {
        frmMain& w = *window_;
        choose(writeFile(QStringLiteral("a.csv"), "x,y\n"));
        // Tab: Open, then the file's column and header box, then Calculate.
        QWidget* current = w.cmdOpen;
        for (QWidget* next : QList<QWidget*>{w.cmbColumn, w.chkHeader, w.cmdCalculate}) {
            do
                current = current->nextInFocusChain();
            while (!(current->focusPolicy() & Qt::TabFocus) || !current->isVisible());
            QCOMPARE(current, next);
        }
        // Busy, they are off with the rest.
        w.DisableInputs();
        QVERIFY(!w.cmbColumn->isEnabled() && !w.chkHeader->isEnabled() && !w.lblColumn->isEnabled());
        w.EnableInputs();
        QVERIFY(w.cmbColumn->isEnabled() && w.chkHeader->isEnabled() && w.lblColumn->isEnabled());
    }

    // Step 4 with a CSV file: its name (elided in the middle), then the
    // Column list, then the header box, in the order they are used, inside
    // the step and touching nothing; the line and the buttons make room
    // below and go back when a plain file follows.
    void stepFourHoldsTheColumnRowsInOrder()
    {
        frmMain& w = *window_;
        const QRectF designedLine = w.twipsOf(w.Line1), designedCalculate = w.twipsOf(w.cmdCalculate);
        const QString name = QStringLiteral("customer export for the autumn campaign, all regions, final.csv");
        choose(writeFile(QStringLiteral("exports/") + name, "id,name,note\n1,a,b\n"));
        QVERIFY(w.cmbColumn->isVisible() && w.chkHeader->isVisible());

        const QString shown = w.lblFile->text();
        QVERIFY2(shown.contains(u'…') && shown.startsWith(QStringLiteral("cust")) && shown.endsWith(QStringLiteral(".csv")),
                 qPrintable(shown));
        QVERIFY(w.lblFile->fontMetrics().horizontalAdvance(shown) <= w.lblFile->contentsRect().width());
        QCOMPARE(w.lblFile->toolTip(), w.dataFilePath());

        const auto box = [](const QWidget* control) { return control->geometry(); };
        // In the order they are used, top to bottom, within the step.
        QVERIFY(box(w.lblStep4Label).bottom() < box(w.lblFile).top());
        QVERIFY(std::max(box(w.lblFile).bottom(), box(w.cmdOpen).bottom()) < box(w.cmbColumn).top());
        const int labelMiddle = box(w.lblColumn).center().y();  // beside its list
        QVERIFY(labelMiddle > box(w.cmbColumn).top() && labelMiddle < box(w.cmbColumn).bottom());
        QVERIFY(box(w.cmbColumn).bottom() < box(w.chkHeader).top());
        QVERIFY(box(w.chkHeader).bottom() < box(w.Line1).top());
        // Nothing touches them.
        for (QWidget* ours : QList<QWidget*>{w.lblColumn, w.cmbColumn, w.chkHeader}) {
            for (QWidget* other : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (other == ours || other->isHidden() || (ours == w.lblColumn && other == w.cmbColumn) ||
                    (ours == w.cmbColumn && other == w.lblColumn))
                    continue;
                QVERIFY2(!box(ours).adjusted(-1, -1, 1, 1).intersects(box(other)),
                         qPrintable(ours->objectName() + " touches " + other->objectName()));
            }
            QVERIFY(w.rect().contains(box(ours)));
        }
        QVERIFY(!box(w.lblColumn).intersects(box(w.cmbColumn)));
        // The rows below moved down together, as far as the rows need.
        const double moved = w.twipsOf(w.Line1).top() - designedLine.top();
        QVERIFY(moved > 0);
        QCOMPARE(w.twipsOf(w.cmdCalculate).top() - designedCalculate.top(), moved);
        QVERIFY(w.rect().contains(box(w.cmdExit)));

        choose(writeFile(QStringLiteral("names.txt"), "x\n"));
        QCOMPARE(w.twipsOf(w.Line1), designedLine);
        QCOMPARE(w.twipsOf(w.cmdCalculate), designedCalculate);
    }

    // ------------------------------------------------ Calculate

    void calculateMeasuresTheChosenColumn_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("header");
        QTest::addColumn<int>("position");
        QTest::addColumn<QByteArray>("sameAsPlain");  // the column's values, one per line
        QTest::addColumn<QString>("column");
        const QByteArray people = "name,city\nAnn,Oslo\nBob,\"Rio de Janeiro\"\nCy,\"S\xC3\xA3o Paulo, SP\"\n";
        QTest::newRow("second column by its name")
            << "people.csv" << people << true << 2 << QByteArray("Oslo\nRio de Janeiro\nS\xC3\xA3o Paulo, SP\n")
            << "city";
        QTest::newRow("first column") << "people.csv" << people << true << 1 << QByteArray("Ann\nBob\nCy\n")
                                      << "name";
        QTest::newRow("header off: the first row is data")
            << "people.csv" << people << false << 1 << QByteArray("name\nAnn\nBob\nCy\n") << "Column 1";
        QTest::newRow("semicolons") << "semi.csv" << QByteArray("a;b\n1;Wide value\n2;x\n") << true << 2
                                    << QByteArray("Wide value\nx\n") << "b";
        QTest::newRow("tsv") << "t.tsv" << QByteArray("a\tb\n1\tWide, value\n2\tx\n") << true << 2
                             << QByteArray("Wide, value\nx\n") << "b";
        // A value over several lines is as wide as its widest line.
        QTest::newRow("value over lines")
            << "notes.csv" << QByteArray("id,note\n1,\"short\nA much longer line\nmid\"\n2,tiny\n") << true << 2
            << QByteArray("A much longer line\ntiny\n") << "note";
        QTest::newRow("short record") << "short.csv" << QByteArray("a,b\n1,Beta\n2\n3,Gamma\n") << true << 2
                                      << QByteArray("Beta\n\nGamma\n") << "b";
    }

    void calculateMeasuresTheChosenColumn()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, header);
        QFETCH(int, position);
        QFETCH(QByteArray, sameAsPlain);
        QFETCH(QString, column);
        frmMain& w = *window_;

        const QString plainPath = writeFile(QStringLiteral("values.txt"), sameAsPlain);
        choose(plainPath);
        QMap<QString, QString> plain;
        QString plainTip;
        const QStringList plainReport = calculate(&plain, &plainTip, folder_.filePath(QStringLiteral("plain.txt")));
        QCOMPARE(plain["lblDataFile"], QStringLiteral("values.txt"));
        QCOMPARE(plainReport.value(7), QStringLiteral("Data File: ") + plainPath);  // plain files keep their line

        const QString path = writeFile(name, bytes);
        choose(path);
        w.chkHeader->setChecked(header);
        w.cmbColumn->setCurrentIndex(position);
        QMap<QString, QString> shown;
        QString tip;
        const QStringList report = calculate(&shown, &tip, folder_.filePath(QStringLiteral("column.txt")));
        QVERIFY(dialogs_->messages.isEmpty());

        // The same statistics as the values measured one per line.
        for (const QString& field : shownFields)
            if (field != "lblDataFile")
                QCOMPARE(field + ": " + shown[field], field + ": " + plain[field]);
        QCOMPARE(shown["lblDataFile"], name + ", column " + column);
        QCOMPARE(tip, path + ", column " + column);
        QCOMPARE(report.size(), 22);  // 21 lines, each ended
        QCOMPARE(report.value(7), QStringLiteral("Data File: ") + path + ", column " + column);
        for (int i = 0; i < 21; ++i)
            if (i != 7)
                QCOMPARE(report.value(i).section(':', 0, 0), plainReport.value(i).section(':', 0, 0));
    }

    void calculateTellsWhatIsWrongWithTheFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");  // %1: the path, %2: the name
        QTest::newRow("quote never closed")
            << "open.csv" << QByteArray("name,note\nAnn,fine\nBob,\"starts here\nand runs on\n")
            << "The data file '%1' has a quoted field that starts on line 3 and never ends.";
        QTest::newRow("header alone") << "head.csv" << QByteArray("name,note\n")
                                      << "The data file '%2' does not contain any data.";
    }

    void calculateTellsWhatIsWrongWithTheFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = writeFile(name, bytes);
        choose(path);
        QTimer closer;  // results instead of a message would otherwise wait for a user
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        closer.start(50);
        window_->Calculate();
        QCOMPARE(dialogs_->messages.size(), 1);
        QCOMPARE(dialogs_->messages[0].text, QString(message).replace("%1", path).replace("%2", name));
        QCOMPARE(dialogs_->messages[0].icon, platform::MessageIcon::Critical);
        QVERIFY(window_->cmbColumn->isEnabled() && window_->cmdCalculate->isEnabled());
    }

    // ------------------------------------------------ the remembered column

    void rememberedColumnIsSelected_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("selected");
        const QString csv = "Column_csv", tsv = "Column_tsv";
        QTest::newRow("name in the header") << csv << "city" << "a.csv" << "city";
        QTest::newRow("name in other case") << csv << "CITY" << "a.csv" << "city";
        QTest::newRow("name not in the header") << csv << "zip" << "a.csv" << "All columns";
        QTest::newRow("tsv's name for a csv file") << tsv << "city" << "a.csv" << "All columns";
        QTest::newRow("tsv's name for a tsv file") << tsv << "city" << "a.tsv" << "city";
        QTest::newRow("extension in capitals") << csv << "city" << "A.CSV" << "city";
    }

    void rememberedColumnIsSelected()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, name);
        QFETCH(QString, selected);
        QSettings settings(app, app);
        settings.setValue(QStringLiteral("Settings/") + key, value);
        settings.sync();
        const QByteArray bytes = name.endsWith("tsv", Qt::CaseInsensitive) ? "name\tcity\n" : "name,city\n";
        choose(writeFile(name, bytes));
        QCOMPARE(window_->cmbColumn->currentText(), selected);
    }

    void chosenColumnIsRememberedPerExtension()
    {
        frmMain& w = *window_;
        choose(writeFile(QStringLiteral("a.csv"), "id,name,city\n"));
        QCOMPARE(stored("Column_csv"), QStringLiteral("<none>"));  // the default is not a choice
        w.cmbColumn->setFocus();
        QTest::keyClick(w.cmbColumn, Qt::Key_Down);  // as the user picks it
        QTest::keyClick(w.cmbColumn, Qt::Key_Down);
        QCOMPARE(w.cmbColumn->currentText(), QStringLiteral("name"));
        QCOMPARE(stored("Column_csv"), QStringLiteral("name"));
        QCOMPARE(stored("Column_tsv"), QStringLiteral("<none>"));

        // Without a header there is no name to remember.
        w.chkHeader->setChecked(false);
        QTest::keyClick(w.cmbColumn, Qt::Key_Down);
        QCOMPARE(w.cmbColumn->currentText(), QStringLiteral("Column 3"));
        QCOMPARE(stored("Column_csv"), QStringLiteral("name"));

        // The next run opens another file of the kind on that column.
        restart();
        choose(writeFile(QStringLiteral("b.csv"), "name,id\n"));
        QCOMPARE(window_->cmbColumn->currentText(), QStringLiteral("name"));

        // Every column again: the next file opens on every column.
        window_->cmbColumn->setFocus();
        QTest::keyClick(window_->cmbColumn, Qt::Key_Home);
        QCOMPARE(window_->cmbColumn->currentText(), QStringLiteral("All columns"));
        choose(writeFile(QStringLiteral("c.csv"), "id,name\n"));
        QCOMPARE(window_->cmbColumn->currentText(), QStringLiteral("All columns"));
    }
};

QTEST_MAIN(MainWindowColumnTest)
#include "MainWindowColumnTest.moc"
