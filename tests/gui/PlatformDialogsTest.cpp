// The real dialogs behind the seam: filters with Windows meaning, and the
// help viewer.

#include "Dialogs.h"
#include "FileDialogs.h"
#include "HelpViewer.h"

#include <QFileSystemModel>
#include <QTest>

class PlatformDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void filterTextReadsDescriptionsAndPatterns()
    {
        const auto filters = platform::parseFilterText(
            QStringLiteral("All Files (*.*)|*.*|Text Files(*.txt)|*.txt|HTML Files (*.html;*.htm)|*.html;*.htm"));
        QCOMPARE(filters.size(), 3);
        QCOMPARE(filters[1].description, QStringLiteral("Text Files(*.txt)"));
        QCOMPARE(filters[2].patterns, QStringList({"*.html", "*.htm"}));
        QCOMPARE(platform::parseFilterText(QStringLiteral("Text File (*.txt)|*.txt")).size(), 1);
    }

    void fileListAppliesTheRealPatterns_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("listed");
        // "*.*" lists every file, also names without a dot.
        QTest::newRow("all files") << 1 << QStringList{"*"};
        QTest::newRow("text files") << 2 << QStringList{"*.txt"};
        QTest::newRow("html files") << 3 << QStringList{"*.html", "*.htm"};
        QTest::newRow("out of range shows the first") << 9 << QStringList{"*"};
    }

    void fileListAppliesTheRealPatterns()
    {
        QFETCH(int, selected);
        QFETCH(QStringList, listed);
        const auto filters = platform::parseFilterText(
            QStringLiteral("All Files (*.*)|*.*|Text Files(*.txt)|*.txt|HTML Files (*.html;*.htm)|*.html;*.htm"));
        platform::FileDialog dialog(nullptr, QFileDialog::AcceptOpen, filters, selected);
        QCOMPARE(dialog.selectedNameFilter(), filters[selected <= 3 ? selected - 1 : 0].description);
        QCOMPARE(dialog.selectedFilterPosition(), selected <= 3 ? selected : 1);
        auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model);
        QCOMPARE(model->nameFilters(), listed);
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
    }

    void helpShowsTheProgramsHelpFile()
    {
        const QString file = qEnvironmentVariable("SPANWICK_SOURCE_DIR") + QStringLiteral("/docs/Spanwick Help.hlp");
        platform::HelpViewer* viewer = platform::HelpViewer::show(nullptr, file);
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->shownText().startsWith(QStringLiteral("Spanwick Help")));
        QVERIFY(viewer->shownText().contains(QStringLiteral("Contents")));
        // One viewer: asking again shows the same window.
        QCOMPARE(platform::HelpViewer::show(nullptr, file), viewer);
        viewer->close();
    }

    void aMissingHelpFileIsReportedByTheViewer()
    {
        platform::HelpViewer* viewer = platform::HelpViewer::show(nullptr, QStringLiteral("/nowhere/Spanwick Help.hlp"));
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->shownText().contains(QStringLiteral("/nowhere/Spanwick Help.hlp")));
        QVERIFY(viewer->shownText().contains(QStringLiteral("could not be found")));
        viewer->close();
    }
};

QTEST_MAIN(PlatformDialogsTest)
#include "PlatformDialogsTest.moc"
