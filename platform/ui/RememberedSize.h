#pragma once
// A window's size kept across runs in the user's settings (section
// "Settings"), as "WIDTHxHEIGHT" in the window's own pixels.

#include <QSize>
#include <QString>

namespace platform {

// An invalid size when none is kept or the value is damaged.
QSize readRememberedSize(const QString& key);
// False when it could not be kept; the window goes on as it is.
bool writeRememberedSize(const QString& key, QSize size);

}  // namespace platform
