// Sound through SDL's disk driver: the mixed output lands in a file, so the
// test can see whether real samples came out.
#include "game/services/music.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

// Counts the bytes of the samples (16-bit, as the disk driver writes them)
// that are louder than a synthesiser's dither: silence may carry noise of a
// few steps when FluidSynth is loaded, which no ear hears.
qsizetype loudBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray all = f.readAll();
    constexpr int Dither = 16;
    qsizetype loud = 0;
    for (qsizetype i = 0; i + 1 < all.size(); i += 2) {
        const auto v = static_cast<int16_t>(uint8_t(all[i]) | (uint8_t(all[i + 1]) << 8));
        if (std::abs(int(v)) > Dither) loud += 2;
    }
    return loud;
}

// The loudest sample (16-bit, as the disk driver writes them) from byte
// `from` on.
int peakFrom(const QString& path, qsizetype from) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray all = f.readAll();
    int peak = 0;
    for (qsizetype i = from & ~qsizetype(1); i + 1 < all.size(); i += 2) {
        const auto v = static_cast<int16_t>(uint8_t(all[i]) | (uint8_t(all[i + 1]) << 8));
        peak = std::max(peak, std::abs(int(v)));
    }
    return peak;
}

qsizetype sizeOf(const QString& path) {
    return QFileInfo(path).size();
}

// A Standard MIDI File (format 0) with one note of `ms` milliseconds.
QByteArray shortTune(int ms) {
    auto be32 = [](uint32_t v) {
        QByteArray out;
        for (int shift = 24; shift >= 0; shift -= 8) out.append(char((v >> shift) & 0xFF));
        return out;
    };
    auto varLen = [](uint32_t v) {
        QByteArray out(1, char(v & 0x7F));
        while (v >>= 7) out.prepend(char(0x80 | (v & 0x7F)));
        return out;
    };
    // 480 ticks a quarter at the default 500,000 us a quarter: 0.96 ticks a ms.
    const uint32_t ticks = uint32_t(ms * 96 / 100);
    QByteArray track = varLen(0) + QByteArray("\xC0\x49", 2)          // flute
                       + varLen(0) + QByteArray("\x90\x48\x64", 3)   // note on
                       + varLen(ticks) + QByteArray("\x80\x48\x40", 3)
                       + varLen(0) + QByteArray("\xFF\x2F\x00", 3);  // end of track
    return "MThd" + be32(6) + QByteArray("\x00\x00\x00\x01\x01\xE0", 6) + "MTrk" + be32(track.size()) + track;
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
    // Real notes, not the synthesiser's dither of ±1 alone.
    EXPECT_GT(peakFrom(output, 0), 2000);
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

// Muting sets both volumes to zero: what plays goes on, silently, and is
// heard again after unmuting; the device stays open all along.
TEST_F(SoundTest, mutedEffectsAreSilentAndComeBackAtTheirVolume) {
    writeFile(QStringLiteral("long.wav"), sineWave(3000));
    Music music;
    ASSERT_TRUE(music.audioAvailable());
    music.SetVolumes(0, 0);
    music.PlayWave(dir.filePath(QStringLiteral("long.wav")), 1);
    ASSERT_TRUE(music.waitForRequests(5000));
    QThread::msleep(600);
    EXPECT_TRUE(music.isPlaying()) << "the sound plays on, unheard";
    const qsizetype mutedEnd = sizeOf(output);
    EXPECT_GT(mutedEnd, 0);
    EXPECT_EQ(loudBytes(output), 0);
    music.SetVolumes(SoundPlayer::MaxVolume / 2, 0);
    ASSERT_TRUE(music.waitForRequests(5000));
    QThread::msleep(600);
    const qsizetype halfEnd = sizeOf(output);
    const int half = peakFrom(output, mutedEnd + 8192);
    EXPECT_GT(half, 4000);
    music.SetVolumes(SoundPlayer::MaxVolume, 0);
    ASSERT_TRUE(music.waitForRequests(5000));
    QThread::msleep(600);
    const int full = peakFrom(output, halfEnd + 8192);
    // The tone's peak is 12,000: half volume gives about half of it.
    EXPECT_NEAR(double(half) / full, 0.5, 0.05) << half << " " << full;
    EXPECT_TRUE(music.audioAvailable());
}

TEST_F(SoundTest, aMutedTuneGoesOnSilentlyAndIsHeardAgainAfterUnmuting) {
    if (Music::systemSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    const QString tune = QStringLiteral(WOOLMERE_SOURCE_DIR "/assets/game/sounds/maki.mid");
    Music music;
    ASSERT_TRUE(music.audioAvailable());
    music.SetVolumes(SoundPlayer::MaxVolume, 0);
    music.PlayMidi(tune);
    ASSERT_TRUE(music.waitForRequests(20000));
    QThread::msleep(1500);
    EXPECT_TRUE(music.isPlaying());
    const qsizetype mutedEnd = sizeOf(output);
    // FluidSynth dithers its 16-bit output: at a gain of zero that is ±1,
    // 90 dB below the tune, inaudible.
    EXPECT_LE(peakFrom(output, 0), 1) << "silence while muted";
    music.SetVolumes(SoundPlayer::MaxVolume, SoundPlayer::MaxVolume);
    ASSERT_TRUE(music.waitForRequests(5000));
    QThread::msleep(1000);
    EXPECT_GT(peakFrom(output, mutedEnd), 2000) << "the same tune, further on, is heard";
}

TEST(SoundWithoutDevice, playsNothingAndNeverCrashes) {
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    Music music;
    EXPECT_FALSE(music.audioAvailable());
    music.PlayWave(QStringLiteral("777.wav"), 1);
    music.PlayWave(QStringLiteral("777.wav"), -1);
    music.PlayMidi(QStringLiteral("/nowhere/maki.mid"));
    music.SetVolumes(0, 0);
    EXPECT_TRUE(music.waitForRequests(5000));
    EXPECT_FALSE(music.isPlaying());
    qputenv("SDL_AUDIODRIVER", "dummy");
}

TEST_F(SoundTest, tunePlaysOnceAndThenFallsSilent) {
    if (Music::systemSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    writeFile(QStringLiteral("short.mid"), shortTune(300));
    Music music;
    music.PlayMidi(dir.filePath(QStringLiteral("short.mid")));
    ASSERT_TRUE(music.waitForRequests(20000));
    EXPECT_TRUE(music.isPlaying());
    // The note and the soundfont's release tail last well under 5 s; a tune
    // played in a loop would still be sounding.
    QElapsedTimer clock;
    clock.start();
    while (music.isPlaying() && clock.elapsed() < 8000) QThread::msleep(100);
    EXPECT_FALSE(music.isPlaying());
    EXPECT_LT(clock.elapsed(), 6000);
}

TEST_F(SoundTest, preloadedTuneWaitsForItsFirstPlayAndRestartsFromTheStart) {
    if (Music::systemSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    writeFile(QStringLiteral("short.mid"), shortTune(2000));
    const QString tune = dir.filePath(QStringLiteral("short.mid"));
    Music music(Music::systemSoundFont(), tune);
    ASSERT_TRUE(music.audioAvailable());
    EXPECT_TRUE(music.tunePreloaded()) << "loaded when the device opened";
    EXPECT_FALSE(music.isPlaying()) << "but not played";
    music.PlayMidi(tune);
    ASSERT_TRUE(music.waitForRequests(5000));
    EXPECT_FALSE(music.tunePreloaded());
    EXPECT_TRUE(music.isPlaying());
    music.PlayMidi(tune);  // a second click loads it again and starts over
    ASSERT_TRUE(music.waitForRequests(5000));
    EXPECT_TRUE(music.isPlaying());
}

// A worker stuck in the audio device must never hold the window: every
// call that waits for it gives up after the reply timeout.
TEST(SoundWorker, aStuckWorkerCostsTheCallerABoundedWait) {
    QElapsedTimer clock;
    {
        Music music;
        ASSERT_TRUE(music.waitForRequests(5000));
        music.runOnWorker([] { QThread::msleep(Music::ReplyTimeoutMs + 1500); });
        clock.start();
        EXPECT_FALSE(music.audioAvailable());
        EXPECT_FALSE(music.isPlaying());
        EXPECT_LT(clock.elapsed(), 2 * Music::ReplyTimeoutMs + 1000);
        clock.restart();
        music.PlayWave(QStringLiteral("nothing.wav"), -1);
        EXPECT_LT(clock.elapsed(), Music::ReplyTimeoutMs + 1000);
        clock.restart();
    }
    EXPECT_LT(clock.elapsed(), Music::ReplyTimeoutMs + 1000) << "closing does not wait for ever either";
    QThread::msleep(2000);  // let the worker left behind finish its sleep and end
}

TEST_F(SoundTest, closingBeforeTheDeviceOpensNeverOpensIt) {
    QElapsedTimer clock;
    clock.start();
    { Music music; }
    EXPECT_LT(clock.elapsed(), Music::OpenDelayMs);
    EXPECT_FALSE(QFile::exists(output)) << "the disk driver writes its file only when the device opens";
}

}  // namespace
