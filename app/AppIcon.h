#pragma once
// The application's icon: a yellow ruler with a black outline and tick
// marks along its lower edge, drawn at 32x32 and 16x16.

#include <QIcon>
#include <QImage>

QImage rulerImage(int size);
QIcon applicationIcon();
