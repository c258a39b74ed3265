#include "ScaledPlace.h"

#include <QDataStream>

#include <algorithm>
#include <cmath>

std::optional<SavedPlace> readSavedPlace(const QByteArray& saved)
{
    // saveGeometry's layout, version 3: magic, version, the frame,
    // the normal area, the screen's number, maximised, full screen, the
    // screen's width, the area.
    QDataStream in(saved);
    in.setVersion(QDataStream::Qt_4_0);
    quint32 magic = 0;
    quint16 major = 0, minor = 0;
    QRect frame, normal;
    qint32 screenNumber = 0, screenWidth = 0;
    quint8 maximized = 0, fullScreen = 0;
    in >> magic >> major >> minor >> frame >> normal >> screenNumber >> maximized >> fullScreen >> screenWidth;
    if (in.status() != QDataStream::Ok || magic != 0x1D9D0CB || major != 3 || screenWidth <= 0 || !normal.isValid())
        return std::nullopt;
    return SavedPlace{normal, screenWidth, maximized != 0};
}

QRect placeOnScreen(const SavedPlace& place, int screenWidth, const QRect& available, QSize minimum)
{
    const double factor = static_cast<double>(screenWidth) / place.screenWidth;
    const QSize size = place.normal.size().expandedTo(minimum).boundedTo(available.size());
    const QPoint wanted(static_cast<int>(std::lround(place.normal.x() * factor)),
                        static_cast<int>(std::lround(place.normal.y() * factor)));
    const int x = std::clamp(wanted.x(), available.left(), available.right() + 1 - size.width());
    const int y = std::clamp(wanted.y(), available.top(), available.bottom() + 1 - size.height());
    return QRect(QPoint(x, y), size);
}
