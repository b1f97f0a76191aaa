#pragma once

#include <QIcon>
#include <QString>

namespace common {

// The program's own icon in every size it is drawn in, from the program's
// resources (":/icons/<size>/<id>.png", and ":/icons/<id>.png" at 256).
QIcon programIcon(const QString& appId);

}  // namespace common
