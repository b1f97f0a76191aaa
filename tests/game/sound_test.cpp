// Sound through SDL's disk driver: the mixed output lands in a file, so the
// test can see whether real samples came out.
#include "game/sound/music.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// A mono 16-bit 22050 Hz sine tone of `ms` milliseconds as a WAV file.
QByteArray sineWave(int ms) {
    const int rate = 22050;
    const int samples = rate * ms / 1000;
    QByteArray data;
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440 * i / rate));
        data.append(static_cast<char>(v & 0xFF));
        data.append(static_cast<char>((v >> 8) & 0xFF));
    }
    auto le32 = [](uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](uint16_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    QByteArray wav = "RIFF" + le32(36 + data.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(rate) +
                     le32(rate * 2) + le16(2) + le16(16) + "data" + le32(data.size()) + data;
    return wav;
}

// Counts the non-zero bytes the disk driver wrote.
qsizetype loudBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray all = f.readAll();
    return std::count_if(all.begin(), all.end(), [](char c) { return c != 0; });
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        output = dir.filePath(QStringLiteral("out.raw"));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
    }
    void TearDown() override { qputenv("SDL_AUDIODRIVER", "dummy"); }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir;
    QString output;
};

TEST_F(SoundTest, waveFileComesOutAsRealSamples) {
    writeFile(QStringLiteral("tone.wav"), sineWave(300));
    {
        Music music;
        ASSERT_TRUE(music.audioAvailable());
        music.PlayWave(dir.filePath(QStringLiteral("tone.wav")), 1);
        ASSERT_TRUE(music.waitForRequests(5000));
        QThread::msleep(500);
    }
    EXPECT_GT(loudBytes(output), 10000);
}

TEST_F(SoundTest, missingOrBrokenFilesAreSilentAndNeverBlock) {
    writeFile(QStringLiteral("broken.wav"), QByteArray("RIFF\x10\0\0\0WAVEjunk", 16));
    writeFile(QStringLiteral("broken.mid"), QByteArray("MThd garbage that is no tune"));
    {
        Music music;
        QElapsedTimer clock;
        clock.start();
        music.PlayWave(dir.filePath(QStringLiteral("missing.wav")), 1);
        music.PlayWave(dir.filePath(QStringLiteral("broken.wav")), 1);
        music.PlayWave(dir.filePath(QStringLiteral("missing.wav")), -1);  // waits, but for nothing
        music.PlayMidi(dir.filePath(QStringLiteral("missing.mid")));
        music.PlayMidi(dir.filePath(QStringLiteral("broken.mid")));
        music.PlayMidi(QString());
        EXPECT_LT(clock.elapsed(), 1000);
        ASSERT_TRUE(music.waitForRequests(5000));
        QThread::msleep(300);
        EXPECT_FALSE(music.isPlaying());
    }
    EXPECT_EQ(loudBytes(output), 0);
}

TEST_F(SoundTest, newSoundCutsOffTheOldOne) {
    writeFile(QStringLiteral("long.wav"), sineWave(3000));
    Music music;
    music.PlayWave(dir.filePath(QStringLiteral("long.wav")), 1);
    ASSERT_TRUE(music.waitForRequests(5000));
    EXPECT_TRUE(music.isPlaying());
    // A file that cannot be played still stops what played before.
    music.PlayWave(dir.filePath(QStringLiteral("missing.wav")), 1);
    ASSERT_TRUE(music.waitForRequests(5000));
    EXPECT_FALSE(music.isPlaying());
}

TEST_F(SoundTest, midiPlaysThroughTheSoundFontWithoutBlockingTheCaller) {
    if (Music::systemSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    const QString tune = QStringLiteral(WOOLMERE_SOURCE_DIR "/assets/game/sounds/maki.mid");
    ASSERT_TRUE(QFile::exists(tune));
    {
        Music music;
        QElapsedTimer clock;
        clock.start();
        music.PlayMidi(tune);
        EXPECT_LT(clock.elapsed(), 50) << "the caller never waits for the soundfont";
        ASSERT_TRUE(music.waitForRequests(20000));
        QThread::msleep(1500);
        EXPECT_TRUE(music.isPlaying());
        music.PlayMidi(QString());
        ASSERT_TRUE(music.waitForRequests(5000));
    }
    EXPECT_GT(loudBytes(output), 10000);
}

TEST_F(SoundTest, missingSoundFontLeavesTheMusicSilentButEffectsPlay) {
    writeFile(QStringLiteral("tone.wav"), sineWave(300));
    {
        Music music(dir.filePath(QStringLiteral("no-such-font.sf2")));
        music.PlayMidi(QStringLiteral(WOOLMERE_SOURCE_DIR "/assets/game/sounds/maki.mid"));
        ASSERT_TRUE(music.waitForRequests(5000));
        QThread::msleep(300);
        EXPECT_FALSE(music.isPlaying());
        music.PlayWave(dir.filePath(QStringLiteral("tone.wav")), 1);
        ASSERT_TRUE(music.waitForRequests(5000));
        QThread::msleep(400);
    }
    EXPECT_GT(loudBytes(output), 10000);
}

TEST(SoundWithoutDevice, playsNothingAndNeverCrashes) {
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    Music music;
    EXPECT_FALSE(music.audioAvailable());
    music.PlayWave(QStringLiteral("777.wav"), 1);
    music.PlayWave(QStringLiteral("777.wav"), -1);
    music.PlayMidi(QStringLiteral("/nowhere/maki.mid"));
    EXPECT_TRUE(music.waitForRequests(5000));
    EXPECT_FALSE(music.isPlaying());
    qputenv("SDL_AUDIODRIVER", "dummy");
}

}  // namespace
