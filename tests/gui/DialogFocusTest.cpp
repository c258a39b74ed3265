// The keyboard focus after a dialog or message: back on the window it was
// shown over, on the control that had it, whatever the answer. The real
// dialogs run here, answered by a script as a user would answer them.

#include "TestSettings.h"
#include "Dialogs.h"
#include "WidthStatistics.h"
#include "frmResults.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

namespace {

using Answer = std::function<void(QWidget* dialog)>;

// Answers the dialogs as they come up, one answer each, in order. A dialog
// beyond the script is closed, so a test fails instead of hanging.
class ScriptedUser : public QObject {
public:
    explicit ScriptedUser(std::deque<Answer> answers)
        : answers_(std::move(answers)), shownBefore_(QApplication::activeModalWidget())
    {
        connect(&poll_, &QTimer::timeout, this, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || dialog == answered_ || dialog == shownBefore_ || !dialog->isVisible())
                return;
            answered_ = dialog;
            Answer answer = [this](QWidget* unexpected) {
                unexpected_ = true;
                unexpected->close();
            };
            if (!answers_.empty()) {
                answer = answers_.front();
                answers_.pop_front();
            }
            // Outside this slot: an answer may open the next dialog, and a
            // timer does not fire again while its slot is still running.
            QTimer::singleShot(0, dialog, [dialog, answer] { answer(dialog); });
        });
        poll_.start(10);
    }
    // Every answer given, and nothing else asked.
    bool done() const { return answers_.empty() && !unexpected_; }

private:
    std::deque<Answer> answers_;
    QPointer<QWidget> shownBefore_;  // a modal window the dialogs are shown over
    QPointer<QWidget> answered_;
    bool unexpected_ = false;
    QTimer poll_;
};

Answer typeName(const QString& path)
{
    return [path](QWidget* dialog) {
        auto* name = qobject_cast<QFileDialog*>(dialog) ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
        if (!name) {
            dialog->close();
            QFAIL("expected the file dialog");
        }
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    };
}

// Esc where the keyboard focus is, which must be in the dialog (also after
// a warning over it has closed).
Answer cancel()
{
    return [](QWidget* dialog) {
        const auto focusInDialog = [dialog] { return dialog->isAncestorOf(QApplication::focusWidget()); };
        const bool focused = QTest::qWaitFor(focusInDialog, 2000);
        QTest::keyClick(focused ? QApplication::focusWidget() : dialog, Qt::Key_Escape);
        QVERIFY2(focused, "the dialog does not have the keyboard focus");
    };
}

Answer press(QMessageBox::StandardButton which)
{
    return [which](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (!box || !box->button(which)) {
            dialog->close();
            QFAIL("expected a message box with that button");
        }
        box->button(which)->click();
    };
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

report::ReportInput anInput()
{
    report::ReportInput input;
    input.selections.faceText = "DejaVu Sans";
    input.selections.sizeText = "10";
    input.selections.weightIndex = 3;
    input.selections.widthText = "Normal";
    input.dataFilePath = "/home/user/names.txt";
    input.dataFileTitle = "names.txt";
    engine::WidthDistribution widths;
    widths.add(12);
    input.statistics = engine::computeStatistics(widths);
    return input;
}

QPushButton* button(const QWidget& window, const char* name) { return window.findChild<QPushButton*>(name); }

}  // namespace

class DialogFocusTest : public QObject {
    Q_OBJECT

    TestSettings settings;

    QWidget mainWindow;

private slots:
    void initTestCase()
    {
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    }

    // Save from the results window, then Esc closes it without a click.
    // Steps: a name typed into the file dialog, a button of a message box,
    // or Esc.
    void saveLeavesTheFocusOnTheResults_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("control");  // where the focus was and must be again
        QTest::addColumn<QString>("written");  // the file the report went to, if any
        QTest::newRow("replace: yes") << QStringList{"report.txt", "Yes"} << "cmdSave" << "report.txt";
        QTest::newRow("replace: no, then cancel") << QStringList{"report.txt", "No", "Esc"} << "cmdSave" << "";
        QTest::newRow("new file") << QStringList{"new.txt"} << "cmdSave" << "new.txt";
        QTest::newRow("cancelled") << QStringList{"Esc"} << "cmdSave" << "";
        QTest::newRow("no such folder: warning, then cancel")
            << QStringList{"missing/new.txt", "OK", "Esc"} << "cmdSave" << "";
        QTest::newRow("from Close's focus") << QStringList{"new.txt"} << "cmdClose" << "new.txt";
    }

    void saveLeavesTheFocusOnTheResults()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, control);
        QFETCH(QString, written);
        QTemporaryDir folder;
        {
            QFile earlier(folder.filePath("report.txt"));
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write("earlier report\n");
        }
        const QMap<QString, QMessageBox::StandardButton> buttons{
            {"Yes", QMessageBox::Yes}, {"No", QMessageBox::No}, {"OK", QMessageBox::Ok}};
        std::deque<Answer> answers;
        for (const QString& step : steps)
            answers.push_back(step == "Esc"              ? cancel()
                              : buttons.contains(step) ? press(buttons[step])
                                                       : typeName(folder.filePath(step)));

        frmResults window(&mainWindow);
        window.Load(anInput());
        window.show();
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QPushButton* focused = button(window, qPrintable(control));
        focused->setFocus();
        QCOMPARE(QApplication::focusWidget(), focused);

        ScriptedUser user(answers);
        button(window, "cmdSave")->click();
        QVERIFY(user.done());
        for (const QString name : {"report.txt", "new.txt"})
            QCOMPARE(contents(folder.filePath(name)).startsWith("Font Face"), name == written);

        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QCOMPARE(QApplication::focusWidget(), focused);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    // The seam's other dialogs: the open dialog and a message, over any window.
    void otherDialogsGiveTheFocusBack_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("accept");
        QTest::newRow("open, chosen") << "open" << true;
        QTest::newRow("open, cancelled") << "open" << false;
        QTest::newRow("message") << "message" << true;
        QTest::newRow("message, closed by Esc") << "message" << false;
        // As when a report cannot be written.
        QTest::newRow("save, then a message") << "save and message" << true;
    }

    void otherDialogsGiveTheFocusBack()
    {
        QFETCH(QString, dialog);
        QFETCH(bool, accept);
        QTemporaryDir folder;
        const QString data = folder.filePath("names.txt");
        QFile(data).open(QIODevice::WriteOnly);

        QWidget owner;
        new QPushButton("First", &owner);
        auto* second = new QPushButton("Second", &owner);
        second->move(0, 40);
        owner.show();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        second->setFocus();

        std::deque<Answer> answers{accept ? (dialog == "open" ? typeName(data) : press(QMessageBox::Ok)) : cancel()};
        if (dialog == "save and message")
            answers = {typeName(folder.filePath("report.txt")), press(QMessageBox::Ok)};
        ScriptedUser user(answers);
        if (dialog == "open") {
            const platform::OpenFileAnswer answer = platform::dialogs().openFile(&owner, {});
            QCOMPARE(answer.accepted, accept);
        } else if (dialog == "save and message") {
            QVERIFY(platform::dialogs().saveFile(&owner, {}).accepted);
            platform::dialogs().message(&owner, "Spanwick", "The report could not be saved.", {});
        } else {
            platform::dialogs().message(&owner, "Spanwick", "A message.", platform::MessageIcon::Critical);
        }
        QVERIFY(user.done());
        QTRY_COMPARE(QApplication::activeWindow(), &owner);
        QCOMPARE(QApplication::focusWidget(), second);
    }
};

QTEST_MAIN(DialogFocusTest)
#include "DialogFocusTest.moc"
