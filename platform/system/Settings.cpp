#include "Settings.h"

#include <QSettings>

namespace platform {

namespace {
QString settingKey(const QString& section, const QString& key) { return section + u'/' + key; }
}  // namespace

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    const QSettings settings(application, application);
    return settings.value(settingKey(section, key), defaultValue).toString();
}

bool SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value)
{
    QSettings settings(application, application);
    settings.setValue(settingKey(section, key), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool SaveSettings(const QString& application, const QString& section,
                  const QList<QPair<QString, QString>>& keysAndValues)
{
    QSettings settings(application, application);
    for (const auto& [key, value] : keysAndValues)
        settings.setValue(settingKey(section, key), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace platform
