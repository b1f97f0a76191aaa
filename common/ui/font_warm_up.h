#pragma once

#include <future>

namespace common {

// Loads the font configuration (fontconfig's settings and its cache of the
// installed fonts) on a thread of its own, from the start of main(), while
// the application connects to the display and the window is built. The
// window's first text waits for that loading otherwise: milliseconds of the
// first frame that the second core can take. Made before the QApplication;
// the destructor waits for the thread.
class FontConfigurationWarmUp {
public:
    FontConfigurationWarmUp();
    ~FontConfigurationWarmUp();
    FontConfigurationWarmUp(const FontConfigurationWarmUp&) = delete;
    FontConfigurationWarmUp& operator=(const FontConfigurationWarmUp&) = delete;

private:
    std::future<void> m_loaded;
};

}  // namespace common
