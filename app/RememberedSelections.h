#pragma once
// What the main window remembers across runs, in the user's settings beside
// OpenFilterIndex (section "Settings"): the font selection, the data file's
// folder and the window's size and place. Values are kept as the lists show
// them; whether a value is still one of the list's entries is for the
// window to judge, so a damaged or outdated value falls back to its
// control's default there.

#include <QByteArray>
#include <QString>

struct RememberedFont {
    QString face;    // as listed in step 1
    QString size;    // "1".."144"
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString weight;  // "Thin".."Heavy"
    QString width;   // "Normal", "1".."100"
};

// Empty texts and unchecked boxes for anything not stored.
RememberedFont readRememberedFont(const QString& application);
// False when the values could not be stored.
bool writeRememberedFont(const QString& application, const RememberedFont& font);

QString readDataFolder(const QString& application);
bool writeDataFolder(const QString& application, const QString& folder);

// QWidget::saveGeometry's bytes; empty when none or damaged.
QByteArray readWindowGeometry(const QString& application);
bool writeWindowGeometry(const QString& application, const QByteArray& geometry);
