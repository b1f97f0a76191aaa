// Soak of the game through its handlers, off screen: many rolls and many
// complete ten-round shearing games with a seeded random source, with the
// memory after the first hundred compared with the memory at the end.
//
//   game_soak [rolls] [games]      (defaults 10000 and 1000)
#include "game/core/hituji_game.h"
#include "soak_memory.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {
class CountingSound final : public SoundPlayer {
public:
    void PlayMidi(const QString&) override { ++calls; }
    void PlayWave(const QString&, int16_t) override { ++calls; }
    long calls = 0;
};
}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rolls = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int games = argc > 2 ? std::atoi(argv[2]) : 1000;
    QTemporaryDir dir;
    ClockSeededRandom random(12345);
    ClockSeededRandom player(777);  // decides how long each roll runs and where the player clicks
    CountingSound sound;
    HitujiGame game(random, sound, dir.path() + u'/');
    if (!game.Form_Load().ok) return 1;

    long rollMemoryAt100 = 0, successes = 0;
    for (int r = 0; r < rolls; ++r) {
        game.Command1_Click();
        const int ticks = randomChoice(player, 1100, 1);
        for (int t = 0; t < ticks && game.controls.Timer1; ++t) game.Timer1_Timer();
        const int16_t before = game.state.SuccessCount;
        game.Command1_Click();
        successes += game.state.SuccessCount - before;
        if (r % 7 == 0) game.Option1_Click();
        game.Command2_Click();
        if (r == 99) rollMemoryAt100 = residentKb();
    }
    const long rollMemoryEnd = residentKb();

    long gameMemoryAt100 = 0, wool = 0;
    for (int g = 0; g < games; ++g) {
        game.Command4_Click();
        for (int round = 0; round < 10; ++round) {
            game.Command3_Click();
            while (game.controls.Timer2) {
                game.Timer2_Timer();
                // A few presses per tick, anywhere on the field.
                for (int p = 0; p < 2; ++p) {
                    game.Pmain_MouseDown(1, 0, static_cast<float>(player.next() * 200),
                                         static_cast<float>(player.next() * 150));
                }
            }
        }
        wool += game.state.Wool;
        if (g == 99) gameMemoryAt100 = residentKb();
    }
    const long gameMemoryEnd = residentKb();

    std::printf("rolls: %d (%ld at 777), memory after 100: %ld kB, at the end: %ld kB\n", rolls, successes,
                rollMemoryAt100, rollMemoryEnd);
    std::printf("games: %d (mean %ld g), memory after 100: %ld kB, at the end: %ld kB\n", games,
                games ? wool / games : 0, gameMemoryAt100, gameMemoryEnd);
    std::printf("best: %d g, sounds: %ld\n", game.state.BestWool, sound.calls);
    const bool ok = (rolls < 100 || rollMemoryEnd - rollMemoryAt100 <= 1024) &&
                    (games < 100 || gameMemoryEnd - gameMemoryAt100 <= 1024);
    if (!kMemoryIsMeaningful) {
        std::printf("memory growth not judged: built with AddressSanitizer\n");
        return 0;
    }
    std::printf("memory growth within 1 MB: %s\n", ok ? "yes" : "NO");
    return ok ? 0 : 1;
}
