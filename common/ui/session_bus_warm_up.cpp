#include "common/ui/session_bus_warm_up.h"

#include <QDBusConnection>

namespace common {

// Qt keeps one session-bus connection for the process, made on first request
// from any thread: the bridge's request then returns the one made here.
SessionBusWarmUp::SessionBusWarmUp()
    : m_connected(std::async(std::launch::async, [] { QDBusConnection::sessionBus(); })) {}

SessionBusWarmUp::~SessionBusWarmUp() {
    if (m_connected.valid()) m_connected.wait();
}

}  // namespace common
