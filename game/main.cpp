// fleeceslot: the game "Woolmere".
#include "common/appfolder.h"
#include "game/phases/hituji_game.h"
#include "game/phases/random.h"
#include "game/sound/music.h"
#include "game/window/hituji_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installGameFonts();
    // Seeded from the clock at start-up.
    ClockSeededRandom random;
    Music music;
    HitujiGame game(random, music, common::applicationFolder());
    Hituji window(game);
    if (!window.Form_Load()) return 1;
    window.show();
    return app.exec();
}
