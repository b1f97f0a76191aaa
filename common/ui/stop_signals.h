#pragma once

class QWidget;

namespace common {

// Closes `window` as its close box does when the process is told to stop
// (SIGTERM, SIGINT or SIGHUP), on the window's own thread. Call once.
void closeOnStopSignals(QWidget& window);

}  // namespace common
