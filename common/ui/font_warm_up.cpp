#include "common/ui/font_warm_up.h"

#include <QFontDatabase>
#include <QStringList>
#include <fontconfig/fontconfig.h>

namespace common {

// FcInit() loads the configuration once for the process and is safe to call
// from any thread: Qt's own call, on the window's thread, then finds it
// loaded (or, if it comes first, loads it and the warm-up's copy is dropped).
FontConfigurationWarmUp::FontConfigurationWarmUp() : WarmUp([] { FcInit(); }) {}

// Every function of QFontDatabase may be called from any thread.
FontDatabaseWarmUp::FontDatabaseWarmUp() : WarmUp([] { QFontDatabase::families(); }) {}

}  // namespace common
