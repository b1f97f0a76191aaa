#include "game/services/player_name.h"

#include <pwd.h>
#include <unistd.h>

namespace scores {

QString playerNameFrom(QByteArrayView gecos, QByteArrayView login) {
    const qsizetype comma = gecos.indexOf(',');
    const QString full = QString::fromLocal8Bit(comma < 0 ? gecos : gecos.first(comma)).trimmed();
    if (!full.isEmpty()) return full;
    return QString::fromLocal8Bit(login).trimmed();
}

QString nameToKeep(const QString& typed, const QString& offered) {
    if (!typed.trimmed().isEmpty()) return typed;
    if (!offered.trimmed().isEmpty()) return offered;
    return QStringLiteral("名無し");
}

QString systemPlayerName() {
    // getpwuid_r with a buffer of its own: nothing shared with other callers.
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    if (size <= 0) size = 16384;
    QByteArray buffer(size, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
    return playerNameFrom(found->pw_gecos ? QByteArrayView(found->pw_gecos) : QByteArrayView(),
                          found->pw_name ? QByteArrayView(found->pw_name) : QByteArrayView());
}

}  // namespace scores
