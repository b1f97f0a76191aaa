#pragma once

#include <memory>
#include <optional>

#include <QHash>
#include <QString>
#include <QStringList>

#include "reader/rules/aozora_notation.h"

namespace common {
class SettingsStore;
}

namespace velreader {

// The reader's preferences (表示 > "設定..."), and the zoom. Without a
// settings file every value is its default, which is the reader as designed.
struct ReaderPreferences {
    static constexpr double MinAutoPlaySpeed = 0.25;
    static constexpr double MaxAutoPlaySpeed = 4.0;
    static constexpr int MinTextSpeed = 10;   // characters a second
    static constexpr int MaxTextSpeed = 100;
    static constexpr int MaxZoom = 4;

    bool resumeOnOpen = false;   // "本を開いたら続きから読む"
    double autoPlaySpeed = 1.0;  // "自動再生の速さ": divides auto-play's waits
    int textSpeed = 0;           // "文字の速さ": 0 shows a line at once, else characters a second
    int zoom = 1;
    bool interpretAozora = true;                      // "青空文庫の記法を解釈する"
    RubyStyle rubyStyle = RubyStyle::Parentheses;     // "ルビ": "括弧で添える" or "省く"

    bool operator==(const ReaderPreferences&) const = default;

    // The values in `settings`, each checked: a missing or bad one is its default.
    static ReaderPreferences read(const common::SettingsStore& settings);
    void write(common::SettingsStore& settings) const;
};

// Auto-play's wait after a line: (1.0 s + 70 ms a character) / `speed`.
int autoPlayWaitMs(const QString& line, double speed);

// The same file by one name, whatever path it was opened by: the
// canonical path when the file exists, else the absolute path.
QString documentKey(const QString& path);

// For every book or text file played, the step it was left at; the places
// used most recently are kept, up to MaxPlaces.
class ReadingPlaces {
public:
    static constexpr int MaxPlaces = 1000;

    std::optional<int> place(const QString& key) const;
    void remember(const QString& key, int step);
    int size() const { return int(m_places.size()); }

    void read(const common::SettingsStore& settings);
    void write(common::SettingsStore& settings) const;

private:
    struct Place {
        int step = 0;
        qint64 used = 0;  // larger: used more recently
    };
    QHash<QString, Place> m_places;
    qint64 m_clock = 0;
};

// The books and texts opened last, the latest first (記録 > "最近開いた本").
class RecentFiles {
public:
    static constexpr int MaxFiles = 8;

    const QStringList& files() const { return m_files; }
    void add(const QString& path);
    void remove(const QString& path);

    void read(const common::SettingsStore& settings);
    void write(common::SettingsStore& settings) const;

private:
    QStringList m_files;
};

// Everything the reader keeps in its settings file, read in one go (on any
// thread: the window has it read while it builds its controls).
struct ReaderSettings {
    std::unique_ptr<common::SettingsStore> store;
    ReaderPreferences preferences;
    ReadingPlaces places;
    RecentFiles recent;

    // The user's file (empty: the defaults, and nothing is saved).
    static ReaderSettings read(const QString& path);
};

}  // namespace velreader
