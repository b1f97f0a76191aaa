#pragma once

#include <QString>

namespace common {
class SettingsStore;
}

// The game's settings, kept in the user's configuration folder through
// common::SettingsStore. The defaults are the game as it starts without
// any settings file; a value that is missing or not valid is its default.
struct GameSettings {
    bool pauseWhenInactive = true;  // pause a roll or round when the window is left
    bool muted = false;
    int effectsVolume = 100;  // percent
    int musicVolume = 100;    // percent
    int zoom = 1;             // 1 to 4, capped to the screen at start
    QString playerName;       // the name last entered in the best games; empty at first

    bool operator==(const GameSettings&) const = default;

    static GameSettings load(const common::SettingsStore& store);
    // Puts every value into `store` (which writes only what changed).
    void storeIn(common::SettingsStore& store) const;
};
