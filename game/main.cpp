// fleeceslot: the game "Woolmere".
#include "common/appfolder.h"
#include "common/ui/translations.h"
#include "game/phases/random.h"
#include "game/sound/music.h"
#include "game/ui/hituji_window.h"
#include "game/window/hituji_game.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    common::installQtTranslations(app);
    // The game takes no arguments (Qt's own, such as -platform, are gone by now).
    for (const QString& argument : app.arguments().mid(1))
        std::fprintf(stderr, "fleeceslot: ignoring the argument %s\n", qPrintable(argument));
    installGameFonts();
    const QString folder = common::applicationFolder();
    if (folder.isEmpty()) {
        // Without its own folder the game could not tell where its files are.
        QMessageBox::critical(nullptr, QStringLiteral("Woolmere"),
                              QStringLiteral("The game cannot find the folder it was started from."));
        return 1;
    }
    // Seeded from the clock at start-up.
    ClockSeededRandom random;
    // The tune is loaded as soon as the sound device opens, so that the
    // first click on the banner starts it at once.
    Music music(Music::systemSoundFont(), folder + QStringLiteral("maki.mid"));
    HitujiGame game(random, music, folder);
    Hituji window(game);
    if (!window.Form_Load()) return 1;
    window.show();
    return app.exec();
}
