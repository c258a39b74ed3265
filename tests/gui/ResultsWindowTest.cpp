// The results window: the values it shows, Save and the report it writes,
// the keys and closing, and its fixed layout.

#include "TestSettings.h"
#include "FileSizeLimit.h"
#include "MeasuredReport.h"
#include "ScriptedDialogs.h"
#include "ResultsWindowHelpers.h"
#include "SmallDisk.h"
#include "TestFiles.h"
#include "Twips.h"
#include "WidthStatistics.h"
#include "WindowFont.h"
#include "frmResults.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <numeric>
#include <optional>

Q_DECLARE_METATYPE(report::ReportInput)
Q_DECLARE_METATYPE(platform::CaptionKind)

namespace {

using Fields = QMap<QString, QString>;

report::ReportInput input(std::vector<std::int64_t> widths, std::string face = "Arial", std::string width = "Normal",
                          int italic = 0, std::string path = "/home/user/names.txt")
{
    report::ReportInput in;
    in.selections.faceText = std::move(face);
    in.selections.sizeText = "10";
    in.selections.italic = italic;
    in.selections.weightIndex = 3;
    in.selections.widthText = std::move(width);
    in.dataFilePath = std::move(path);
    in.dataFileTitle = in.dataFilePath.substr(in.dataFilePath.rfind('/') + 1);
    engine::WidthDistribution distribution;
    for (const std::int64_t w : widths)
        distribution.add(w);
    in.statistics = engine::computeStatistics(distribution);
    return in;
}

const QStringList valueFields{"lblFontFace", "lblFontSize", "lblItalic", "lblUnderline", "lblStrikeOut",
                              "lblWeight", "lblWidth", "lblDataFile", "lblMin", "lblMax", "lblAvg",
                              "lblStdDev", "lbl50", "lbl60", "lbl70", "lbl80", "lbl90", "lbl95", "lbl99"};

QString shown(const QWidget& window, const QString& name)
{
    auto* field = window.findChild<QLabel*>(name);
    return field ? field->text() : QStringLiteral("<no %1>").arg(name);
}

QPushButton* button(const QWidget& window, const char* name) { return window.findChild<QPushButton*>(name); }

const QByteArray oneLineOf12 =
    "Font Face: Arial\r\nFont Size: 10\r\nItalic: No\r\nUnderline: No\r\nStrikethrough: No\r\n"
    "Weight: Normal\r\nWidth: Normal\r\nData File: /home/user/names.txt\r\n\r\n"
    "Minimum Length: 12 pixels.\r\nMaximum Length: 12 pixels.\r\nAverage Length: 12 pixels.\r\n"
    "Standard Deviation: 0.0 pixels.\r\n\r\n"
    "50% of the data will fit within 12 pixels.\r\n60% of the data will fit within 12 pixels.\r\n"
    "70% of the data will fit within 12 pixels.\r\n80% of the data will fit within 12 pixels.\r\n"
    "90% of the data will fit within 12 pixels.\r\n95% of the data will fit within 12 pixels.\r\n"
    "99% of the data will fit within 12 pixels.\r\n";

const QByteArray tenAndTwenty =
    "Font Face: DejaVu Sans\r\nFont Size: 10\r\nItalic: Yes\r\nUnderline: No\r\nStrikethrough: No\r\n"
    "Weight: Normal\r\nWidth: 1 pixel\r\nData File: /home/j\xC3\xBCrgen/M\xC3\xA4rz \xE2\x80\x93 Kunden.txt\r\n\r\n"
    "Minimum Length: 10 pixels.\r\nMaximum Length: 20 pixels.\r\nAverage Length: 15 pixels.\r\n"
    "Standard Deviation: 7.1 pixels.\r\n\r\n"
    "50% of the data will fit within 15 pixels.\r\n60% of the data will fit within 17 pixels.\r\n"
    "70% of the data will fit within 19 pixels.\r\n80% of the data will fit within 21 pixels.\r\n"
    "90% of the data will fit within 24 pixels.\r\n95% of the data will fit within 27 pixels.\r\n"
    "99% of the data will fit within 31 pixels.\r\n";

}  // namespace

class ResultsWindowTest : public QObject {
    Q_OBJECT

    TestSettings settings;

    QWidget owner;
    QLocale originalLocale;

private slots:
    void init()
    {
        engine::WidthStatistics = {};
        QLocale::setDefault(originalLocale);
    }

    void valueFieldsShowTheirNamesUntilLoaded()
    {
        frmResults window(&owner);
        for (const QString& name : valueFields)
            QCOMPARE(shown(window, name), name);
        window.Load(input({12}));
        QCOMPARE(window.windowTitle(), QStringLiteral("Spanwick Version 1.1.0"));
        for (const QString& name : valueFields)
            QVERIFY2(shown(window, name) != name, qPrintable(name));
    }

    void shownValues_data()
    {
        QTest::addColumn<report::ReportInput>("in");
        QTest::addColumn<Fields>("expected");
        QTest::newRow("one line of 12")
            << input({12})
            << Fields{{"lblMin", "12 pixels"}, {"lblMax", "12 pixels"}, {"lblAvg", "12 pixels"},
                      {"lblStdDev", "0.0 pixels"}, {"lbl50", "50% of the data will fit within 12 pixels"},
                      {"lbl80", "80% of the data will fit within 12 pixels"},
                      {"lbl99", "99% of the data will fit within 12 pixels"}};
        QTest::newRow("10 and 20")
            << input({10, 20})
            << Fields{{"lblMin", "10 pixels"}, {"lblMax", "20 pixels"}, {"lblAvg", "15 pixels"},
                      {"lblStdDev", "7.1 pixels"}, {"lbl50", "50% of the data will fit within 15 pixels"},
                      {"lbl60", "60% of the data will fit within 17 pixels"},
                      {"lbl99", "99% of the data will fit within 31 pixels"}};
        QTest::newRow("average 12.5 rounds up") << input({12, 13}) << Fields{{"lblAvg", "13 pixels"}};
        QTest::newRow("italic only") << input({12}, "Arial", "Normal", 1)
                                     << Fields{{"lblItalic", "Yes"}, {"lblUnderline", "No"}, {"lblStrikeOut", "No"}};
        QTest::newRow("only state 1 is checked")
            << input({12}, "Arial", "Normal", 2) << Fields{{"lblItalic", "No"}};
        const std::pair<const char*, const char*> widths[] = {
            {"Normal", "Normal"}, {"1", "1 pixel"}, {"2", "2 pixels"}, {"12", "12 pixels"}, {"100", "100 pixels"}};
        for (const auto& [width, text] : widths)
            QTest::addRow("width %s", width) << input({12}, "Arial", width) << Fields{{"lblWidth", text}};
        QTest::newRow("markup and ampersand as they are")
            << input({12}, "<b>R&D</b> Sans", "Normal", 0, "/data/<i>x & y.txt")
            << Fields{{"lblFontFace", "<b>R&D</b> Sans"}, {"lblDataFile", "<i>x & y.txt"}};
    }

    void shownValues()
    {
        QFETCH(report::ReportInput, in);
        QFETCH(Fields, expected);
        frmResults window(&owner);
        window.Load(in);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(shown(window, it.key()), it.value());
        for (auto* field : window.findChildren<QLabel*>())
            QCOMPARE(field->textFormat(), Qt::PlainText);
    }

    void dataFileShowsNameWithPathAsTooltip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shownPath");
        QTest::newRow("plain") << "/home/user/data/customer names.txt" << "customer names.txt"
                               << "/home/user/data/customer names.txt";
        QTest::newRow("non-ASCII") << "/home/jürgen/März – Kunden.txt" << "März – Kunden.txt"
                                   << "/home/jürgen/März – Kunden.txt";
        QTest::newRow("looks like markup") << "/data/<b>R&amp;D.txt" << "<b>R&amp;D.txt" << "/data/<b>R&amp;D.txt";
        QTest::newRow("line breaks") << "/data/new\nline\r\nfolder/a\nb.txt" << "a?b.txt"
                                     << "/data/new?line??folder/a?b.txt";
        QTest::newRow("tab, DEL and C1") << "/data/\t\x7F\u0085.txt" << "???.txt" << "/data/???.txt";
    }

    void dataFileShowsNameWithPathAsTooltip()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, shownPath);
        frmResults window(&owner);
        window.Load(input({12}, "Arial", "Normal", 0, path.toStdString()));
        QCOMPARE(shown(window, "lblDataFile"), name);
        QCOMPARE(readAs(window.findChild<QLabel*>("lblDataFile")->toolTip()), shownPath);
    }

    void secondLoadCarriesNothingOver()
    {
        frmResults reused(&owner), fresh(&owner);
        reused.Load(input({10, 20}, "Arial", "1", 1, "/tmp/first.txt"));
        const report::ReportInput second = input({12}, "DejaVu Sans", "Normal", 0, "/tmp/second.txt");
        reused.Load(second);
        fresh.Load(second);
        for (const QString& name : valueFields)
            QCOMPARE(shown(reused, name), shown(fresh, name));
        QCOMPARE(shown(reused, "lblFontFace"), QStringLiteral("DejaVu Sans"));
        QCOMPARE(reused.findChild<QLabel*>("lblDataFile")->toolTip(), QStringLiteral("/tmp/second.txt"));
    }

    void saveWritesTheReport_data()
    {
        QTest::addColumn<report::ReportInput>("in");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("one line of 12") << input({12}) << oneLineOf12 << "Arial 10 point - names.txt.txt";
        QTest::newRow("10 and 20, italic, non-ASCII path")
            << input({10, 20}, "DejaVu Sans", "1", 1, "/home/jürgen/März – Kunden.txt") << tenAndTwenty
            << "DejaVu Sans 10 point - März – Kunden.txt.txt";
    }

    void saveWritesTheReport()
    {
        QFETCH(report::ReportInput, in);
        QFETCH(QByteArray, expected);
        QFETCH(QString, proposed);
        QTemporaryDir folder;
        const QString path = folder.filePath("report.txt");
        ScriptedDialogs dialogs;
        dialogs.saveAnswers.push_back({true, path});
        frmResults window(&owner);
        window.Load(in);
        button(window, "cmdSave")->click();
        button(window, "cmdSave")->click();  // cancelled; the name chosen last is not offered again

        QCOMPARE(readTestFile(path), expected);
        QCOMPARE(expected.count("\r\n"), 21);
        QCOMPARE(QString::fromStdString(engine::WidthStatistics.ReportPath), path);
        QCOMPARE(dialogs.saveRequests.size(), 2);
        QCOMPARE(dialogs.saveRequests[0].fileName, proposed);
        QCOMPARE(dialogs.saveRequests[1].fileName, proposed);
        const auto& filters = dialogs.saveRequests[0].filters;
        QCOMPARE(filters.size(), 3);
        QCOMPARE(filters[0].description, QStringLiteral("Text File (*.txt)"));
        QCOMPARE(filters[0].patterns, QStringList{"*.txt"});
        QCOMPARE(filters[1].description, QStringLiteral("Report with measured fits (*.txt)"));
        QCOMPARE(filters[2].description, QStringLiteral("JSON (*.json)"));
        QCOMPARE(filters[2].patterns, QStringList{"*.json"});
        QVERIFY(dialogs.messages.isEmpty());
    }

    // The designed report stays the one written unless another kind is
    // picked; each kind is written whole.
    void saveWritesTheKindChosen_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QByteArray>("starts");
        QTest::addColumn<QByteArray>("ends");
        const QByteArray json = "{\"LineCount\":1,\"Dpi\":120}\n";
        QTest::newRow("report") << 1 << oneLineOf12 << oneLineOf12;
        QTest::newRow("report with measured fits")
            << 2 << oneLineOf12 + "\r\nMeasured, the widths the lines really fit in (at 120 dots per inch):\r\n"
            << QByteArray("99% of the lines fit within 12 pixels.\r\n\r\nWidest lines:\r\nLine 1: 12 pixels: twelve\r\n");
        QTest::newRow("JSON") << 3 << json << json;
    }

    void saveWritesTheKindChosen()
    {
        QFETCH(int, filter);
        QFETCH(QByteArray, starts);
        QFETCH(QByteArray, ends);
        report::ReportInput in = input({12});
        in.statistics.exactFits.fill(12);
        in.measured.widest = {{1, 12, "twelve"}};
        in.measured.dpi = 120;
        in.measured.json = "{\"LineCount\":1,\"Dpi\":120}\n";
        QTemporaryDir folder;
        const QString path = folder.filePath("saved");
        ScriptedDialogs dialogs;
        dialogs.saveAnswers.push_back({true, path, filter});
        frmResults window(&owner);
        window.Load(in);
        button(window, "cmdSave")->click();
        const QByteArray saved = readTestFile(path);
        QVERIFY2(saved.startsWith(starts) && saved.endsWith(ends), saved.constData());
        if (filter == 2)
            QCOMPARE(saved, QByteArray::fromStdString(report::measuredReportText(in, ".")));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void cancelChangesNothing()
    {
        QTemporaryDir folder;
        const QString existing = folder.filePath("Arial 10 point - names.txt.txt");
        writeTestFile(existing, "earlier report\n");
        engine::WidthStatistics.ReportPath = "/earlier/report.txt";
        ScriptedDialogs dialogs;  // no answer queued: Cancel
        frmResults window(&owner);
        window.Load(input({12}));
        button(window, "cmdSave")->click();
        QCOMPARE(readTestFile(existing), QByteArray("earlier report\n"));
        QCOMPARE(engine::WidthStatistics.ReportPath, std::string("/earlier/report.txt"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void savingAgainReplacesTheReport()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("report.txt");
        ScriptedDialogs dialogs;
        dialogs.saveAnswers = {{true, path}, {true, path}};
        frmResults window(&owner);
        window.Load(input({10, 20}, "A face with a rather longer name than the next", "12", 1, "/a/longer/path.txt"));
        button(window, "cmdSave")->click();
        window.Load(input({12}));
        button(window, "cmdSave")->click();
        QCOMPARE(readTestFile(path), oneLineOf12);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"report.txt"});
    }

    void failedSaveIsReported_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("reason");  // empty: whatever the system says
        QTest::newRow("read-only folder") << "read-only folder" << QString();
        QTest::newRow("folder is a file") << "folder is a file" << QString();
        QTest::newRow("name is a folder") << "name is a folder" << QString();
        QTest::newRow("file size limit") << "file size limit" << qt_error_string(EFBIG);
        QTest::newRow("full disk") << "full disk" << qt_error_string(ENOSPC);
    }

    void failedSaveIsReported()
    {
        QFETCH(QString, failure);
        QFETCH(QString, reason);
        QTemporaryDir temporary;
        std::optional<SmallDisk> disk;
        QString folder = temporary.path();
        const auto unlock = qScopeGuard([&] {
            QFile::setPermissions(folder + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        std::optional<FileSizeLimit> limit;
        QString target, earlier;
        if (failure == "read-only folder") {
            QVERIFY(QDir(folder).mkdir("locked"));
            target = earlier = folder + "/locked/report.txt";
            writeTestFile(earlier, "earlier report\n");
            QFile::setPermissions(folder + "/locked", QFile::ReadOwner | QFile::ExeOwner);
            QFile probe(folder + "/locked/probe");
            if (probe.open(QIODevice::WriteOnly)) {  // privileged: permissions do not stop writes
                probe.remove();
                QSKIP("running with rights that ignore folder permissions");
            }
        } else if (failure == "folder is a file") {
            earlier = folder + "/report.txt";
            writeTestFile(earlier, "earlier report\n");
            target = earlier + "/report.txt";
        } else if (failure == "name is a folder") {
            QVERIFY(QDir(folder).mkpath("report.txt"));
            target = folder + "/report.txt";
            earlier = target + "/inside.txt";
            writeTestFile(earlier, "earlier report\n");
        } else if (failure == "file size limit") {
            target = earlier = folder + "/report.txt";
            writeTestFile(earlier, "earlier report\n");
            limit.emplace(0);
        } else {
            disk.emplace("64k");
            if (!disk->mounted())
                QSKIP("mounting a tmpfs is not permitted here");
            folder = disk->path();
            target = earlier = folder + "/report.txt";
            writeTestFile(earlier, "earlier report\n");
            QCOMPARE(disk->fill("filler", 60 * 1024), 60 * 1024);  // full
        }
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);

        ScriptedDialogs dialogs;
        dialogs.saveAnswers = {{true, target}, {true, temporary.filePath("later.txt")}};
        frmResults window(&owner);
        window.Load(input({12}));
        window.show();
        button(window, "cmdSave")->click();
        limit.reset();

        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Spanwick"));
        if (reason.isEmpty())
            QVERIFY2(dialogs.messages[0].text.contains(target), qPrintable(dialogs.messages[0].text));
        else
            QCOMPARE(dialogs.messages[0].text,
                     QStringLiteral("The report could not be saved to '%1': %2.").arg(target, reason));
        QCOMPARE(dialogs.messages[0].icon, platform::MessageIcon::Critical);
        QCOMPARE(readTestFile(earlier), QByteArray("earlier report\n"));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), before);  // no leftovers
        QCOMPARE(QString::fromStdString(engine::WidthStatistics.ReportPath), target);

        // Still open and still working.
        QVERIFY(window.isVisible());
        button(window, "cmdSave")->click();
        QCOMPARE(readTestFile(temporary.filePath("later.txt")), oneLineOf12);
        QCOMPARE(dialogs.messages.size(), 1);
    }

    void decimalComma()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        QTemporaryDir folder;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers.push_back({true, folder.filePath("report.txt")});
        frmResults window(&owner);
        window.Load(input({10, 20}));
        QCOMPARE(shown(window, "lblStdDev"), QStringLiteral("7,1 pixels"));
        button(window, "cmdSave")->click();
        QVERIFY(readTestFile(folder.filePath("report.txt")).contains("\r\nStandard Deviation: 7,1 pixels.\r\n"));
    }

    void keys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("saves");
        QTest::newRow("Esc") << "Esc" << true << 0;
        QTest::newRow("close box") << "close box" << true << 0;
        QTest::newRow("Close") << "Close" << true << 0;
        QTest::newRow("Alt+C") << "Alt+C" << true << 0;
        QTest::newRow("Enter") << "Enter" << false << 1;
        QTest::newRow("Alt+S") << "Alt+S" << false << 1;
    }

    void keys()
    {
        QFETCH(QString, key);
        QFETCH(bool, closes);
        QFETCH(int, saves);
        ScriptedDialogs dialogs;  // Save is cancelled
        frmResults window(&owner);
        window.Load(input({12}));
        QSignalSpy finished(&window, &QDialog::finished);
        int finishedByAction = -1;
        const bool leftOpen = runModal(window, [&] {
            QCOMPARE(QApplication::focusWidget(), button(window, "cmdSave"));
            QWidget* focus = QApplication::focusWidget();
            if (key == "Esc")
                QTest::keyClick(focus, Qt::Key_Escape);
            else if (key == "Enter")
                QTest::keyClick(focus, Qt::Key_Return);
            else if (key.startsWith("Alt+")) {
                // A mnemonic presses its button the way a click looks: the
                // click follows once the button has shown itself down.
                QPushButton* target = button(window, key == "Alt+S" ? "cmdSave" : "cmdClose");
                QSignalSpy clicked(target, &QPushButton::clicked);
                QTest::keyClick(focus, key == "Alt+S" ? Qt::Key_S : Qt::Key_C, Qt::AltModifier);
                QVERIFY(target->isDown() || !clicked.isEmpty());
                QVERIFY(!clicked.isEmpty() || clicked.wait());
            } else if (key == "Close")
                button(window, "cmdClose")->click();
            else {
                QCloseEvent close;
                QApplication::sendEvent(window.windowHandle(), &close);
            }
            finishedByAction = static_cast<int>(finished.size());
        });
        QCOMPARE(leftOpen, !closes);
        QCOMPARE(finishedByAction, closes ? 1 : 0);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(dialogs.saveRequests.size(), saves);
    }

    void focusStartsOnSaveEveryShowing()
    {
        ScriptedDialogs dialogs;
        frmResults window(&owner);
        window.Load(input({12}));
        QWidget *first = nullptr, *afterTab = nullptr;
        const bool leftOpen = runModal(window, [&] {
            first = QApplication::focusWidget();
            QTest::keyClick(first, Qt::Key_Tab);
            afterTab = QApplication::focusWidget();
            QTest::keyClick(afterTab, Qt::Key_Return);  // presses Close, which has the focus now
        });
        QCOMPARE(first, button(window, "cmdSave"));
        QCOMPARE(afterTab, button(window, "cmdClose"));
        QVERIFY(!leftOpen);
        window.Load(input({12}));
        QWidget* second = nullptr;
        runModal(window, [&] { second = QApplication::focusWidget(); });
        QCOMPARE(second, button(window, "cmdSave"));

        // What is shown; the Sizes view's box takes the focus once that view is opened.
        for (auto* widget : window.findChildren<QWidget*>())
            if (!qobject_cast<QPushButton*>(widget) && widget->isVisibleTo(&window))
                QVERIFY2(widget->focusPolicy() == Qt::NoFocus, qPrintable(widget->objectName()));
    }

    void windowOpensOwnedAndWithinTheScreen()
    {
        QWidget mainWindow;
        // Room on the screen either side, so the wider window can be centred.
        mainWindow.setGeometry(50, 20, 700, 560);
        mainWindow.show();
        frmResults window(&mainWindow);
        window.Load(input({12}));
        QMap<QString, QRect> designed;
        const QList<QWidget*> controls = window.findChildren<QWidget*>(QRegularExpression(".+"));
        for (auto* widget : controls)
            designed[widget->objectName()] = widget->geometry();

        const QString longText(300, u'W');
        window.Load(input({12}, longText.toStdString(), "Normal", 0, "/data/" + longText.toStdString()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // At least the designed size and the panel beside it, which starts
        // where the designed area ends; no largest size.
        const int dpi = window.logicalDpiY();
        const QSize designedClient = platform::twipRect(0, 0, 5055, 6135, dpi).size();
        const auto* panel = window.findChild<QGroupBox*>("fraDistribution");
        QVERIFY(panel);
        QCOMPARE(panel->x(), designedClient.width());
        QCOMPARE(panel->geometry().right() + 1 + platform::twipsToPixels(120, dpi), window.width());
        QCOMPARE(window.minimumSize().height(), designedClient.height());
        QVERIFY(window.minimumSize().width() > designedClient.width());
        QCOMPARE(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(flags & Qt::WindowMaximizeButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(window.isModal());
        QCOMPARE(window.windowHandle()->transientParent(), mainWindow.windowHandle());  // no taskbar button
        QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));

        // Long values are elided: nothing shown grows or moves.
        for (auto* widget : controls)
            if (widget->isVisibleTo(&window))
                QCOMPARE(widget->geometry(), designed[widget->objectName()]);
        // Save and Close stand at the bottom right, Close level with the lowest group.
        QCOMPARE(button(window, "cmdClose")->geometry().bottom(),
                 window.findChild<QGroupBox*>("Frame2")->geometry().bottom());
    }

    // Made larger, the window gives the room to the chart and the widest
    // lines; the designed controls stay where they are, and the size is
    // the one the window opens at next time.
    void growingGrowsTheChartAndTheWidestLines()
    {
        settings.clear();
        report::ReportInput in = input({12, 40, 300});
        in.measured.widest = {{3, 300, std::string(400, 'w')}};
        auto window = std::make_unique<frmResults>(&owner);
        window->Load(in);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->resize(window->minimumSize());
        QTRY_COMPARE(window->size(), window->minimumSize());

        QList<QWidget*> controls = window->findChildren<QWidget*>(QRegularExpression("^(Frame\\d|Label\\d+|cmd\\w+)$"));
        for (const QString& name : valueFields)
            controls.append(window->findChild<QWidget*>(name));
        QMap<QString, QRect> before;
        for (auto* widget : controls)
            before[widget->objectName()] = QRect(widget->mapTo(window.get(), QPoint()), widget->size());
        const auto* chart = window->findChild<QWidget*>("chrDistribution");
        const auto* text = window->findChild<QLabel*>("lblWideText0");
        const QSize chartBefore = chart->size();
        const int textBefore = text->width();
        QVERIFY(text->text().contains(u'…'));

        const QSize grown = window->size() + QSize(200, 120);
        window->resize(grown);
        QTRY_COMPARE(window->size(), grown);
        for (auto* widget : controls)
            QCOMPARE(QRect(widget->mapTo(window.get(), QPoint()), widget->size()), before[widget->objectName()]);
        QCOMPARE(chart->size(), chartBefore + QSize(200, 120));
        QCOMPARE(text->width(), textBefore + 200);
        // The groups below the chart keep to the foot, as far from it as Frame2.
        const int foot = window->minimumHeight() - window->findChild<QGroupBox*>("Frame2")->geometry().bottom();
        for (const char* name : {"fraMeasured", "fraWidest"})
            QCOMPARE(window->height() - window->findChild<QGroupBox*>(name)->geometry().bottom(), foot);
        for (auto* widget : window->findChildren<QWidget*>())
            if (widget->isVisibleTo(window.get()))
                QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), qPrintable(widget->objectName()));

        // Reopened at that size, as far as the screen has room for it.
        window->reject();
        window = std::make_unique<frmResults>(&owner);
        window->Load(in);
        QCOMPARE(window->size(), grown.boundedTo(window->roomOnScreen()));
    }

    void captionsFit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<platform::CaptionKind>("kind");
        for (const char* name : {"Frame3", "Frame1", "Frame2"})
            QTest::newRow(name) << name << platform::CaptionKind::GroupBox;
        for (int n : {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13})
            QTest::addRow("Label%d", n) << QStringLiteral("Label%1").arg(n) << platform::CaptionKind::Label;
        for (const char* name : {"cmdSave", "cmdClose"})
            QTest::newRow(name) << name << platform::CaptionKind::Button;
    }

    void captionsFit()
    {
        QFETCH(QString, name);
        QFETCH(platform::CaptionKind, kind);
        frmResults window(&owner);
        auto* widget = window.findChild<QWidget*>(name);
        QVERIFY(widget);
        QString text;
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            text = box->title();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else
            text = qobject_cast<QPushButton*>(widget)->text();
        QVERIFY(!text.isEmpty());
        // A row caption must also end before its value begins.
        int room = widget->width();
        for (auto* value : widget->parentWidget()->findChildren<QLabel*>(QRegularExpression("^lbl")))
            if (value->y() == widget->y())
                room = std::min(room, value->x() - widget->x() - 1);
        const int needed = platform::neededWidth({text, kind, room}, widget->font());
        QVERIFY2(needed <= room,
                 qPrintable(QStringLiteral("%1 needs %2 of %3 pixels").arg(text).arg(needed).arg(room)));
    }
};

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
