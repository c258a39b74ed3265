#include "RememberedColumn.h"

#include "Settings.h"

namespace {

const QString section = QStringLiteral("Settings");

QString keyFor(const QString& extension) { return QStringLiteral("Column_") + extension.toLower(); }

}  // namespace

QString readRememberedColumn(const QString& application, const QString& extension)
{
    return platform::GetSetting(application, section, keyFor(extension), QString());
}

bool writeRememberedColumn(const QString& application, const QString& extension, const QString& name)
{
    return platform::SaveSetting(application, section, keyFor(extension), name);
}
