#pragma once
// The main window's measurement against the command-line tool's: the
// window calculates, its results window saves the JSON, and the tool
// measures the same file in the same font at the window's resolution.

#include "ScriptedDialogs.h"
#include "SortedComboBox.h"
#include "TestFiles.h"
#include "frmMain.h"
#include "frmResults.h"

#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A customer export whose note column has a long tail: most notes short,
// a few of several hundred characters, one of several thousand.
inline QByteArray customerExport()
{
    QByteArray csv = "id,name,note\n";
    const char* const notes[] = {"", "VIP", "Prefers email.", "Call after 5pm; gate code 4711.",
                                 "Asked for a paper copy of the contract, sent by post on request."};
    for (int i = 1; i <= 400; ++i) {
        QByteArray note = notes[i % 5];
        if (i % 97 == 0)
            note = QByteArray("Complaint about order #88213, voucher offered. ").repeated(i / 20);
        if (i == 200)
            note = "\"History:\n" + QByteArray("Called; resolved. ").repeated(300) + "\"";
        csv += QByteArray::number(i) + ",Customer " + QByteArray::number(i) + "," + note + "\n";
    }
    return csv;
}

// Calculates in the window and saves the results as JSON; empty when no
// results window came.
inline QByteArray windowJson(frmMain& window, ScriptedDialogs& dialogs, const QString& saveTo)
{
    dialogs.saveAnswers.push_back({true, saveTo, 3});
    bool saved = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        auto* results = qobject_cast<frmResults*>(QApplication::activeModalWidget());
        if (!results)
            return;
        poll.stop();
        results->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
        saved = true;
        results->reject();
    });
    poll.start(20);
    window.Calculate();
    return saved ? readTestFile(saveTo) : QByteArray();
}

// What spanwick-measure --json writes for the same file and font.
inline QByteArray toolJson(const QString& face, const QString& size, int dpi, const QString& file,
                           const QString& column = {})
{
    QStringList arguments{"--json", "--face", face, "--size", size, "--dpi", QString::number(dpi)};
    if (!column.isEmpty())
        arguments << "--column" << column;
    QProcess tool;
    tool.start(QStringLiteral(SPANWICK_MEASURE), arguments << file);
    if (!tool.waitForFinished(60'000) || tool.exitCode() != 0)
        return "tool failed: " + tool.readAllStandardError();
    return tool.readAllStandardOutput();
}

// The check itself, for a data-driven test with the columns of
// addSameAsTheToolRows: the window's JSON is the tool's, byte for byte,
// and names the window's resolution.
inline void addSameAsTheToolRows()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("column");
    QTest::newRow("plain text") << "names.txt" << QByteArray("Anna\nBjörn Lindqvist\nZoë\n\nO'Brien-Papadopoulos\n")
                                << QString();
    QTest::newRow("CSV column with a long tail") << "customers.csv" << customerExport() << "note";
}

inline void checkSameAsTheTool(frmMain& window, ScriptedDialogs& dialogs, const QTemporaryDir& folder)
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, column);
    const QString file = writeTestFile(folder, name, bytes);
    window.useDataFile(file);
    window.cmbFont->setCurrentIndex(window.cmbFont->findText(QStringLiteral("DejaVu Sans")));
    window.cmbSize->setCurrentIndex(window.cmbSize->findText(QStringLiteral("10")));
    QCOMPARE(window.cmbFont->currentText(), QStringLiteral("DejaVu Sans"));
    if (!column.isEmpty())
        window.cmbColumn->setCurrentIndex(window.cmbColumn->findText(column));
    const QByteArray saved = windowJson(window, dialogs, folder.filePath(name + QStringLiteral(".json")));
    const int dpi = window.logicalDpiY();
    QVERIFY2(saved.contains("\"Dpi\":" + QByteArray::number(dpi) + ","), saved.constData());
    QCOMPARE(saved, toolJson(QStringLiteral("DejaVu Sans"), QStringLiteral("10"), dpi, file, column));
}
