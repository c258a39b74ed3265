// A screen of 120 dots per inch without scaling: the window measures at
// the screen's resolution, which the results say, and its widths are the
// tool's with --dpi 120.

#include "ElidedComboBox.h"
#include "ElidedLabel.h"
#include "OffscreenScreen.h"
#include "SameAsTheTool.h"
#include "TestSettings.h"

#include <QLabel>

class ScreenResolutionTest : public QObject {
    Q_OBJECT

    TestSettings settings;
    QTemporaryDir folder;
    ScriptedDialogs dialogs;

private slots:
    void widthsAreTheToolsAtTheScreensResolution_data() { addSameAsTheToolRows(); }

    void widthsAreTheToolsAtTheScreensResolution()
    {
        frmMain window;
        window.Load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.logicalDpiY(), 120);
        checkSameAsTheTool(window, dialogs, folder);
    }

    void resultsSayTheResolution()
    {
        report::ReportInput in;
        in.measured.widths.add(12);
        in.measured.dpi = 120;
        frmResults window(nullptr);
        window.Load(in);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblResolution"))->text(),
                 QStringLiteral("Resolution: 120 dpi"));
    }
};

int main(int argc, char** argv)
{
    return runOnScreen<ScreenResolutionTest>(argc, argv, {1400, 900, 120, "1"});
}

#include "ScreenResolutionTest.moc"
