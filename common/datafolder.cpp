#include "common/datafolder.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "common/appfolder.h"

namespace common {

bool isInstalledCopy(const QString& applicationFolder) {
    return QFileInfo(applicationFolder + QLatin1String(InstalledMarker)).isFile();
}

QString userDataFolder(const QString& appId) {
    // Follows XDG_DATA_HOME, else ~/.local/share.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) return {};
    return withTrailingSeparator(base) + appId + u'/';
}

QString writableFolder(const QString& applicationFolder, const QString& appId) {
    return isInstalledCopy(applicationFolder) ? userDataFolder(appId) : applicationFolder;
}

}  // namespace common
