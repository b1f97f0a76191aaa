#pragma once

#include "game/state/soundplayer.h"

// The player's hold on the sound: mute, and the volume of the effects and of
// the music in percent. Each change reaches the sound player at once; muting
// silences effects and music together while both go on playing, so a tune
// is heard again, further on, after unmuting. At start nothing is muted and
// both volumes are full, and nothing is sent until something changes.
class SoundLevels {
public:
    explicit SoundLevels(SoundPlayer& sound) : m_sound(sound) {}

    bool muted() const { return m_muted; }
    int effectsPercent() const { return m_effects; }
    int musicPercent() const { return m_music; }

    void setMuted(bool muted);
    // Percentages outside 0 to 100 are taken as the nearer end.
    void setEffectsPercent(int percent);
    void setMusicPercent(int percent);

    // The player's volume (0 to SoundPlayer::MaxVolume) for a percentage.
    static int volumeOf(int percent);

private:
    void apply();

    SoundPlayer& m_sound;
    bool m_muted = false;
    int m_effects = 100;
    int m_music = 100;
};
