#pragma once

class QWidget;

namespace common {

// Closes `window` as its close box does when the process is told to stop
// (SIGTERM, SIGINT or SIGHUP), on the window's own thread. Call once.
void closeOnStopSignals(QWidget& window);

// True once a stop signal has asked the window to close: a close that no
// one can answer a question for.
bool stopSignalReceived();

}  // namespace common
