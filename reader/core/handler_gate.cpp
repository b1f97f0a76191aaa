#include "reader/core/handler_gate.h"

namespace velreader {

bool HandlerGate::listingContinues() {
    if (m_listingAborted) return false;
    // Processing events after every line would make a long listing crawl;
    // a few times per frame is enough to show it growing.
    if (m_eventPump && m_sincePump.elapsed() >= m_pumpIntervalMs) {
        m_eventPump();
        m_sincePump.restart();
    }
    return !m_listingAborted;
}

}  // namespace velreader
