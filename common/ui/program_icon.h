#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>

namespace common {

// The program's own icon as a window shows it, in the sizes 16 to 64 (the
// larger ones are the desktop's, from the icon theme; decoding them too
// would slow the first frame), from the program's resources
// (":/icons/<size>/<id>.png").
QIcon programIcon(const QString& appId);

// The same in two halves: the pictures decoded (safe on any thread, so that a
// window can have them read while it builds its controls), then the icon
// made of them (on the window's thread).
QList<QImage> programIconImages(const QString& appId);
QIcon iconOf(const QList<QImage>& images);

}  // namespace common
