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

// Fills Qt's font database (the installed families, listed through
// fontconfig) on a thread of its own, from just after the QApplication is
// made. The database is one for the process and guarded by Qt: the window's
// first font, asked for while the list is being made, waits for it rather
// than making it again. Made after the QApplication, which the database
// needs, so that the destructor, which waits for the thread, runs before the
// application is gone.
class FontDatabaseWarmUp {
public:
    FontDatabaseWarmUp();
    ~FontDatabaseWarmUp();
    FontDatabaseWarmUp(const FontDatabaseWarmUp&) = delete;
    FontDatabaseWarmUp& operator=(const FontDatabaseWarmUp&) = delete;

private:
    std::future<void> m_filled;
};

}  // namespace common
