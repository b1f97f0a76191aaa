#include "common/ui/session_bus_warm_up.h"

#include <QDBusConnection>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace common {

// Qt keeps one session-bus connection for the process, made on first request
// from any thread: the bridge's request then returns the one made here.
SessionBusWarmUp::SessionBusWarmUp() : WarmUp([] { QDBusConnection::sessionBus(); }) {}

bool sessionBusCanBeFound(const char* address, const char* runtimeDir, const char* path, const std::string& binDir) {
    // An empty address is none to libdbus, which then looks on.
    if (address && *address) return true;
    if (runtimeDir && *runtimeDir && access((std::string(runtimeDir) + "/bus").c_str(), F_OK) == 0) return true;
    const auto launcherIn = [](std::string_view folder) {
        // An empty entry of PATH is the current folder, as for execvp().
        const std::string file = (folder.empty() ? std::string(".") : std::string(folder)) + "/dbus-launch";
        return access(file.c_str(), X_OK) == 0;
    };
    if (launcherIn(binDir)) return true;
    // Without PATH, execvp() searches its default one.
    std::string_view folders = path ? path : "/bin:/usr/bin";
    for (;;) {
        const size_t colon = folders.find(':');
        if (launcherIn(folders.substr(0, colon))) return true;
        if (colon == std::string_view::npos) return false;
        folders.remove_prefix(colon + 1);
    }
}

void disableUnreachableSessionBus() {
    if (!sessionBusCanBeFound(std::getenv("DBUS_SESSION_BUS_ADDRESS"), std::getenv("XDG_RUNTIME_DIR"),
                              std::getenv("PATH")))
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

}  // namespace common
