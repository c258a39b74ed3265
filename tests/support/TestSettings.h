#pragma once
// Keeps a window test's settings in a folder of its own, never the user's:
// the windows remember their sizes when they close.

#include <QSettings>
#include <QTemporaryDir>

class TestSettings {
public:
    TestSettings()
    {
        if (!folder_.isValid())
            qFatal("no temporary folder for the settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    }

    // Forgets everything kept so far.
    void clear() { QSettings(QStringLiteral("Spanwick"), QStringLiteral("Spanwick")).clear(); }

private:
    QTemporaryDir folder_;
};
