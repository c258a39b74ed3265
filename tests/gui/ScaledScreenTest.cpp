// Twice as many device pixels to a pixel (QT_SCALE_FACTOR=2) on a
// 1400 x 900 screen, which leaves 700 x 450 pixels: the results window
// opens within the screen whatever it remembers, keeps its designed
// controls in place, and the widths are those of the tool at the window's
// resolution, not scaled.

#include "CurrentFont.h"
#include "ElidedComboBox.h"
#include "OffscreenScreen.h"
#include "SameAsTheTool.h"
#include "TestSettings.h"
#include "Twips.h"
#include "WidthStatistics.h"

#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QSettings>

#include <memory>

namespace {

report::ReportInput someResults()
{
    report::ReportInput in;
    in.selections.faceText = "DejaVu Sans";
    in.selections.sizeText = "10";
    in.selections.widthText = "Normal";
    in.dataFilePath = "/data/customers.csv";
    in.dataFileTitle = "customers.csv";
    in.measured.widths.add(120, 10);
    in.measured.widest = {{1, 120, std::string(500, 'x')}};
    return in;
}

}  // namespace

class ScaledScreenTest : public QObject {
    Q_OBJECT

    TestSettings settings;
    QTemporaryDir folder;
    ScriptedDialogs dialogs;

private slots:
    void resultsWindowOpensWithinTheScreen_data()
    {
        QTest::addColumn<QString>("remembered");
        QTest::newRow("nothing remembered") << QString();
        QTest::newRow("larger than the screen") << "3000x2000";
        QTest::newRow("smaller than designed") << "100x100";
        QTest::newRow("damaged") << "wide";
    }

    void resultsWindowOpensWithinTheScreen()
    {
        QFETCH(QString, remembered);
        settings.clear();
        if (!remembered.isEmpty())
            QSettings(QStringLiteral("Spanwick"), QStringLiteral("Spanwick"))
                .setValue(QStringLiteral("Settings/ResultsWindowSize"), remembered);
        QWidget owner;
        owner.setGeometry(100, 50, 520, 300);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QCOMPARE(owner.devicePixelRatioF(), 2.0);

        frmResults window(&owner);
        window.Load(someResults());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QRect available = window.screen()->availableGeometry();
        QCOMPARE(available.size(), QSize(700, 450));
        QVERIFY2(available.contains(window.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                            .arg(window.frameGeometry().x())
                                                                            .arg(window.frameGeometry().y())
                                                                            .arg(window.frameGeometry().width())
                                                                            .arg(window.frameGeometry().height())));
        const QSize room = window.roomOnScreen();
        const QSize designed = platform::twipRect(0, 0, 5055, 6135, window.logicalDpiY()).size();
        QVERIFY(window.minimumWidth() <= room.width() && window.minimumHeight() <= room.height());
        QCOMPARE(window.minimumHeight(), std::min(designed.height(), room.height()));
        QVERIFY(window.width() >= window.minimumWidth() && window.height() >= window.minimumHeight());
        // The designed controls where they were designed, the panel beside them.
        const int dpi = window.logicalDpiY();
        QCOMPARE(window.findChild<QWidget*>("Frame2")->geometry(), platform::twipRect(120, 3960, 3735, 2055, dpi));
        QCOMPARE(window.findChild<QWidget*>("cmdClose")->geometry(), platform::twipRect(3960, 5640, 975, 375, dpi));
        QCOMPARE(window.findChild<QGroupBox*>("fraDistribution")->x(), designed.width());
        // So narrow a window shows the widest lines' numbers bare, leaving
        // room for some of their text; the tooltips say what they are.
        const auto* line = window.findChild<QLabel*>("lblWideLine0");
        QCOMPARE(line->text(), QStringLiteral("1"));
        QCOMPARE(line->toolTip(), QStringLiteral("Line 1"));
        QCOMPARE(window.findChild<QLabel*>("lblWideWidth0")->toolTip(), QStringLiteral("120 pixels"));
        QVERIFY(window.findChild<QLabel*>("lblWideText0")->width() >= 3 * line->fontMetrics().averageCharWidth());
        // The widths are in the window's own pixels, which the screen draws twice as large.
        QCOMPARE(window.findChild<QLabel*>("lblResolution")->text(),
                 QStringLiteral("Resolution: 96 dpi, screen at 200%"));
        window.reject();
    }

    void widthsAreTheToolsAtTheWindowsResolution_data() { addSameAsTheToolRows(); }

    void widthsAreTheToolsAtTheWindowsResolution()
    {
        frmMain window;
        window.Load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.devicePixelRatioF(), 2.0);
        checkSameAsTheTool(window, dialogs, folder);
    }
};

int main(int argc, char** argv)
{
    return runOnScreen<ScaledScreenTest>(argc, argv, {1400, 900, 96, "2"});
}

#include "ScaledScreenTest.moc"
