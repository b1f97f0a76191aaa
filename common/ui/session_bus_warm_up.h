#pragma once

#include <future>

namespace common {

// Connects to the user's session bus on a thread of its own while the window
// is built. Qt's accessibility bridge asks for that connection on the
// window's thread as the first widget is named or shown, and waits for it:
// a socket and a greeting on a desktop, a failed start of a bus on a display
// without one (a fork and a search of the PATH). Begun here, the window finds
// the connection made, or its failure known, and shares it. Made after the
// QApplication, which the connection needs; the destructor waits for the
// thread.
class SessionBusWarmUp {
public:
    SessionBusWarmUp();
    ~SessionBusWarmUp();
    SessionBusWarmUp(const SessionBusWarmUp&) = delete;
    SessionBusWarmUp& operator=(const SessionBusWarmUp&) = delete;

private:
    std::future<void> m_connected;
};

}  // namespace common
