#pragma once

#include "game/state/soundplayer.h"

#include <QString>
#include <functional>
#include <memory>
#include <thread>

// The module `Music`: sound through SDL2_mixer. Effects play on one mixer
// channel, so a new sound cuts off the old one; music goes through
// FluidSynth with the system's General MIDI soundfont.
//
// Every SDL call runs on one worker thread owned by this object: opening the
// audio device and loading the soundfont can take a while, and the window's
// handlers must return at once. No audio device, no soundfont or a missing
// or broken file all end in silence. A call that waits for the worker waits
// at most ReplyTimeoutMs (plus the length of a sound it waits for), so a
// worker stuck in the audio device never freezes the caller.
class Music final : public SoundPlayer {
public:
    static constexpr int ReplyTimeoutMs = 2000;
    // The device opens this long after start-up, when the window is on
    // screen, or at once with the first request.
    static constexpr int OpenDelayMs = 400;

    // `soundFont` is the General MIDI soundfont for the music; without one
    // the music stays silent while the effects still play. `tune`, when
    // given, is loaded as soon as the device is open, so that the first
    // PlayMidi of it starts without waiting for the soundfont.
    explicit Music(QString soundFont = systemSoundFont(), QString tune = {});
    ~Music() override;
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    void PlayMidi(const QString& path) override;
    void PlayWave(const QString& fileName, int16_t mode) override;
    // The effect channel's volume (Mix_Volume) and the music's
    // (Mix_VolumeMusic, FluidSynth's gain); kept for a device opened later.
    void SetVolumes(int effects, int music) override;

    // Waits until every request sent so far has been carried out (not until
    // the sounds have finished). Returns false on timeout.
    bool waitForRequests(int timeoutMs);

    // True once the audio device has been opened; false also when the worker
    // does not answer within ReplyTimeoutMs.
    bool audioAvailable();

    // True while the effect channel or the music is still sounding; false
    // also when the worker does not answer within ReplyTimeoutMs.
    bool isPlaying();

    // True when the tune given to the constructor has been loaded and waits
    // for its first PlayMidi (false when the worker does not answer).
    bool tunePreloaded();

    // Runs `job` on the worker thread after every request sent before it,
    // without waiting; lets a test keep the worker busy.
    void runOnWorker(std::function<void()> job);

    // The General MIDI soundfont the music uses, or empty when none exists.
    static QString systemSoundFont();

    // What the worker thread and this object share; the thread keeps it
    // alive, so a worker that never returns from the audio device can be
    // left behind safely when this object goes.
    struct Worker;

private:
    std::shared_ptr<Worker> m_worker;
    std::thread m_thread;
};
