#pragma once

#include <QString>
#include <cstdint>

// What the game's handlers need of sound: background music from a MIDI file
// and wave effects. The program uses Music; tests pass a recording player.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Plays the MIDI file at `path` once from its start, stopping and
    // releasing any music before. An empty path only stops and releases.
    virtual void PlayMidi(const QString& path) = 0;

    // Plays a wave file. `mode` 0 loops, a positive mode plays once and
    // returns at once, a negative mode plays once and returns when the sound
    // has finished. A new sound cuts off the one still playing; a file that
    // cannot be played gives silence.
    virtual void PlayWave(const QString& fileName, int16_t mode) = 0;

    // The loudest volume, also the volume at start.
    static constexpr int MaxVolume = 128;

    // Sets the volume of the effects and of the music, each 0 (silent) to
    // MaxVolume. Sounds and a tune that play go on at the new volume; the
    // sound device stays open. A player without volumes ignores it.
    virtual void SetVolumes(int effects, int music) {
        (void)effects;
        (void)music;
    }
};
