#pragma once

#include <functional>

#include <QElapsedTimer>

namespace velreader {

// One handler at a time, and long listings that let the window breathe.
// While a handler runs, every other handler returns at once, so no click
// can run in the middle of another; while a listing runs, Text2 only grows
// (the window may show just the new part) and the event pump runs now and
// then.
class HandlerGate {
public:
    void setEventPump(std::function<void()> pump) { m_eventPump = std::move(pump); }
    // How often a listing calls the event pump at most; 0 calls it after
    // every line.
    void setPumpInterval(int milliseconds) { m_pumpIntervalMs = milliseconds; }

    bool busy() const { return m_busy; }
    bool listing() const { return m_listing; }
    void abortListing() { m_listingAborted = true; }
    // Lets the window breathe now and then; false once the listing is aborted.
    bool listingContinues();
    // The same after one short line of a listing: the clock is read only at
    // every 64th line (reading it at every line of 660,000 costs more than
    // the appending), unless the pump is asked for after every line.
    bool lineListed() {
        if (m_pumpIntervalMs > 0 && ++m_linesSinceClock < 64) return !m_listingAborted;
        m_linesSinceClock = 0;
        return listingContinues();
    }

    // Marks the gate busy for the lifetime of a handler that may pump events
    // or show a dialog.
    class Busy {
    public:
        explicit Busy(HandlerGate& gate) : m_gate(gate) {
            m_gate.m_busy = true;
            // A close stops what is left of this handler's listing.
            m_gate.m_listingAborted = false;
            m_gate.m_sincePump.start();
        }
        ~Busy() { m_gate.m_busy = false; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        HandlerGate& m_gate;
    };

    // Marks a listing for its lifetime.
    class Listing {
    public:
        explicit Listing(HandlerGate& gate) : m_gate(gate) { m_gate.m_listing = true; }
        ~Listing() { m_gate.m_listing = false; }
        Listing(const Listing&) = delete;
        Listing& operator=(const Listing&) = delete;

    private:
        HandlerGate& m_gate;
    };

private:
    std::function<void()> m_eventPump;
    int m_pumpIntervalMs = 10;
    QElapsedTimer m_sincePump;
    int m_linesSinceClock = 0;
    bool m_busy = false;
    bool m_listing = false;
    bool m_listingAborted = false;
};

}  // namespace velreader
