#pragma once

#include "game/sound/soundplayer.h"

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// The module `Music`: sound through SDL2_mixer. Effects play on one mixer
// channel, so a new sound cuts off the old one; music goes through
// FluidSynth with the system's General MIDI soundfont.
//
// Every SDL call runs on one worker thread owned by this object: opening the
// audio device and loading the soundfont can take a while, and the window's
// handlers must return at once. No audio device, no soundfont or a missing
// or broken file all end in silence.
class Music final : public SoundPlayer {
public:
    // `soundFont` is the General MIDI soundfont for the music; without one
    // the music stays silent while the effects still play.
    explicit Music(QString soundFont = systemSoundFont());
    ~Music() override;
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    void PlayMidi(const QString& path) override;
    void PlayWave(const QString& fileName, int16_t mode) override;

    // Waits until every request sent so far has been carried out (not until
    // the sounds have finished). Returns false on timeout.
    bool waitForRequests(int timeoutMs);

    // True once the audio device has been opened. Waits for the worker's
    // start-up to finish first.
    bool audioAvailable();

    // True while the effect channel or the music is still sounding.
    bool isPlaying();

    // The General MIDI soundfont the music uses, or empty when none exists.
    static QString systemSoundFont();

private:
    void post(std::function<void()> job);
    void run();

    // Worker-thread only.
    void openAudio();
    void closeAudio();
    void playMidiNow(const QString& path);
    void playWaveNow(const QString& fileName, int16_t mode);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    QString m_soundFont;

    // Owned by the worker thread.
    bool m_audioOpen = false;
    void* m_music = nullptr;  // Mix_Music*
    void* m_chunk = nullptr;  // Mix_Chunk* on the effect channel

    std::thread m_thread;  // last: starts after every member is ready
};
