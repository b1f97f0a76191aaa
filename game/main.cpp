// fleeceslot: the game "Woolmere".
#include "common/appfolder.h"
#include "common/datafolder.h"
#include "common/settings.h"
#include "common/ui/font_warm_up.h"
#include "common/ui/session_bus_warm_up.h"
#include "common/ui/stop_signals.h"
#include "common/ui/translations.h"
#include "game/state/random.h"
#include "game/services/player_name.h"
#include "game/services/music.h"
#include "game/ui/hituji_window.h"
#include "game/core/hituji_game.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

int main(int argc, char** argv) {
    // With no session bus to be had, none is looked for (a fork, on a display
    // without one); said before the first thread starts.
    common::disableUnreachableSessionBus();
    // Fontconfig loads on the other core while Qt connects to the display.
    const common::FontConfigurationWarmUp fonts;
    QApplication app(argc, argv);
    // And the session bus, which the accessibility bridge waits for, while the
    // window is built.
    const common::SessionBusWarmUp bus;
    QGuiApplication::setDesktopFileName(QLatin1String(common::GameId));
    common::installQtTranslations(app);
    installGameFonts();
    // The game takes no arguments (Qt's own, such as -platform, are gone by now).
    for (const QString& argument : app.arguments().mid(1))
        std::fprintf(stderr, "fleeceslot: ignoring the argument %s\n", qPrintable(argument));
    const QString folder = common::applicationFolder();
    if (folder.isEmpty()) {
        // Without its own folder the game could not tell where its files are.
        QMessageBox::critical(nullptr, QStringLiteral("Woolmere"),
                              QStringLiteral("The game cannot find the folder it was started from."));
        return 1;
    }
    // A portable copy keeps its save and report beside the program; an
    // installed copy keeps them in the user's data folder.
    const QString saveFolder = common::writableFolder(folder, QLatin1String(common::GameId));
    // Seeded from the clock at start-up.
    ClockSeededRandom random;
    // The tune is loaded as soon as the sound device opens, so that the
    // first click on the banner starts it at once.
    Music music(Music::systemSoundFont(), folder + QStringLiteral("maki.mid"));
    HitujiGame game(random, music, folder, saveFolder.isEmpty() ? folder : saveFolder);
    Hituji window(game);
    // The player's settings, from the user's configuration folder; without
    // a file (or with a broken one) the game starts as designed.
    common::SettingsStore settings(common::SettingsStore::userFile(QStringLiteral("fleeceslot")));
    window.useSettings(&settings);
    window.setAccountName(scores::systemPlayerName());
    if (!window.Form_Load()) return 1;
    // Told to stop (the session ends, say), the game closes as from its
    // close box, keeping its scores.
    common::closeOnStopSignals(window);
    window.show();
    return app.exec();
}
