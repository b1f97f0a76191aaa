#include "game/services/game_settings.h"

#include "common/settings.h"
#include "game/services/best_games.h"

namespace {
const QString kPause = QStringLiteral("play/pauseWhenInactive");
const QString kMuted = QStringLiteral("sound/muted");
const QString kEffects = QStringLiteral("sound/effectsVolume");
const QString kMusic = QStringLiteral("sound/musicVolume");
const QString kZoom = QStringLiteral("window/zoom");
const QString kName = QStringLiteral("bestGames/playerName");
}  // namespace

GameSettings GameSettings::load(const common::SettingsStore& store) {
    const GameSettings d;
    GameSettings s;
    s.pauseWhenInactive = store.boolValue(kPause, d.pauseWhenInactive);
    s.muted = store.boolValue(kMuted, d.muted);
    s.effectsVolume = store.intValue(kEffects, d.effectsVolume, 0, 100);
    s.musicVolume = store.intValue(kMusic, d.musicVolume, 0, 100);
    s.zoom = store.intValue(kZoom, d.zoom, 1, 4);
    s.playerName = store.stringValue(kName);
    // A name the best games could not hold is no name.
    if (s.playerName.size() > scores::kMaxNameLength) s.playerName.clear();
    return s;
}

void GameSettings::storeIn(common::SettingsStore& store) const {
    // As texts, the form in which they are read back: a value that did not
    // change compares equal and is not counted as a change.
    const auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    store.setValue(kPause, flag(pauseWhenInactive));
    store.setValue(kMuted, flag(muted));
    store.setValue(kEffects, QString::number(effectsVolume));
    store.setValue(kMusic, QString::number(musicVolume));
    store.setValue(kZoom, QString::number(zoom));
    if (!playerName.isEmpty()) store.setValue(kName, playerName);
}
