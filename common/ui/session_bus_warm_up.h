#pragma once

#include <string>

#include "common/ui/warm_up.h"

namespace common {

// Connects to the user's session bus while the window is built. Qt's
// accessibility bridge asks for that connection on the window's thread as the
// first widget is named or shown, and waits for it: a socket and a greeting
// on a desktop, a bus started by dbus-launch where the session has none but
// one can be started, a refusal at once where none can be had (see
// disableUnreachableSessionBus below). Begun here, the window finds the
// connection made, or its failure known, and shares it. Made after the
// QApplication, which the connection needs.
class SessionBusWarmUp : public WarmUp {
public:
    SessionBusWarmUp();
};

// Whether libdbus could find a session bus, looking where it looks: the
// address in the environment (`address`, null when unset; an empty one is
// none), the user's bus socket in `runtimeDir` (XDG_RUNTIME_DIR), and
// otherwise a bus started by dbus-launch, run from `binDir` or else searched
// for along `path` (PATH, null when unset).
bool sessionBusCanBeFound(const char* address, const char* runtimeDir, const char* path,
                          const std::string& binDir = "/usr/bin");

// Where no session bus can be found, names it as "disabled:", an address
// libdbus refuses at once. Otherwise the first request for the bus (Qt's
// accessibility bridge) forks the whole process to look along the PATH for a
// dbus-launch that is not there: about 2 ms of the window's start-up on a
// display without a bus, for the same outcome, no bus. Where a bus can be
// found, nothing changes. Called first in main(), before any thread starts,
// as setenv() is not safe beside other threads.
void disableUnreachableSessionBus();

}  // namespace common
