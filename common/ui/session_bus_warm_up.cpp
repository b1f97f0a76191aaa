#include "common/ui/session_bus_warm_up.h"

#include <QDBusConnection>

namespace common {

// Qt keeps one session-bus connection for the process, made on first request
// from any thread: the bridge's request then returns the one made here.
SessionBusWarmUp::SessionBusWarmUp() : WarmUp([] { QDBusConnection::sessionBus(); }) {}

}  // namespace common
