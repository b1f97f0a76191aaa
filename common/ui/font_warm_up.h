#pragma once

#include "common/ui/warm_up.h"

namespace common {

// Loads the font configuration (fontconfig's settings and its cache of the
// installed fonts) from the start of main(), while the application connects
// to the display and the window is built. The window's first text waits for
// that loading otherwise: milliseconds of the first frame that the second
// core can take. Made before the QApplication.
class FontConfigurationWarmUp : public WarmUp {
public:
    FontConfigurationWarmUp();
};

// Fills Qt's font database (the installed families, listed through
// fontconfig) from just after the QApplication is made. The database is one
// for the process and guarded by Qt: the window's first font, asked for while
// the list is being made, waits for it rather than making it again. Made
// after the QApplication, which the database needs, so that the wait for the
// thread comes before the application is gone.
class FontDatabaseWarmUp : public WarmUp {
public:
    FontDatabaseWarmUp();
};

}  // namespace common
