#pragma once

class QCoreApplication;

namespace common {

// Both programs speak Japanese whatever the user's locale, Qt's own texts
// too: installs Qt's Japanese translation (from Qt's translations folder)
// and makes Japanese the default locale, so that standard buttons, file
// dialogs and message boxes read as the rest of the window does. True when
// the translation was found; without it Qt's texts stay English.
bool installQtTranslations(QCoreApplication& app);

}  // namespace common
