#include "RememberedSize.h"

#include "AppInfo.h"
#include "Settings.h"

#include <QRegularExpression>

namespace platform {

namespace {

const QString section = QStringLiteral("Settings");
QString application() { return QString::fromUtf8(appinfo::title); }

}  // namespace

QSize readRememberedSize(const QString& key)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,5})x(\\d{1,5})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(GetSetting(application(), section, key, QString()));
    if (!match.hasMatch())
        return {};
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    return size.width() > 0 && size.height() > 0 ? size : QSize();
}

bool writeRememberedSize(const QString& key, QSize size)
{
    if (!size.isValid())
        return false;
    return SaveSetting(application(), section, key, QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
}

}  // namespace platform
