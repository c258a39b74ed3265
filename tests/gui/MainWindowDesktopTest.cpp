// The main window as a desktop program: a data file from the command line
// or a drop, the usual keys, what it remembers across runs, its open lists
// and its smallest size. Settings live in a temporary folder.

#include "CurrentFont.h"
#include "PreviewBox.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "SortedComboBox.h"
#include "StartupArguments.h"
#include "TypedSearch.h"
#include "MainWindowFixture.h"
#include "frmMain.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDataStream>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <thread>

#include <sys/stat.h>

namespace {

const QString app = QStringLiteral("Spanwick");

void storeSettings(const QMap<QString, QString>& values)
{
    QSettings settings(app, app);
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(QStringLiteral("Settings/") + it.key(), it.value());
    settings.sync();
}

QString stored(const QString& key) { return platform::GetSetting(app, "Settings", key, "<none>"); }

}  // namespace

class MainWindowDesktopTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private:
    // A drag entering over a control and, if it is taken, dropped there.
    bool drop(const QMimeData& data, Qt::DropActions offered, QWidget* over, Qt::DropAction* taken = nullptr)
    {
        const QPoint at = over->rect().center();
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(over, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(over, &dropped);
        if (taken)
            *taken = dropped.dropAction();
        return dropped.isAccepted();
    }

private slots:
    void initTestCase() { keepSettingsInTheFolder(); }
    void init() { startAsAFirstRun(); }
    void cleanup() { closeTheWindow(); }

    // ------------------------------------------------ command line

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");  // relative to /home/ann/work
        QTest::addColumn<bool>("usageError");
        QTest::newRow("nothing") << QStringList() << QString() << false;
        QTest::newRow("relative") << QStringList{"names.txt"} << "/home/ann/work/names.txt" << false;
        QTest::newRow("relative upwards") << QStringList{"../data/./names.txt"} << "/home/ann/data/names.txt" << false;
        QTest::newRow("absolute") << QStringList{"/srv/names.txt"} << "/srv/names.txt" << false;
        QTest::newRow("name with spaces") << QStringList{"my names.txt"} << "/home/ann/work/my names.txt" << false;
        QTest::newRow("dash name after --") << QStringList{"--", "-x.txt"} << "/home/ann/work/-x.txt" << false;
        QTest::newRow("two files") << QStringList{"a.txt", "b.txt"} << QString() << true;
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << QString() << true;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(bool, usageError);
        const StartupArguments parsed =
            parseStartupArguments(QStringList{"spanwick"} + arguments, QStringLiteral("/home/ann/work"));
        QCOMPARE(parsed.dataFile, file);
        QCOMPARE(!parsed.error.isEmpty(), usageError);
    }

    // Whatever Open... accepts: a file, or a named pipe that Calculate then
    // reads to its end.
    void startupFileIsTakenAsOpenTakesIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pipe");
        QTest::newRow("file") << "empty.txt" << false;
        QTest::newRow("named pipe") << "export.fifo" << true;
    }

    void startupFileIsTakenAsOpenTakesIt()
    {
        QFETCH(QString, name);
        QFETCH(bool, pipe);
        QString path = folder_.filePath(QStringLiteral("start/") + name);
        if (pipe) {
            QVERIFY(QDir().mkpath(folder_.filePath(QStringLiteral("start"))));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            path = writeFile(QStringLiteral("start/") + name, QByteArray());
        }
        window_->openStartupFile(path);
        QCOMPARE(window_->lblFile->text(), name);
        QCOMPARE(window_->lblFile->toolTip(), path);
        QVERIFY(dialogs_->messages.isEmpty());
        // Calculate reads that file; a pipe's writer leaves without writing.
        std::thread writer;
        if (pipe)
            writer = std::thread([path] { QFile(path).open(QIODevice::WriteOnly); });
        window_->Calculate();
        if (writer.joinable())
            writer.join();
        QCOMPARE(dialogs_->messages.size(), 1);
        QCOMPARE(dialogs_->messages[0].text, QStringLiteral("The data file '%1' does not contain any data.").arg(name));
        QCOMPARE(stored("DataFolder"), folder_.filePath(QStringLiteral("start")));
    }

    void unusableStartupFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << "nowhere/names.txt" << "does not exist";
        QTest::newRow("folder") << "." << "is a folder";
    }

    void unusableStartupFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, says);
        const QString path = folder_.filePath(name);
        window_->openStartupFile(path);
        QCOMPARE(dialogs_->messages.size(), 1);  // said once
        QVERIFY(dialogs_->messages[0].text.contains(path));
        QVERIFY2(dialogs_->messages[0].text.contains(says), qPrintable(dialogs_->messages[0].text));
        QVERIFY(window_->lblFile->text().isEmpty());
        QVERIFY(window_->dataFilePath().isEmpty());
        QCOMPARE(stored("DataFolder"), QStringLiteral("<none>"));
        for (QWidget* input : window_->inputs())
            QVERIFY(input->isEnabled());
    }

    // ------------------------------------------------ drag and drop

    void dropping_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("offered");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("taken");
        const int copyMove = Qt::CopyAction | Qt::MoveAction;
        QTest::newRow("one file") << "file" << copyMove << false << true;
        QTest::newRow("one file, link only") << "file" << int(Qt::LinkAction) << false << true;
        QTest::newRow("one file, move only") << "file" << int(Qt::MoveAction) << false << false;
        QTest::newRow("one file while calculating") << "file" << copyMove << true << false;
        QTest::newRow("a folder") << "folder" << copyMove << false << false;
        QTest::newRow("two files") << "two" << copyMove << false << false;
        QTest::newRow("a file that is gone") << "gone" << copyMove << false << false;
        QTest::newRow("a web address") << "web" << copyMove << false << false;
        QTest::newRow("plain text naming a file") << "text" << copyMove << false << false;
    }

    void dropping()
    {
        QFETCH(QString, what);
        QFETCH(int, offered);
        QFETCH(bool, busy);
        QFETCH(bool, taken);
        const QString file = writeFile(QStringLiteral("dropped/list.txt"), QByteArray());
        QMimeData data;
        if (what == "file")
            data.setUrls({QUrl::fromLocalFile(file)});
        else if (what == "folder")
            data.setUrls({QUrl::fromLocalFile(folder_.path())});
        else if (what == "two")
            data.setUrls({QUrl::fromLocalFile(file), QUrl::fromLocalFile(writeFile(QStringLiteral("b.txt")))});
        else if (what == "gone")
            data.setUrls({QUrl::fromLocalFile(folder_.filePath(QStringLiteral("gone.txt")))});
        else if (what == "web")
            data.setUrls({QUrl(QStringLiteral("https://example.org/list.txt"))});
        else
            data.setText(file);

        if (busy)
            window_->DisableInputs();
        Qt::DropAction action = Qt::IgnoreAction;
        // Anywhere on the window: over a label, the preview or a button.
        for (QWidget* over : QList<QWidget*>{window_->lblStep4Label, window_->picText, window_->cmdHelp}) {
            window_->useDataFile(QString());
            QCOMPARE(drop(data, Qt::DropActions(offered), over, &action), taken);
            QCOMPARE(window_->lblFile->text(), taken ? QStringLiteral("list.txt") : QString());
            QCOMPARE(window_->dataFilePath(), taken ? file : QString());
        }
        if (busy)
            window_->EnableInputs();
        if (!taken)
            return;
        QVERIFY(action == Qt::CopyAction || action == Qt::LinkAction);  // never Move: the source keeps its file
        QCOMPARE(window_->lblFile->toolTip(), file);
        window_->Calculate();
        QCOMPARE(dialogs_->messages.size(), 1);
        QCOMPARE(dialogs_->messages[0].text, QStringLiteral("The data file 'list.txt' does not contain any data."));

        // The next Open, even after a restart, starts in the file's folder.
        restart().Open();
        QCOMPARE(dialogs_->openRequests.last().folder, QFileInfo(file).absolutePath());
        QVERIFY(window_->lblFile->text().isEmpty());  // the file itself is not reopened
    }

    // ------------------------------------------------ remembered settings

    void selectionsRoundTrip()
    {
        const int plainStartDraws = restart().drawCount();
        frmMain& w = *window_;
        const QString face = w.cmbFont->itemText(w.cmbFont->count() - 1);
        w.cmbFont->setCurrentIndex(w.cmbFont->count() - 1);
        w.cmbSize->setCurrentIndex(11);
        w.chkItalic->setChecked(true);
        w.chkStrikeOut->setChecked(true);
        w.cmbWeight->setCurrentIndex(6);
        w.cmbWidth->setCurrentIndex(7);

        // Kept as they change: a window closed any way at all finds them again.
        frmMain& again = restart();
        QCOMPARE(again.cmbFont->currentText(), face);
        QCOMPARE(again.cmbSize->currentText(), QStringLiteral("12"));
        QVERIFY(again.chkItalic->isChecked());
        QVERIFY(!again.chkUnderline->isChecked());
        QVERIFY(again.chkStrikeOut->isChecked());
        QCOMPARE(again.cmbWeight->currentText(), QStringLiteral("Bold"));
        QCOMPARE(again.cmbWidth->currentText(), QStringLiteral("7"));
        QCOMPARE(again.selections().faceText, face.toStdString());
        // Restoring draws the preview as often as a plain start does.
        QCOMPARE(again.drawCount(), plainStartDraws);
        QVERIFY(engine::CurrentFont != 0);
    }

    void damagedSettingsFallBack_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");  // "<first>": the first face
        QTest::newRow("face no longer installed") << "FontFace" << "Gone Sans 2003" << "cmbFont" << "<first>";
        QTest::newRow("face in other case") << "FontFace" << "dejavu sans" << "cmbFont" << "<first>";
        QTest::newRow("size above the list") << "FontSize" << "145" << "cmbSize" << "8";
        QTest::newRow("size zero") << "FontSize" << "0" << "cmbSize" << "8";
        QTest::newRow("size with a fraction") << "FontSize" << "10.5" << "cmbSize" << "8";
        QTest::newRow("size as words") << "FontSize" << "large" << "cmbSize" << "8";
        QTest::newRow("size empty") << "FontSize" << "" << "cmbSize" << "8";
        QTest::newRow("weight unknown") << "Weight" << "Ultra Black" << "cmbWeight" << "Normal";
        QTest::newRow("weight as a number") << "Weight" << "700" << "cmbWeight" << "Normal";
        QTest::newRow("width above the list") << "Width" << "101" << "cmbWidth" << "Normal";
        QTest::newRow("width negative") << "Width" << "-4" << "cmbWidth" << "Normal";
        QTest::newRow("width zero") << "Width" << "0" << "cmbWidth" << "Normal";
        QTest::newRow("check box not a flag") << "Italic" << "yes" << "chkItalic" << "unchecked";
        QTest::newRow("check box checked") << "Underline" << "1" << "chkUnderline" << "checked";
    }

    void damagedSettingsFallBack()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        // Every other key holds a good value, which must still be used.
        storeSettings({{"FontFace", "DejaVu Serif"},
                       {"FontSize", "14"},
                       {"Weight", "Light"},
                       {"Width", "9"},
                       {key, value}});
        frmMain& w = restart();
        QWidget* widget = w.findChild<QWidget*>(control);
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            QCOMPARE(box->currentText(), shown == "<first>" ? box->itemText(0) : shown);
        } else {
            QCOMPARE(qobject_cast<QCheckBox*>(widget)->isChecked(), shown == "checked");
        }
        const QMap<QString, QString> good{
            {"cmbFont", "DejaVu Serif"}, {"cmbSize", "14"}, {"cmbWeight", "Light"}, {"cmbWidth", "9"}};
        for (auto it = good.begin(); it != good.end(); ++it)
            if (it.key() != control)
                QCOMPARE(w.findChild<QComboBox*>(it.key())->currentText(), it.value());
        for (QComboBox* box : w.findChildren<QComboBox*>())
            QVERIFY(!box->isVisibleTo(&w) || box->currentIndex() >= 0);  // the column list shows only for a CSV file
        QVERIFY(engine::CurrentFont != 0);
    }

    void windowPlaceIsKeptOnExit()
    {
        frmMain& w = *window_;
        w.resize(w.width() + 120, w.height() + 40);
        w.move(37, 41);
        const QRect before = w.geometry();
        const QSize preview = w.picText->size();
        w.Exit();
        QVERIFY(stored("WindowGeometry") != QStringLiteral("<none>"));
        frmMain& again = restart();
        QCOMPARE(again.size(), before.size());
        QCOMPARE(again.geometry().topLeft(), before.topLeft());
        // The preview follows the size as after any resize.
        QCOMPARE(again.picText->size(), preview);
    }

    // A place saved at another scale, on a screen of another width in the
    // window's pixels, which Qt will not restore: the window takes the same
    // place in proportion, within the screen and no smaller than designed.
    void aPlaceFromAnotherScaleIsKept_data()
    {
        QTest::addColumn<QRect>("saved");  // on a screen two thirds as wide
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<bool>("designedSize");
        QTest::newRow("in proportion") << QRect(60, 40, 560, 380) << QPoint(90, 60) << false;
        QTest::newRow("past the right edge") << QRect(500, 40, 560, 380) << QPoint(-1, 60) << false;
        QTest::newRow("smaller than designed") << QRect(60, 40, 100, 80) << QPoint(90, 60) << true;
    }

    void aPlaceFromAnotherScaleIsKept()
    {
        QFETCH(QRect, saved);
        QFETCH(QPoint, place);
        QFETCH(bool, designedSize);
        const QSize designed = window_->minimumSize();
        const QRect screen = window_->screen()->availableGeometry();
        // As saveGeometry writes it.
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_4_0);
        out << quint32(0x1D9D0CB) << quint16(3) << quint16(0) << saved.adjusted(-1, -20, 1, 1) << saved << qint32(0)
            << quint8(0) << quint8(0) << qint32(window_->screen()->geometry().width() * 2 / 3) << saved;
        storeSettings({{"WindowGeometry", QString::fromLatin1(bytes.toBase64())}});
        frmMain& again = restart();
        QCOMPARE(again.size(), designedSize ? designed : saved.size());
        if (place.x() < 0)
            QCOMPARE(again.geometry().right(), screen.right());  // brought back onto the screen
        else
            QCOMPARE(again.geometry().topLeft(), place);
        QVERIFY(screen.contains(again.geometry()));
    }

    void damagedGeometryGivesTheDesignedWindow()
    {
        const QSize designed = window_->size();
        storeSettings({{"WindowGeometry", "not a geometry at all"}});
        QCOMPARE(restart().size(), designed);
        storeSettings({{"WindowGeometry", QByteArray("AdnQywADAAA").toBase64()}});  // cut short
        QCOMPARE(restart().size(), designed);
    }

    void unwritableSettingsNeitherLoseWorkNorBlockExit()
    {
        // The settings file is a folder: every write fails.
        QTemporaryDir broken;
        QVERIFY(QDir().mkpath(broken.filePath(QStringLiteral("Spanwick/Spanwick.conf"))));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, broken.path());
        QVERIFY(!platform::SaveSetting(app, "Settings", "Probe", "1"));

        frmMain& w = restart();
        w.cmbSize->setCurrentIndex(20);
        w.chkUnderline->setChecked(true);
        const QString path = writeFile(QStringLiteral("kept.txt"));
        dialogs_->openAnswers.push_back({true, path, 1});
        w.Open();
        QCOMPARE(w.lblFile->text(), QStringLiteral("kept.txt"));
        QCOMPARE(w.cmbSize->currentText(), QStringLiteral("21"));
        QVERIFY(w.chkUnderline->isChecked());
        QVERIFY(dialogs_->messages.isEmpty());  // nothing to answer
        w.Exit();
        QVERIFY(!w.isVisible());

        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.filePath(QStringLiteral("config")));
    }

    // ------------------------------------------------ lists and size

    void openListsShowAtMostSixteenRows_data()
    {
        QTest::addColumn<QString>("list");
        QTest::newRow("fonts") << "cmbFont";
        QTest::newRow("sizes") << "cmbSize";
        QTest::newRow("weights") << "cmbWeight";
        QTest::newRow("widths") << "cmbWidth";
    }

    void openListsShowAtMostSixteenRows()
    {
        QFETCH(QString, list);
        auto* box = window_->findChild<QComboBox*>(list);
        QVERIFY(box);
        box->showPopup();
        QAbstractItemView* view = box->view();
        QTRY_VERIFY(view->isVisible());
        const double rows = double(view->viewport()->height()) / view->sizeHintForRow(0);
        box->hidePopup();
        QVERIFY2(rows <= 16.5, qPrintable(QString::number(rows)));
        QVERIFY2(rows >= std::min(box->count(), 16) - 0.5, qPrintable(QString::number(rows)));
    }

    // An open list is wide enough for its longest entry, wider than its box.
    void openListsAreWideEnoughForTheirEntries_data()
    {
        QTest::addColumn<QString>("list");
        QTest::newRow("faces") << "cmbFont";
        QTest::newRow("columns") << "cmbColumn";
    }

    void openListsAreWideEnoughForTheirEntries()
    {
        QFETCH(QString, list);
        const QString longest = QStringLiteral("A name that runs on far longer than the box it is chosen in Condensed Bold");
        if (list == "cmbColumn") {
            dialogs_->openAnswers.push_back({true, writeFile(QStringLiteral("wide.csv"), "id," + longest.toUtf8() + "\n"), 4});
            window_->Open();
        } else {
            window_->cmbFont->addItem(longest);
        }
        auto* box = window_->findChild<QComboBox*>(list);
        box->showPopup();
        QAbstractItemView* view = box->view();
        QTRY_VERIFY(view->isVisible());
        const int needed = view->fontMetrics().horizontalAdvance(longest);
        const int shown = view->viewport()->width();
        box->hidePopup();
        QVERIFY2(shown > needed && shown > box->width(), qPrintable(QStringLiteral("%1 of %2").arg(shown).arg(needed)));
    }

    // ------------------------------------------------ typing in the lists

    // A typed number selects that very entry, in the closed list and in the
    // open one; letters still search as in any list.
    void typingANumberSelectsThatEntry_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("showing");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("selected");
        QTest::newRow("12 over 24") << "cmbSize" << "24" << "12" << "12";
        QTest::newRow("10 over 24") << "cmbSize" << "24" << "10" << "10";
        QTest::newRow("1 alone") << "cmbSize" << "24" << "1" << "1";
        QTest::newRow("the largest") << "cmbSize" << "8" << "144" << "144";
        QTest::newRow("no 145: its last digit alone") << "cmbSize" << "8" << "145" << "5";
        QTest::newRow("a 0 that makes no size") << "cmbSize" << "8" << "0" << "8";
        QTest::newRow("width 50") << "cmbWidth" << "Normal" << "50" << "50";
        QTest::newRow("width 100") << "cmbWidth" << "7" << "100" << "100";
        QTest::newRow("a letter finds Normal") << "cmbWidth" << "7" << "n" << "Normal";
    }

    void typingANumberSelectsThatEntry()
    {
        QFETCH(QString, list);
        QFETCH(QString, showing);
        QFETCH(QString, typed);
        QFETCH(QString, selected);
        auto* box = window_->findChild<QComboBox*>(list);
        box->setCurrentIndex(box->findText(showing));
        box->setFocus();
        QTest::keyClicks(box, typed);
        QCOMPARE(box->currentText(), selected);

        // The open list: its highlight moves, and Enter chooses. (Letters
        // are Qt's own search, which the closed box has just fed.)
        if (!typed.front().isDigit())
            return;
        box->setCurrentIndex(box->findText(showing));
        box->showPopup();
        QTRY_VERIFY(box->view()->isVisible());
        QTest::keyClicks(box->view(), typed);
        QCOMPARE(box->view()->currentIndex().data().toString(), selected);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QTRY_VERIFY(!box->view()->isVisible());
        QCOMPARE(box->currentText(), selected);
    }

    // The face list is searched by whole names, spaces included, or any
    // part of them; Enter chooses, Esc gives up without leaving the program.
    void typingSearchesTheFaceList()
    {
        SortedComboBox* faces = window_->cmbFont;
        if (faces->findText(QStringLiteral("Liberation Serif")) < 0 || faces->findText(QStringLiteral("Liberation Mono")) < 0)
            QSKIP("the Liberation fonts are not installed");
        TypedSearch* search = faces->search();
        faces->setCurrentIndex(faces->findText(QStringLiteral("Liberation Mono")));
        faces->setFocus();
        QTest::keyClicks(faces, QStringLiteral("Liberation Se"));
        QVERIFY(search->searching());
        QCOMPARE(search->offered(), QStringList{"Liberation Serif"});
        QTest::keyClick(search->popup(), Qt::Key_Return);
        QTRY_VERIFY(!search->searching());
        QCOMPARE(faces->currentText(), QStringLiteral("Liberation Serif"));
        QVERIFY(dialogs_->messages.isEmpty());  // Enter chose; it did not calculate

        // A part of a name: those that begin with it first, then the rest.
        QTest::keyClicks(faces, QStringLiteral("mono"));
        const QStringList offered = search->offered();
        QVERIFY(offered.contains(QStringLiteral("Liberation Mono")));
        for (const QString& face : offered)
            QVERIFY(face.contains(QStringLiteral("mono"), Qt::CaseInsensitive));
        QTest::keyClick(search->popup(), Qt::Key_Escape);
        QTRY_VERIFY(!search->searching());
        QCOMPARE(faces->currentText(), QStringLiteral("Liberation Serif"));
        QVERIFY(window_->isVisible());

        // Nothing found: nothing offered, nothing changed; Backspace goes
        // back to what was found.
        QTest::keyClicks(faces, QStringLiteral("Liberation Mq"));
        QVERIFY(search->searching());
        QVERIFY(search->offered().isEmpty());
        QTest::keyClick(faces, Qt::Key_Backspace);
        QCOMPARE(search->offered(), QStringList{"Liberation Mono"});
        QTest::keyClick(search->popup(), Qt::Key_Escape);
        QVERIFY(!search->searching());
        QCOMPARE(faces->currentText(), QStringLiteral("Liberation Serif"));
        QVERIFY(window_->isVisible());
    }

    void smallestWindowShowsEveryControlWhole()
    {
        frmMain& w = *window_;
        w.resize(1, 1);
        QTRY_COMPARE(w.size(), w.minimumSize());
        QVERIFY(w.minimumSize().width() > 100 && w.minimumSize().height() > 100);
        for (QWidget* control : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!control->isVisibleTo(&w))
                continue;
            QVERIFY2(w.rect().contains(control->geometry()),
                     qPrintable(control->objectName() + QStringLiteral(" is cut off")));
        }
        // Shrinking from a large window gives the preview back its margins.
        const QSize large = w.size() + QSize(400, 300);
        w.resize(large);
        QTRY_COMPARE(w.size(), large);
        w.resize(1, 1);
        QTRY_COMPARE(w.size(), w.minimumSize());
        QTRY_VERIFY(w.rect().contains(w.picText->geometry()));
    }

    // ------------------------------------------------ keys

    void standardKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("effect");  // open, help, exit or none
        const int ctrl = Qt::ControlModifier, none = Qt::NoModifier;
        QTest::newRow("Ctrl+O opens") << int(Qt::Key_O) << ctrl << false << "open";
        QTest::newRow("F1 shows help") << int(Qt::Key_F1) << none << false << "help";
        QTest::newRow("Ctrl+O while calculating") << int(Qt::Key_O) << ctrl << true << "none";
        QTest::newRow("F1 while calculating still helps") << int(Qt::Key_F1) << none << true << "help";
        QTest::newRow("Ctrl+Q while calculating") << int(Qt::Key_Q) << ctrl << true << "none";
        QTest::newRow("Ctrl+Q exits") << int(Qt::Key_Q) << ctrl << false << "exit";
    }

    void standardKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, busy);
        QFETCH(QString, effect);
        frmMain& w = *window_;
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cmbSize->setFocus();
        if (busy)
            w.DisableInputs();
        QTest::keyClick(&w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(dialogs_->openRequests.size(), effect == "open" ? 1 : 0);
        QCOMPARE(dialogs_->helpFiles.size(), effect == "help" ? 1 : 0);
        QCOMPARE(w.isVisible(), effect != "exit");
        if (busy)
            w.EnableInputs();
    }
};

QTEST_MAIN(MainWindowDesktopTest)
#include "MainWindowDesktopTest.moc"
