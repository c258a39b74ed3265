// The main window, driven as a user would, without a display. Dialogs and
// message boxes are answered by ScriptedDialogs; settings live in a
// temporary folder.

#include "CurrentFont.h"
#include "FontHandles.h"
#include "FontNames.h"
#include "OpenFilterSetting.h"
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
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QProgressBar>
#include <QScopeGuard>

#include <atomic>
#include <chrono>
#include <thread>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

#include <memory>

namespace {

int inkedPixels(const PreviewBox* box)
{
    const Bitmap& image = box->dc().image();
    int inked = 0;
    for (int i = 0; i < image.width() * image.height(); ++i)
        inked += image.pixels()[i] != BitmapDC::background;
    return inked;
}

// Notes the window's draw count whenever the preview is painted. Each
// draw asks for a paint of the preview, so once the preview has been
// painted since the last draw no repaint of the window is on its way.
class PreviewPaints : public QObject {
public:
    explicit PreviewPaints(frmMain& window) : window_(window)
    {
        window.picText->installEventFilter(this);
        window.picText->update();
    }
    bool settled() const { return paintedAt_ == window_.drawCount(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            paintedAt_ = window_.drawCount();
        return false;
    }

private:
    frmMain& window_;
    int paintedAt_ = -1;
};

// Answers the next modal window that opens by closing it, after noting
// which one it was. Gives up after the deadline: then *seen stays empty.
void closeNextModal(QString* seen, QDeadlineTimer deadline = QDeadlineTimer(10'000))
{
    QTimer::singleShot(0, [seen, deadline] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* face = modal->findChild<QLabel*>(QStringLiteral("lblFontFace")))
                *seen = face->text();
            modal->close();
        } else if (!deadline.hasExpired()) {
            closeNextModal(seen, deadline);  // not open yet
        }
    });
}

}  // namespace

class MainWindowTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private:
    void chooseDataFile(const QString& path)
    {
        dialogs_->openAnswers.push_back({true, path, 2});
        window_->Open();
    }

private slots:
    void initTestCase() { keepSettingsInTheFolder(); }
    void init() { startAsAFirstRun(); }
    void cleanup() { closeTheWindow(); }

    void startsReadyWithTheDefaults()
    {
        frmMain& w = *window_;
        QCOMPARE(w.windowTitle(), QStringLiteral("Spanwick Version 1.1.0"));
        QCOMPARE(w.cmbSize->count(), 144);
        QCOMPARE(w.cmbSize->itemText(0), QStringLiteral("1"));
        QCOMPARE(w.cmbSize->itemText(143), QStringLiteral("144"));
        QCOMPARE(w.cmbWeight->count(), 9);
        QCOMPARE(w.cmbWeight->itemText(0), QStringLiteral("Thin"));
        QCOMPARE(w.cmbWeight->itemText(8), QStringLiteral("Heavy"));
        QCOMPARE(w.cmbWidth->count(), 101);
        QCOMPARE(w.cmbWidth->itemText(0), QStringLiteral("Normal"));
        QCOMPARE(w.cmbWidth->itemText(100), QStringLiteral("100"));

        QCOMPARE(w.cmbSize->currentText(), QStringLiteral("8"));
        QCOMPARE(w.cmbWeight->currentText(), QStringLiteral("Normal"));
        QCOMPARE(w.cmbWidth->currentText(), QStringLiteral("Normal"));
        QCOMPARE(w.cmbFont->currentIndex(), 0);
        const auto sorted = platform::sortedFontNames(platform::installedScreenFonts());
        QCOMPARE(w.cmbFont->count(), static_cast<int>(sorted.size()));
        QCOMPARE(w.cmbFont->currentText().toStdString(), sorted.front());
        for (int i = 1; i < w.cmbFont->count(); ++i)
            QVERIFY(!platform::fontNameLess(w.cmbFont->itemText(i).toStdString(),
                                            w.cmbFont->itemText(i - 1).toStdString()));

        QVERIFY(!w.chkItalic->isChecked() && !w.chkUnderline->isChecked() && !w.chkStrikeOut->isChecked());
        QVERIFY(w.lblFile->text().isEmpty());
        QCOMPARE(w.inputs().size(), std::size_t(22));
        for (QWidget* input : w.inputs())
            QVERIFY2(input->isEnabled(), qPrintable(input->objectName()));
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);

        QVERIFY(engine::CurrentFont != 0);
        QVERIFY(inkedPixels(w.picText) > 20);
        // Each list stands 60 twips above its label.
        QCOMPARE(w.twipsOf(w.cmbWeight).top(), 1980.0);
        QCOMPARE(w.twipsOf(w.cmbWidth).top(), 2340.0);
    }

    void tabVisitsTheInputsInOrder()
    {
        frmMain& w = *window_;
        const QList<QWidget*> expected{w.cmbFont,  w.cmbSize,   w.chkItalic,    w.chkUnderline,
                                       w.chkStrikeOut, w.cmbWeight, w.cmbWidth, w.cmdOpen,
                                       w.cmdCalculate, w.cmdHelp,   w.cmdExit};
        QWidget* current = w.cmbFont;
        for (qsizetype i = 1; i < expected.size(); ++i) {
            do  // Tab passes over hidden controls, such as the column list of a CSV file
                current = current->nextInFocusChain();
            while (!(current->focusPolicy() & Qt::TabFocus) || !current->isVisible());
            QCOMPARE(current, expected[i]);
        }
    }

    void resizeRule_data()
    {
        QTest::addColumn<double>("outerWidth");
        QTest::addColumn<double>("outerHeight");
        QTest::addColumn<double>("previewWidth");
        QTest::addColumn<double>("previewHeight");
        // The window starts at its designed size, where the preview already
        // keeps its margins: 3285 x 4380. Below the thresholds nothing
        // changes; at and above them the margins are kept.
        QTest::newRow("below both") << 7964.0 << 5099.0 << 3285.0 << 4380.0;
        QTest::newRow("designed size") << 7965.0 << 5100.0 << 3285.0 << 4380.0;
        QTest::newRow("wide only") << 9000.0 << 5099.0 << 4320.0 << 4380.0;
        QTest::newRow("tall only") << 7964.0 << 6000.0 << 3285.0 << 5280.0;
        QTest::newRow("larger") << 10000.0 << 7000.0 << 5320.0 << 6280.0;
    }

    void resizeRule()
    {
        QFETCH(double, outerWidth);
        QFETCH(double, outerHeight);
        QFETCH(double, previewWidth);
        QFETCH(double, previewHeight);
        frmMain& w = *window_;
        QCOMPARE(w.twipsOf(w.picText).size(), QSizeF(3285, 4380));

        w.applyResizeRule(outerWidth, outerHeight);
        QCOMPARE(w.twipsOf(w.picText).size(), QSizeF(previewWidth, previewHeight));
        QCOMPARE(w.twipsOf(w.picText).topLeft(), QPointF(4440, 120));  // the corner never moves

        // Smaller than designed: the preview keeps the size it last got.
        w.applyResizeRule(6000, 4000);
        QCOMPARE(w.twipsOf(w.picText).size(), QSizeF(previewWidth, previewHeight));
    }

    void growingTheWindowGrowsOnlyThePreview()
    {
        frmMain& w = *window_;
        QMap<QWidget*, QRect> before;
        for (QWidget* input : w.inputs())
            before[input] = input->geometry();
        const QSize previewBefore = w.picText->size();
        w.resize(w.width() + 150, w.height() + 90);
        QTRY_COMPARE(w.picText->size(), previewBefore + QSize(150, 90));
        for (QWidget* input : w.inputs())
            QCOMPARE(input->geometry(), before[input]);
    }

    void minimizedWindowIsNotRedrawn()
    {
        frmMain& w = *window_;
        w.setWindowState(Qt::WindowMinimized);
        const int draws = w.drawCount();
        const QSize size = w.picText->size();
        QResizeEvent resize(w.size() + QSize(100, 100), w.size());
        QApplication::sendEvent(&w, &resize);
        QCOMPARE(w.drawCount(), draws);
        QCOMPARE(w.picText->size(), size);
    }

    void eachSelectionRedrawsOnce_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("font") << "cmbFont";
        QTest::newRow("size") << "cmbSize";
        QTest::newRow("weight") << "cmbWeight";
        QTest::newRow("width") << "cmbWidth";
        QTest::newRow("italic") << "chkItalic";
        QTest::newRow("underline") << "chkUnderline";
        QTest::newRow("strikethrough") << "chkStrikeOut";
    }

    void eachSelectionRedrawsOnce()
    {
        QFETCH(QString, control);
        frmMain& w = *window_;
        QWidget* widget = w.findChild<QWidget*>(control);
        QVERIFY(widget);
        const PreviewPaints paints(w);
        QTRY_VERIFY(paints.settled());  // earlier repaints are done
        const HFONT before = engine::CurrentFont;
        int draws = w.drawCount();
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            box->setCurrentIndex(box->count() > 2 ? 2 : 1);
            QCOMPARE(w.drawCount(), draws + 1);
        } else {
            auto* check = qobject_cast<QCheckBox*>(widget);
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
            QVERIFY(check->isChecked());
            QCOMPARE(w.drawCount(), draws + 1);
            draws = w.drawCount();
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
            QVERIFY(!check->isChecked());  // and back again
            QCOMPARE(w.drawCount(), draws + 1);
        }
        QVERIFY(engine::CurrentFont != 0);
        QVERIFY(engine::CurrentFont != before);
    }

    void aRedrawReplacesTheFontAndKeepsOneAlive()
    {
        const std::size_t live = fontview::liveFontCount();
        window_->DrawFont();
        window_->DrawFont();
        QCOMPARE(fontview::liveFontCount(), live);
    }

    void repaintingSettlesDown()
    {
        // A repaint draws the preview; the preview's own repaint must not
        // ask for another one. A loop would draw on and on: watched until
        // the deadline, failing as soon as it shows.
        const int before = window_->drawCount();
        window_->update();
        QTRY_VERIFY(window_->drawCount() > before);
        QVERIFY(!QTest::qWaitFor([&] { return window_->drawCount() > before + 2; }, 500));
    }

    void captionsFitTheirDesignedWidths()
    {
        for (QLabel* label : window_->findChildren<QLabel*>()) {
            const int need = platform::neededWidth({label->text(), platform::CaptionKind::Label, 0}, label->font());
            QVERIFY2(need <= label->width(), qPrintable(label->objectName()));
        }
        for (QCheckBox* box : window_->findChildren<QCheckBox*>()) {
            const int need = platform::neededWidth({box->text(), platform::CaptionKind::CheckBox, 0}, box->font());
            QVERIFY2(need <= box->width(), qPrintable(box->objectName()));
        }
        for (QPushButton* button : window_->findChildren<QPushButton*>()) {
            const int need =
                platform::neededWidth({button->text(), platform::CaptionKind::Button, 0}, button->font());
            QVERIFY2(need <= button->width(), qPrintable(button->objectName()));
        }
        // The numerals are larger and bold.
        QVERIFY(window_->lblStep1->font().bold());
        QVERIFY(window_->lblStep1->font().pointSizeF() > window_->lblStep1Label->font().pointSizeF());
    }

    void calculateRefusesWithAMessage_data()
    {
        QTest::addColumn<QString>("file");  // "" none chosen, "-" deleted, else content
        QTest::addColumn<bool>("withFont");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("critical");
        QTest::newRow("no data file") << "" << true
                                      << "You must select a data file on which to perform the calculation." << true;
        QTest::newRow("no data file before no font")
            << "" << false << "You must select a data file on which to perform the calculation." << true;
        QTest::newRow("no font") << "abc" << false << "Font not yet selected" << false;
        QTest::newRow("empty file") << "<empty>" << true
                                    << "The data file 'data.txt' does not contain any data." << true;
    }

    void calculateRefusesWithAMessage()
    {
        QFETCH(QString, file);
        QFETCH(bool, withFont);
        QFETCH(QString, message);
        QFETCH(bool, critical);
        if (!file.isEmpty())
            chooseDataFile(writeFile(QStringLiteral("data.txt"), file == "<empty>" ? QByteArray() : file.toUtf8()));
        if (!withFont)
            engine::CurrentFont.release();

        window_->Calculate();
        QCOMPARE(dialogs_->messages.size(), 1);
        QCOMPARE(dialogs_->messages[0].title, QStringLiteral("Spanwick"));
        QCOMPARE(dialogs_->messages[0].text, message);
        QCOMPARE(dialogs_->messages[0].icon,
                 critical ? platform::MessageIcon::Critical : platform::MessageIcon::None);
        for (QWidget* input : window_->inputs())
            QVERIFY(input->isEnabled());
        QCOMPARE(window_->cursor().shape(), Qt::ArrowCursor);
    }

    void calculateReportsAFileThatIsGone()
    {
        const QString path = writeFile(QStringLiteral("gone.txt"), "abc\n");
        chooseDataFile(path);
        QFile::remove(path);
        window_->Calculate();
        QCOMPARE(dialogs_->messages.size(), 1);
        QVERIFY(dialogs_->messages[0].text.contains(path));
        QVERIFY(dialogs_->messages[0].text.contains(QStringLiteral("No such file")));
        QVERIFY(window_->cmdCalculate->isEnabled());
    }

    void calculateShowsTheResultsThenIsReadyAgain()
    {
        chooseDataFile(writeFile(QStringLiteral("names.txt"), "abc\nde\n"));
        QString shownFace;
        closeNextModal(&shownFace);
        window_->Calculate();
        QCOMPARE(shownFace, window_->cmbFont->currentText());
        QVERIFY(dialogs_->messages.isEmpty());
        QCOMPARE(engine::WidthStatistics.MinWidth > 0, true);
        for (QWidget* input : window_->inputs())
            QVERIFY(input->isEnabled());

        // A second calculation after changing the face shows the new face.
        window_->cmbFont->setCurrentIndex(window_->cmbFont->count() - 1);
        closeNextModal(&shownFace);
        window_->Calculate();
        QCOMPARE(shownFace, window_->cmbFont->currentText());
    }

    void openShowsTheFileAndRemembersTheFilter()
    {
        const QString path = writeFile(QStringLiteral("people.txt"), "x\n");
        dialogs_->openAnswers.push_back({true, path, 3});
        window_->Open();
        QCOMPARE(window_->lblFile->text(), QStringLiteral("people.txt"));
        QCOMPARE(window_->lblFile->toolTip(), path);
        QCOMPARE(platform::GetSetting("Spanwick", "Settings", "OpenFilterIndex", "-"), QStringLiteral("3"));

        const platform::OpenFileRequest& request = dialogs_->openRequests.last();
        QCOMPARE(request.filters.size(), 4);
        QCOMPARE(request.filters[0].description, QStringLiteral("All Files (*.*)"));
        QCOMPARE(request.filters[1].description, QStringLiteral("Text Files(*.txt)"));
        QCOMPARE(request.filters[2].description, QStringLiteral("HTML Files (*.html;*.htm)"));
        QCOMPARE(request.filters[2].patterns, QStringList({"*.html", "*.htm"}));
        // CSV and TSV files come last, so the designed positions 1-3 keep their meaning.
        QCOMPARE(request.filters[3].description, QStringLiteral("CSV and TSV Files (*.csv;*.tsv)"));
        QCOMPARE(request.filters[3].patterns, QStringList({"*.csv", "*.tsv"}));

        // A cancelled Open changes nothing.
        dialogs_->openAnswers.push_back({false, QString(), 1});
        window_->Open();
        QCOMPARE(window_->lblFile->text(), QStringLiteral("people.txt"));
        QCOMPARE(window_->lblFile->toolTip(), path);
        QCOMPARE(platform::GetSetting("Spanwick", "Settings", "OpenFilterIndex", "-"), QStringLiteral("3"));

        // The next window, as after a restart, opens on the remembered filter.
        window_ = std::make_unique<frmMain>();
        window_->Load();
        window_->Open();
        QCOMPARE(dialogs_->openRequests.last().selectedFilter, 3);
        QCOMPARE(dialogs_->openRequests.last().fileName, QString());
    }

    void storedFilter_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("offered");
        QTest::newRow("missing") << QString() << 2;
        QTest::newRow("all files") << "1" << 1;
        QTest::newRow("html") << "3" << 3;
        QTest::newRow("csv and tsv") << "4" << 4;
        // Damaged values fall back to text files instead of disabling Open.
        QTest::newRow("text") << "abc" << 2;
        QTest::newRow("zero") << "0" << 2;
        QTest::newRow("one past csv and tsv") << "5" << 2;
        QTest::newRow("out of range") << "7" << 2;
        QTest::newRow("too large") << "99999" << 2;
        QTest::newRow("fraction") << "2.5" << 2;
        QTest::newRow("empty") << "" << 2;
    }

    void storedFilter()
    {
        QFETCH(QString, stored);
        QFETCH(int, offered);
        QSettings settings(QStringLiteral("Spanwick"), QStringLiteral("Spanwick"));
        if (stored.isNull())
            settings.remove(QStringLiteral("Settings/OpenFilterIndex"));
        else
            settings.setValue(QStringLiteral("Settings/OpenFilterIndex"), stored);
        settings.sync();

        window_->Open();  // cancelled
        QCOMPARE(dialogs_->openRequests.size(), 1);
        QCOMPARE(dialogs_->openRequests[0].selectedFilter, offered);
        // Only a confirmed dialog writes the setting.
        QCOMPARE(platform::GetSetting("Spanwick", "Settings", "OpenFilterIndex", "<none>"),
                 stored.isNull() ? QStringLiteral("<none>") : stored);
        dialogs_->openAnswers.push_back({true, writeFile(QStringLiteral("f.txt"), "x"), offered});
        window_->Open();
        QCOMPARE(platform::GetSetting("Spanwick", "Settings", "OpenFilterIndex", "<none>"), QString::number(offered));
    }

    void helpOpensTheFileBesideTheProgram()
    {
        window_->Help();
        QCOMPARE(dialogs_->helpFiles,
                 QStringList(QCoreApplication::applicationDirPath() + QStringLiteral("/Spanwick Help.hlp")));
        QVERIFY(window_->cmdHelp->isEnabled());
    }

    void enterCalculatesAndEscapeExits()
    {
        frmMain& w = *window_;
        w.cmbSize->setFocus();
        QTest::keyClick(w.cmbSize, Qt::Key_Return);
        QCOMPARE(dialogs_->messages.size(), 1);  // Calculate ran: no data file
        // With another button focused, Enter presses that one.
        w.cmdHelp->setFocus();
        QTest::keyClick(w.cmdHelp, Qt::Key_Return);
        QCOMPARE(dialogs_->helpFiles.size(), 1);
        QCOMPARE(dialogs_->messages.size(), 1);
        // Busy: Escape reaches a disabled Exit and does nothing.
        w.DisableInputs();
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        w.EnableInputs();
    }

    // The measurement runs on a thread of its own: while it waits for a
    // FIFO's writer the window is busy, yet repaints and shows its progress
    // with Cancel beside it; the results come once the writer is done.
    void aCalculationRunsBesideTheWindow()
    {
        const QString fifo = folder_.filePath(QStringLiteral("stream"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        chooseDataFile(fifo);
        bool disabled = false, repainted = false, progressShown = false, cancelShown = false;
        std::thread writer;
        QString shownFace;
        // Looks in while the measurement waits, once the progress bar is up
        // (it shows after half a second) or at the deadline.
        QTimer poll;
        const QDeadlineTimer deadline(10'000);
        QObject::connect(&poll, &QTimer::timeout, window_.get(), [&] {
            const auto* shown = window_->picText->findChild<QProgressBar*>();
            if (!(shown && shown->isVisible()) && !deadline.hasExpired())
                return;
            poll.stop();
            disabled = !window_->cmdCalculate->isEnabled() && !window_->cmbFont->isEnabled();
            const int draws = window_->drawCount();
            window_->repaint();
            repainted = window_->drawCount() > draws;
            const auto* bar = window_->picText->findChild<QProgressBar*>();
            progressShown = bar && bar->isVisible() && bar->maximum() == 0;  // no end known
            const auto* cancel = window_->picText->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
            cancelShown = cancel && cancel->isVisible() && cancel->isEnabled();
            writer = std::thread([fifo] {
                QFile out(fifo);
                if (out.open(QIODevice::WriteOnly))
                    out.write("abc\nde\n");
            });
            closeNextModal(&shownFace);
        });
        poll.start(20);
        window_->Calculate();
        writer.join();
        QVERIFY(disabled);
        QVERIFY(repainted);
        QVERIFY(progressShown);
        QVERIFY(cancelShown);
        QCOMPARE(shownFace, window_->cmbFont->currentText());
        QVERIFY(dialogs_->messages.isEmpty());
        QVERIFY(window_->cmdCalculate->isEnabled());
        QVERIFY(!window_->picText->findChild<QProgressBar*>()->isVisible());
        QVERIFY(!window_->picText->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isVisible());
    }

    // Esc or Cancel stops a calculation that reads a FIFO: its writer, which
    // never stops writing, sees the pipe close; nothing is shown and the
    // inputs come back.
    void escapeOrCancelStopsACalculation_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Esc") << true;
        QTest::newRow("Cancel") << false;
    }

    void escapeOrCancelStopsACalculation()
    {
        QFETCH(bool, escape);
        const QString fifo = folder_.filePath(escape ? QStringLiteral("escaped") : QStringLiteral("cancelled"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        chooseDataFile(fifo);
        // The writer sees EPIPE rather than a signal that would end the test.
        struct sigaction ignore {}, previous {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, &previous);
        const auto restore = qScopeGuard([&previous] { ::sigaction(SIGPIPE, &previous, nullptr); });

        // A line every few milliseconds, as a slow export does, so the
        // reader is never left waiting long. The deadline only keeps a
        // broken build from hanging the test run.
        std::atomic<bool> pipeClosed = false;
        std::thread writer([&pipeClosed, path = QFile::encodeName(fifo)] {
            const int fd = ::open(path.constData(), O_WRONLY);
            const QDeadlineTimer deadline(60'000);
            while (fd >= 0 && !deadline.hasExpired()) {
                if (::write(fd, "another customer\n", 17) < 0) {
                    pipeClosed = errno == EPIPE;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            if (fd >= 0)
                ::close(fd);
        });
        bool stopped = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, window_.get(), [&] {
            auto* cancel = window_->picText->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
            if (stopped || !cancel->isVisible())
                return;  // shown once the calculation has run half a second
            stopped = true;
            if (escape)
                QTest::keyClick(window_.get(), Qt::Key_Escape);
            else
                cancel->click();
        });
        poll.start(20);
        window_->Calculate();
        writer.join();
        QVERIFY(stopped);
        QVERIFY(pipeClosed);
        QVERIFY(window_->isVisible());  // Esc stopped the calculation, not the program
        QVERIFY(dialogs_->messages.isEmpty());
        QVERIFY(window_->findChildren<frmResults*>().isEmpty());
        for (QWidget* input : window_->inputs())
            QVERIFY(input->isEnabled());
        QVERIFY(!window_->picText->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isVisible());
    }

    // Exit asks the application to quit, which does nothing while no
    // application loop runs (tests run none): these run in any order.

    void exitReleasesTheFontOnce()
    {
        const std::size_t live = fontview::liveFontCount();
        QVERIFY(engine::CurrentFont != 0);
        QTest::keyClick(window_.get(), Qt::Key_Escape);  // Exit
        QCOMPARE(HFONT(engine::CurrentFont), HFONT(0));
        QCOMPARE(fontview::liveFontCount(), live - 1);
        QVERIFY(!window_->isVisible());
        // Running it again, as the window's own closing does, changes nothing.
        window_->Exit();
        window_->close();
        QCOMPARE(fontview::liveFontCount(), live - 1);
        // Event loops still run for the tests after this one.
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&loop] { loop.exit(7); });
        QCOMPARE(loop.exec(), 7);
    }

    void closingDuringACalculationEndsIt()
    {
        chooseDataFile(writeFile(QStringLiteral("long.txt"), QByteArray(4 << 20, 'x') + "\n"));
        QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
        const std::size_t live = fontview::liveFontCount();
        window_->Calculate();
        QVERIFY(!window_->isVisible());
        QVERIFY(window_->findChildren<frmResults*>().isEmpty() ||
                !window_->findChild<frmResults*>()->isVisible());
        QCOMPARE(HFONT(engine::CurrentFont), HFONT(0));
        QCOMPARE(fontview::liveFontCount(), live - 1);
        QVERIFY(dialogs_->messages.isEmpty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
