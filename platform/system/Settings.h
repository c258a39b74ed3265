#pragma once
// The per-user settings store, addressed by application name, section and
// key, holding text values (~/.config/<application>/<application>.conf).

#include <QString>

namespace platform {

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue);

// False when the value could not be stored.
bool SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value);

}  // namespace platform
