#include "common/ui/font_warm_up.h"

#include <QFontDatabase>
#include <QStringList>
#include <fontconfig/fontconfig.h>

namespace common {

// FcInit() loads the configuration once for the process and is safe to call
// from any thread: Qt's own call, on the window's thread, then finds it
// loaded (or, if it comes first, loads it and the warm-up's copy is dropped).
FontConfigurationWarmUp::FontConfigurationWarmUp() : m_loaded(std::async(std::launch::async, [] { FcInit(); })) {}

FontConfigurationWarmUp::~FontConfigurationWarmUp() {
    if (m_loaded.valid()) m_loaded.wait();
}

// Every function of QFontDatabase may be called from any thread.
FontDatabaseWarmUp::FontDatabaseWarmUp() : m_filled(std::async(std::launch::async, [] { QFontDatabase::families(); })) {}

FontDatabaseWarmUp::~FontDatabaseWarmUp() {
    if (m_filled.valid()) m_filled.wait();
}

}  // namespace common
