#include "OpenFilterSetting.h"

#include "Settings.h"

namespace {
const QString section = QStringLiteral("Settings");
const QString key = QStringLiteral("OpenFilterIndex");
}  // namespace

int readOpenFilterIndex(const QString& application)
{
    const QString stored =
        platform::GetSetting(application, section, key, QString::number(defaultOpenFilterIndex)).trimmed();
    bool whole = false;
    const int position = stored.toInt(&whole, 10);
    return whole && position >= 1 && position <= openFilterCount ? position : defaultOpenFilterIndex;
}

bool writeOpenFilterIndex(const QString& application, int position)
{
    return platform::SaveSetting(application, section, key, QString::number(position));
}
