#pragma once

class QCoreApplication;

namespace common {

// Installs Qt's own translation for the user's locale (from Qt's
// translations folder), so that file dialogs and message boxes speak the
// user's language. Without a translation for the locale nothing changes.
void installQtTranslations(QCoreApplication& app);

}  // namespace common
