#pragma once

#include "game/state/random.h"
#include "game/state/soundplayer.h"

// A game that closes in these tests draws no number that matters and plays
// nothing: the same middle number every time, and no sound.
class FixedRandom final : public RandomSource {
public:
    double next() override { return 0.5; }
};

class SilentSound final : public SoundPlayer {
public:
    void PlayMidi(const QString&) override {}
    void PlayWave(const QString&, int16_t) override {}
    void SetVolumes(int, int) override {}
};
