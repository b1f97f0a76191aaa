// A game that closes as its window does, round after round, in step with
// another such process: for the test that two windows closing at the same
// moment keep each other's successes, best games and preferences.
//   game_close_driver FOLDER ID
// On "start": a game starts on FOLDER (reads hituji.dat and the best games)
// and wins ID + 1 successes, then "started" is printed. On "close <round>":
// it enters a best game of 1000 + 2 x round + ID grams named "driver ID",
// keeps the preference "driver/ID" = round, closes (the close's
// read-merge-write of hituji.dat and the best games, and the report) and
// prints "closed" (or "failed: <why>").
#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "common/settings.h"
#include "game/core/hituji_game.h"
#include "tests/durable/quiet_game.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: game_close_driver FOLDER ID\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int id = std::atoi(argv[2]);
    FixedRandom random;
    SilentSound sound;
    std::unique_ptr<HitujiGame> game;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "start") {
            game = std::make_unique<HitujiGame>(random, sound, folder, folder);
            const savefiles::FileResult loaded = game->Form_Load();
            if (!loaded.ok) {
                std::printf("failed: %s\n", qPrintable(loaded.error));
            } else {
                game->state.SuccessCount = int16_t(game->state.SuccessCount + id + 1);
                std::printf("started\n");
            }
        } else if (line.rfind("close ", 0) == 0 && game) {
            const int round = std::atoi(line.c_str() + 6);
            QStringList errors;
            game->bestGames().gameOver(int16_t(1000 + 2 * round + id));
            if (const auto entered = game->BestGame_Enter(QStringLiteral("driver %1").arg(id), QDateTime::currentDateTime());
                !entered.ok)
                errors << entered.error;
            common::SettingsStore settings(folder + QStringLiteral("fleeceslot.conf"));
            settings.setValue(QStringLiteral("driver/%1").arg(id), QString::number(round));
            if (const auto saved = settings.save(); !saved.ok()) errors << saved.problem;
            if (const auto first = game->Form_QueryUnload(); !first.ok) errors << first.error;
            if (const auto rest = game->Form_Unload(); !rest.ok) errors << rest.error;
            game.reset();
            if (errors.isEmpty())
                std::printf("closed\n");
            else
                std::printf("failed: %s\n", qPrintable(errors.join(QStringLiteral("; "))));
        }
        std::fflush(stdout);
    }
    return 0;
}
