#pragma once
// What the main window's tests share: a temporary folder for their files
// and settings, scripted dialogs, and the window started afresh. Each test
// class calls these from its initTestCase, init and cleanup.

#include "CurrentFont.h"
#include "ScriptedDialogs.h"
#include "frmMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class MainWindowFixture {
protected:
    QTemporaryDir folder_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<frmMain> window_;

    // Writes a file, and any folders on its way, under the folder.
    QString writeFile(const QString& name, const QByteArray& bytes = "x\n")
    {
        const QString path = folder_.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    frmMain& restart()
    {
        window_ = std::make_unique<frmMain>();
        window_->Load();
        return *window_;
    }

    // initTestCase: the settings live in the folder, not the user's.
    void keepSettingsInTheFolder()
    {
        QVERIFY(folder_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.filePath(QStringLiteral("config")));
    }

    // init: each test starts as a first run, nothing remembered, with the
    // window active.
    void startAsAFirstRun()
    {
        QSettings(QStringLiteral("Spanwick"), QStringLiteral("Spanwick")).clear();
        dialogs_ = std::make_unique<ScriptedDialogs>();
        restart();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    // cleanup: the window goes, and with it every font it made.
    void closeTheWindow()
    {
        window_.reset();
        dialogs_.reset();
        QCOMPARE(HFONT(engine::CurrentFont), HFONT(0));
    }
};
