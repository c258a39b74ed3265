// The application icon: legible at every theme size, crisp, and the same
// picture in the window, the PNG files and the scalable SVG file.

#include "AppIcon.h"

#include <QDir>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QTest>

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb yellow = qRgb(255, 255, 0);

// Runs of equal colour along one row, from x = first to x = last.
struct Run {
    QRgb colour;
    int length;
};

QList<Run> runsAlong(const QImage& image, int y, int first, int last)
{
    QList<Run> runs;
    for (int x = first; x <= last; ++x) {
        const QRgb colour = image.pixel(x, y);
        if (!runs.isEmpty() && runs.back().colour == colour)
            ++runs.back().length;
        else
            runs.append({colour, 1});
    }
    return runs;
}

QString iconFile(const QString& name)
{
    return QStringLiteral(SPANWICK_ICON_DIR "/") + name;
}

}  // namespace

class AppIconTest : public QObject {
    Q_OBJECT

private slots:
    void ticksStandApartAtEverySize_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : iconSizes)
            QTest::newRow(qPrintable(QStringLiteral("%1 px").arg(size))) << size;
    }

    void ticksStandApartAtEverySize()
    {
        QFETCH(int, size);
        const QImage image = rulerImage(size);
        QCOMPARE(image.size(), QSize(size, size));

        // Whole pixels only: no blended edge makes a small icon blurry.
        QSet<QRgb> colours;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                colours.insert(image.pixel(x, y));
        QCOMPARE(colours, QSet<QRgb>({qRgba(0, 0, 0, 0), black, yellow}));

        // The ruler's rows, read down its left edge.
        int top = 0;
        while (qAlpha(image.pixel(0, top)) == 0)
            ++top;
        int bottom = size - 1;
        while (qAlpha(image.pixel(0, bottom)) == 0)
            --bottom;
        const QList<Run> middle = runsAlong(image, (top + bottom) / 2, 0, size - 1);
        QVERIFY(middle.size() >= 3);
        QCOMPARE(middle.front().colour, black);
        const int stroke = middle.front().length;
        QCOMPARE(middle.back().length, stroke);

        // Along the inside of the lower edge: yellow gaps between ticks as
        // thick as the outline, the gaps at least two pixels and one tick wide.
        const QList<Run> runs = runsAlong(image, bottom - stroke, stroke, size - 1 - stroke);
        QCOMPARE(runs.front().colour, yellow);
        QCOMPARE(runs.back().colour, yellow);
        int ticks = 0;
        for (const Run& run : runs) {
            if (run.colour == black) {
                ++ticks;
                QCOMPARE(run.length, stroke);
            } else {
                QVERIFY2(run.length >= std::max(2, stroke), qPrintable(QStringLiteral("gap %1").arg(run.length)));
            }
        }
        QVERIFY2(ticks >= 3, qPrintable(QStringLiteral("%1 ticks").arg(ticks)));
    }

    void themeFilesAreTheWindowIcon()
    {
        const QIcon icon = applicationIcon();
        QList<QSize> windowSizes = icon.availableSizes();
        QList<QSize> fileSizes;
        const QDir theme(iconFile(QStringLiteral("hicolor")));
        const QStringList folders = theme.entryList({"*x*"}, QDir::Dirs);
        for (const QString& folder : folders) {
            const QImage file(theme.filePath(folder + QStringLiteral("/apps/spanwick.png")));
            QVERIFY2(!file.isNull(), qPrintable(folder));
            QCOMPARE(folder, QStringLiteral("%1x%1").arg(file.width()));
            QCOMPARE(file.convertToFormat(QImage::Format_ARGB32), rulerImage(file.width()));
            fileSizes.append(file.size());
        }
        const auto byWidth = [](const QSize& a, const QSize& b) { return a.width() < b.width(); };
        std::sort(windowSizes.begin(), windowSizes.end(), byWidth);
        std::sort(fileSizes.begin(), fileSizes.end(), byWidth);
        QCOMPARE(fileSizes, windowSizes);
        QCOMPARE(fileSizes.size(), int(iconSizes.size()));
    }

    void scalableIconIsTheLargestDrawing()
    {
        QSvgRenderer svg(iconFile(QStringLiteral("hicolor/scalable/apps/spanwick.svg")));
        QVERIFY(svg.isValid());
        const int size = iconSizes.back();
        QCOMPARE(svg.viewBox(), QRect(0, 0, size, size));
        QImage rendered(size, size, QImage::Format_ARGB32);
        rendered.fill(Qt::transparent);
        QPainter painter(&rendered);
        svg.render(&painter);
        painter.end();
        QCOMPARE(rendered, rulerImage(size));
    }
};

QTEST_MAIN(AppIconTest)
#include "AppIconTest.moc"
