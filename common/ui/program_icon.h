#pragma once

#include <QIcon>
#include <QString>

namespace common {

// The program's own icon as a window shows it, in the sizes 16 to 64 (the
// larger ones are the desktop's, from the icon theme; decoding them too
// would slow the first frame), from the program's resources
// (":/icons/<size>/<id>.png").
QIcon programIcon(const QString& appId);

}  // namespace common
