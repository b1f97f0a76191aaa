#pragma once

#include "common/ui/warm_up.h"

namespace common {

// Connects to the user's session bus while the window is built. Qt's
// accessibility bridge asks for that connection on the window's thread as the
// first widget is named or shown, and waits for it: a socket and a greeting
// on a desktop, a failed start of a bus on a display without one (a fork and
// a search of the PATH). Begun here, the window finds the connection made, or
// its failure known, and shares it. Made after the QApplication, which the
// connection needs.
class SessionBusWarmUp : public WarmUp {
public:
    SessionBusWarmUp();
};

}  // namespace common
