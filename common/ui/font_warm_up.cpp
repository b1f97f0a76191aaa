#include "common/ui/font_warm_up.h"

#include <fontconfig/fontconfig.h>
#include <sched.h>

namespace common {

// FcInit() loads the configuration once for the process and is safe to call
// from any thread: Qt's own call, on the window's thread, then finds it
// loaded (or, if it comes first, loads it and the warm-up's copy is dropped).
//
// The thread runs at idle priority: while the application connects to the
// display, the window's thread and the display server take turns on the
// cores, and a warm-up at normal priority took the core the server needed
// (on two cores the connection took 2 ms longer). At idle priority it fills
// the moments a core has nothing else to do; nothing waits for it but the
// destructor.
FontConfigurationWarmUp::FontConfigurationWarmUp()
    : m_loaded(std::async(std::launch::async, [] {
          const sched_param none{};
          sched_setscheduler(0, SCHED_IDLE, &none);  // this thread only; a refusal changes nothing
          FcInit();
      })) {}

FontConfigurationWarmUp::~FontConfigurationWarmUp() {
    if (m_loaded.valid()) m_loaded.wait();
}

}  // namespace common
