// Frame and tick costs of the game, each beside a plain memcpy of the same
// number of bytes the frame writes.
#include "game/drawing/game_drawing.h"
#include "game/drawing/surfaces.h"
#include "game/core/hituji_game.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

class SilentSound final : public SoundPlayer {
public:
    void PlayMidi(const QString&) override {}
    void PlayWave(const QString&, int16_t) override {}
};

GameSurfaces& surfaces() {
    static GameSurfaces s = [] {
        GameSurfaces loaded;
        loadGameSurfaces(loaded);
        return loaded;
    }();
    return s;
}

constexpr size_t kPixel = 4;
constexpr size_t kRollFrameBytes = (40 * 40 + 200 * 150) * kPixel;
constexpr size_t kShearFrameBytes = (200 * 150 + 5 * 40 * 40 + 200 * 150) * kPixel;

void memcpyOf(benchmark::State& state, size_t bytes) {
    std::vector<char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_Memcpy_RollFrameBytes(benchmark::State& state) { memcpyOf(state, kRollFrameBytes); }
void BM_Memcpy_ShearFrameBytes(benchmark::State& state) { memcpyOf(state, kShearFrameBytes); }

// One roll frame: one 40 x 40 masked draw onto the back buffer, one copy of
// the whole back buffer to the screen.
void BM_RollFrame(benchmark::State& state) {
    GameSurfaces& s = surfaces();
    int i = 0;
    for (auto _ : state) {
        const int x = (i * 37) % 180 - 5, y = (i * 53) % 120 - 5;
        Game::DrawMasked(s.Ph[i % 5], s.Phb1, 0, 0, 40, 40, s.Pura, x, y);
        Game::CopyBlock(s.Pura, 0, 0, 200, 150, s.Pmain, 0, 0);
        benchmark::ClobberMemory();
        ++i;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kRollFrameBytes));
}

// One shearing frame: background, five masked sheep, copy to the screen.
void BM_ShearFrame(benchmark::State& state) {
    GameSurfaces& s = surfaces();
    for (auto _ : state) {
        Game::CopyBlock(s.Pkiso, 0, 0, 200, 150, s.Pura, 0, 0);
        for (int k = 0; k < 5; ++k) Game::DrawMasked(s.Ph[k], s.Phb1, 0, 0, 40, 40, s.Pura, 30 * k, 20 * k);
        Game::CopyBlock(s.Pura, 0, 0, 200, 150, s.Pmain, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kShearFrameBytes));
}

// A whole roll tick through its handler: three random draws, the draw, the
// copy, the count and both captions.
void BM_RollTickHandler(benchmark::State& state) {
    QTemporaryDir dir;
    ClockSeededRandom random(7);
    SilentSound sound;
    HitujiGame game(random, sound, dir.path() + u'/');
    game.Command1_Click();
    for (auto _ : state) {
        game.state.SheepCount = 100;
        game.Timer1_Timer();
    }
}

// A whole shearing tick through its handler: the move, the end test and the
// frame of a flock of five.
void BM_ShearTickHandler(benchmark::State& state) {
    QTemporaryDir dir;
    ClockSeededRandom random(7);
    SilentSound sound;
    HitujiGame game(random, sound, dir.path() + u'/');
    game.state.FlockSize = 5;
    int ticks = 0;
    for (auto _ : state) {
        if (ticks++ % 15 == 0) {
            for (int k = 1; k <= 5; ++k) game.state.SheepX[k] = static_cast<int16_t>(200 - 10 * k);
        }
        game.Timer2_Timer();
    }
}

BENCHMARK(BM_Memcpy_RollFrameBytes);
BENCHMARK(BM_RollFrame);
BENCHMARK(BM_Memcpy_ShearFrameBytes);
BENCHMARK(BM_ShearFrame);
BENCHMARK(BM_RollTickHandler);
BENCHMARK(BM_ShearTickHandler);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
