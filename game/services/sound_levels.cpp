#include "game/services/sound_levels.h"

#include <algorithm>

int SoundLevels::volumeOf(int percent) {
    return (std::clamp(percent, 0, 100) * SoundPlayer::MaxVolume + 50) / 100;
}

void SoundLevels::setMuted(bool muted) {
    if (muted == m_muted) return;
    m_muted = muted;
    apply();
}

void SoundLevels::setEffectsPercent(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == m_effects) return;
    m_effects = percent;
    apply();
}

void SoundLevels::setMusicPercent(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == m_music) return;
    m_music = percent;
    apply();
}

void SoundLevels::apply() {
    if (m_muted) {
        m_sound.SetVolumes(0, 0);
    } else {
        m_sound.SetVolumes(volumeOf(m_effects), volumeOf(m_music));
    }
}
