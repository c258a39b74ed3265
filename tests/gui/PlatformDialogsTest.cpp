// The real dialogs behind the seam: filters with Windows meaning, and the
// help viewer.

#include "TestSettings.h"
#include "BesidePlacement.h"
#include "Dialogs.h"
#include "FileDialogs.h"
#include "HelpViewer.h"

#include <QAction>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

namespace {
QString helpFile() { return qEnvironmentVariable("SPANWICK_SOURCE_DIR") + QStringLiteral("/docs/Spanwick Help.hlp"); }
}  // namespace

class PlatformDialogsTest : public QObject {
    Q_OBJECT

    TestSettings settings;

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

    // Saving, choosing another kind gives the name that kind's extension,
    // and the kind chosen is the one answered.
    void saveNameFollowsTheKindChosen_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("becomes");
        QTest::newRow("to JSON") << "Arial 10 point - names.txt.txt" << 3 << "Arial 10 point - names.txt.json";
        QTest::newRow("to the other text kind") << "report.txt" << 2 << "report.txt";
        QTest::newRow("to JSON and back") << "report.txt" << -1 << "report.txt";
    }

    void saveNameFollowsTheKindChosen()
    {
        QFETCH(QString, typed);
        QFETCH(int, chosen);
        QFETCH(QString, becomes);
        const auto filters = platform::parseFilterText(
            QStringLiteral("Text File (*.txt)|*.txt|Report with measured fits (*.txt)|*.txt|JSON (*.json)|*.json"));
        platform::FileDialog dialog(nullptr, QFileDialog::AcceptSave, filters, 1);
        dialog.selectFile(typed);
        auto* kinds = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(kinds && name);
        const auto choose = [&](int position) {
            kinds->setCurrentIndex(position - 1);
            emit kinds->activated(position - 1);
            emit kinds->textActivated(kinds->currentText());
        };
        if (chosen < 0) {
            choose(3);
            choose(1);
        } else {
            choose(chosen);
        }
        QCOMPARE(name->text(), becomes);
        QCOMPARE(dialog.selectedFilterPosition(), chosen < 0 ? 1 : chosen);
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

    void helpMovesBackForwardAndToTheContents()
    {
        QPointer<platform::HelpViewer> viewer = platform::HelpViewer::show(nullptr, helpFile());
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        QCOMPARE(viewer->shownPage().fragment(), QStringLiteral("contents"));
        QVERIFY(!viewer->backAction()->isEnabled());
        QVERIFY(!viewer->forwardAction()->isEnabled());

        // Following two links, as a click does.
        for (const char* anchor : {"#keys", "#settings"})
            viewer->browser()->setSource(viewer->shownPage().resolved(QUrl(QString::fromLatin1(anchor))));
        QCOMPARE(viewer->shownPage().fragment(), QStringLiteral("settings"));
        QVERIFY(viewer->backAction()->isEnabled());

        QTest::keyClick(viewer, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(viewer->shownPage().fragment(), QStringLiteral("keys"));
        QVERIFY(viewer->forwardAction()->isEnabled());
        QTest::keyClick(viewer, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(viewer->shownPage().fragment(), QStringLiteral("contents"));
        QVERIFY(!viewer->backAction()->isEnabled());
        QTest::keyClick(viewer, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(viewer->shownPage().fragment(), QStringLiteral("keys"));

        viewer->contentsAction()->trigger();
        QCOMPARE(viewer->shownPage().fragment(), QStringLiteral("contents"));
        QVERIFY(viewer->shownText().contains(QStringLiteral("The four steps")));
        QVERIFY(viewer->backAction()->isEnabled());  // the contents are a step of their own
        viewer->browser()->setSource(viewer->shownPage().resolved(QUrl(QStringLiteral("#keys"))));
        QTest::keyClick(viewer, Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(viewer->shownPage().fragment(), QStringLiteral("contents"));
        viewer->close();
        QTRY_VERIFY(!viewer);
    }

    void helpClosesOnItsKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier);
        QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier);
    }

    void helpClosesOnItsKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QPointer<platform::HelpViewer> viewer = platform::HelpViewer::show(nullptr, helpFile());
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        viewer->browser()->setFocus();  // wherever the focus is
        QTest::keyClick(viewer->browser(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_VERIFY(!viewer);
    }

    void helpOpensBesideItsOwner()
    {
        QWidget owner;
        const QRect screen = owner.screen()->availableGeometry();
        owner.setGeometry(screen.left() + 20, screen.top() + 30, 200, 150);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QPointer<platform::HelpViewer> viewer = platform::HelpViewer::show(&owner, helpFile());
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QVERIFY(!viewer->frameGeometry().intersects(owner.frameGeometry()));
        QVERIFY(screen.contains(viewer->frameGeometry()));
        QCOMPARE(viewer->frameGeometry().top(), owner.frameGeometry().top());
        viewer->close();
        QTRY_VERIFY(!viewer);
    }

    // Closed at one size, the viewer opens at it next time.
    void helpRemembersItsSize()
    {
        settings.clear();
        QPointer<platform::HelpViewer> viewer = platform::HelpViewer::show(nullptr, helpFile());
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QCOMPARE(viewer->size(), QSize(640, 560));
        viewer->resize(500, 420);
        QTRY_COMPARE(viewer->size(), QSize(500, 420));
        viewer->close();
        QTRY_VERIFY(!viewer);
        viewer = platform::HelpViewer::show(nullptr, helpFile());
        QCOMPARE(viewer->size(), QSize(500, 420));
        viewer->close();
        QTRY_VERIFY(!viewer);
    }

    void placementBeside_data()
    {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QRect>("placed");
        // A 1600 x 1000 screen, the viewer at most 400 narrow.
        QTest::newRow("room on the right") << QRect(100, 200, 500, 300) << QSize(640, 560)
                                           << QRect(608, 200, 640, 560);
        QTest::newRow("room only on the left") << QRect(900, 100, 500, 300) << QSize(640, 560)
                                               << QRect(252, 100, 640, 560);
        QTest::newRow("narrowed on the right") << QRect(500, 100, 550, 300) << QSize(640, 560)
                                               << QRect(1058, 100, 542, 560);
        QTest::newRow("narrowed on the left") << QRect(560, 100, 550, 300) << QSize(640, 560)
                                              << QRect(0, 100, 552, 560);
        QTest::newRow("no room beside: at the roomier edge") << QRect(300, 100, 1100, 300) << QSize(640, 560)
                                                             << QRect(0, 100, 640, 560);
        QTest::newRow("kept on screen at the foot") << QRect(100, 800, 500, 150) << QSize(640, 560)
                                                    << QRect(608, 440, 640, 560);
        QTest::newRow("owner above the screen") << QRect(100, -50, 500, 150) << QSize(640, 560)
                                                << QRect(608, 0, 640, 560);
        QTest::newRow("taller than the screen") << QRect(100, 200, 500, 300) << QSize(640, 1400)
                                                << QRect(608, 0, 640, 1000);
    }

    void placementBeside()
    {
        QFETCH(QRect, owner);
        QFETCH(QSize, wanted);
        QFETCH(QRect, placed);
        QCOMPARE(platform::placeBeside(owner, wanted, QRect(0, 0, 1600, 1000), 400), placed);
    }
};

QTEST_MAIN(PlatformDialogsTest)
#include "PlatformDialogsTest.moc"
