#pragma once

#include <future>

namespace common {

// Start-up work done on a thread of its own from construction, while the
// window's thread goes on connecting to the display and building controls.
// The destructor waits for the thread.
class WarmUp {
public:
    explicit WarmUp(void (*work)());
    ~WarmUp();
    WarmUp(const WarmUp&) = delete;
    WarmUp& operator=(const WarmUp&) = delete;

private:
    std::future<void> m_done;
};

}  // namespace common
