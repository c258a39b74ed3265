// The preview on a screen with two device pixels to a pixel
// (QT_SCALE_FACTOR=2): drawn in device pixels, each glyph at twice the
// measured advance, and shown without being stretched.

#include "CurrentFont.h"
#include "PreviewBox.h"
#include "ScriptedDialogs.h"
#include "SortedComboBox.h"
#include "frmMain.h"

#include <QCheckBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <memory>

namespace {

// The first row from the top whose ink runs at least minimum pixels, and
// that run's extent.
struct Run {
    int left = INT_MAX;
    int right = -1;
};

Run longestInkRow(const Bitmap& image, int minimum)
{
    for (int y = 0; y < image.height(); ++y) {
        Run run;
        int count = 0;
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == BitmapDC::textColour) {
                run.left = std::min(run.left, x), run.right = std::max(run.right, x);
                ++count;
            }
        }
        if (count >= minimum)
            return run;
    }
    return {};
}

}  // namespace

class PreviewScaleTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<frmMain> window_;

private slots:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
        window_ = std::make_unique<frmMain>();
        window_->Load();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QCOMPARE(window_->devicePixelRatioF(), 2.0);
    }

    void cleanupTestCase()
    {
        window_.reset();
        QCOMPARE(HFONT(engine::CurrentFont), HFONT(0));
    }

    void bitmapHasTheBoxsDevicePixels()
    {
        const PreviewBox* box = window_->picText;
        QCOMPARE(box->scale(), 2.0);
        QCOMPARE(box->dc().image().width(), 2 * box->contentsRect().width());
        QCOMPARE(box->dc().image().height(), 2 * box->contentsRect().height());
    }

    void glyphsStandAtTwiceTheMeasuredAdvances()
    {
        frmMain& w = *window_;
        // At 8 points DejaVu Sans's own advances at 22 pixels add up to 138
        // for its name, twice the measured ones to 142: only placing by the
        // measured advances ends the underline at 142.
        const int face = w.cmbFont->findText(QStringLiteral("DejaVu Sans"));
        QVERIFY(face >= 0);
        w.cmbFont->setCurrentIndex(face);
        w.cmbSize->setCurrentIndex(7);
        w.chkUnderline->setChecked(true);

        const std::string name = "DejaVu Sans";
        int measured = 0;
        const HGDIOBJ previous = SelectObject(&w.picText->dc(), engine::CurrentFont);
        for (char c : name) {
            std::int32_t width = 0;
            GetCharWidth32A(&w.picText->dc(), std::uint8_t(c), std::uint8_t(c), &width);
            measured += width;
        }
        SelectObject(&w.picText->dc(), previous);
        QCOMPARE(measured, 71);  // the current font, the one measured with, is the 1x one

        // The underline runs from the scaled origin to the scaled pen end.
        const Run underline = longestInkRow(w.picText->dc().image(), measured);
        QCOMPARE(underline.left, 10);
        QCOMPARE(underline.right, 10 + 2 * measured - 1);
    }

    void previewIsShownPixelForPixel()
    {
        // What the box shows is its bitmap, device pixel for device pixel:
        // sharp, not a 1x picture stretched.
        PreviewBox* box = window_->picText;
        const QImage shown = box->grab(box->contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
        const Bitmap& bitmap = box->dc().image();
        QCOMPARE(shown.size(), QSize(bitmap.width(), bitmap.height()));
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                differing += (shown.pixel(x, y) | 0xFF000000u) != bitmap.pixel(x, y);
        QCOMPARE(differing, 0);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    PreviewScaleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PreviewScaleTest.moc"
