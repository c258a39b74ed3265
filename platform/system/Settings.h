#pragma once
// The per-user settings store, addressed by application name, section and
// key, holding text values (~/.config/<application>/<application>.conf).

#include <QList>
#include <QPair>
#include <QString>

namespace platform {

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue);

// False when the value could not be stored.
bool SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value);

// Several keys of one section in one write of the file. A store that cannot
// be written keeps its old contents whole.
bool SaveSettings(const QString& application, const QString& section,
                  const QList<QPair<QString, QString>>& keysAndValues);

}  // namespace platform
