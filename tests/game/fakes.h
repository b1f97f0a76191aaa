#pragma once

#include "game/state/random.h"
#include "game/state/soundplayer.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>

// A random source that returns the numbers a test lines up, in order.
class ScriptedRandom final : public RandomSource {
public:
    void push(std::initializer_list<double> values) { m_values.insert(m_values.end(), values); }
    // The number r for which floor(r x n) is k.
    static double pick(int k, int n) { return (k + 0.5) / n; }

    double next() override {
        ++m_draws;
        if (m_values.empty()) {
            ADD_FAILURE() << "the game drew more random numbers than the test lined up";
            return 0.0;
        }
        const double r = m_values.front();
        m_values.pop_front();
        return r;
    }
    int draws() const { return m_draws; }
    size_t left() const { return m_values.size(); }

private:
    std::deque<double> m_values;
    int m_draws = 0;
};

// A sound player that records every call as "wave:<name>:<mode>",
// "midi:<path>" or "volumes:<effects>:<music>".
class RecordingSound final : public SoundPlayer {
public:
    void PlayMidi(const QString& path) override { calls << QStringLiteral("midi:") + path; }
    void PlayWave(const QString& fileName, int16_t mode) override {
        calls << QStringLiteral("wave:%1:%2").arg(fileName).arg(mode);
    }
    void SetVolumes(int effects, int music) override {
        calls << QStringLiteral("volumes:%1:%2").arg(effects).arg(music);
    }
    QStringList calls;
};

// A file's bytes as they stand on disk: empty when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
