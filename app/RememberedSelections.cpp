#include "RememberedSelections.h"

#include "Settings.h"

#include <QSettings>

namespace {

const QString section = QStringLiteral("Settings");
const QString faceKey = QStringLiteral("FontFace");
const QString sizeKey = QStringLiteral("FontSize");
const QString italicKey = QStringLiteral("Italic");
const QString underlineKey = QStringLiteral("Underline");
const QString strikeOutKey = QStringLiteral("Strikethrough");
const QString weightKey = QStringLiteral("Weight");
const QString widthKey = QStringLiteral("Width");
const QString folderKey = QStringLiteral("DataFolder");
const QString geometryKey = QStringLiteral("WindowGeometry");

// Check boxes are kept as 1 and 0; anything else reads as unchecked.
bool checkedFrom(const QString& text) { return text.trimmed() == QLatin1String("1"); }
QString textOf(bool checked) { return checked ? QStringLiteral("1") : QStringLiteral("0"); }

QString read(const QString& application, const QString& key)
{
    return platform::GetSetting(application, section, key, QString());
}

}  // namespace

RememberedFont readRememberedFont(const QString& application)
{
    RememberedFont font;
    font.face = read(application, faceKey);
    font.size = read(application, sizeKey);
    font.italic = checkedFrom(read(application, italicKey));
    font.underline = checkedFrom(read(application, underlineKey));
    font.strikeOut = checkedFrom(read(application, strikeOutKey));
    font.weight = read(application, weightKey);
    font.width = read(application, widthKey);
    return font;
}

bool writeRememberedFont(const QString& application, const RememberedFont& font)
{
    return platform::SaveSettings(application, section,
                                  {{faceKey, font.face},
                                   {sizeKey, font.size},
                                   {italicKey, textOf(font.italic)},
                                   {underlineKey, textOf(font.underline)},
                                   {strikeOutKey, textOf(font.strikeOut)},
                                   {weightKey, font.weight},
                                   {widthKey, font.width}});
}

QString readDataFolder(const QString& application) { return read(application, folderKey); }

bool writeDataFolder(const QString& application, const QString& folder)
{
    return platform::SaveSetting(application, section, folderKey, folder);
}

QByteArray readWindowGeometry(const QString& application)
{
    // Kept as Base64 text, so the settings file stays plain text.
    const QByteArray text = read(application, geometryKey).toLatin1();
    const auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

bool writeWindowGeometry(const QString& application, const QByteArray& geometry)
{
    return platform::SaveSetting(application, section, geometryKey, QString::fromLatin1(geometry.toBase64()));
}
