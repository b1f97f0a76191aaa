#include "game/services/music.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include "game/services/mixer_library.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <optional>

namespace {

constexpr int kEffectChannel = 0;

using std::chrono::milliseconds;

// A file as it stands on disk, so that a preloaded tune is only used while
// the file is still the one that was loaded.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return {};
    return {info.size(), info.lastModified()};
}

}  // namespace

struct Music::Worker {
    using Job = std::function<void(Worker&)>;

    // Shared between the threads, under `mutex`.
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Job> jobs;
    bool busy = false;
    bool stop = false;
    bool finished = false;

    // Set once before the thread starts.
    QString soundFont;
    QString tune;

    // Worker-thread only.
    MixerLibrary sdl;
    bool audioOpen = false;
    Mix_Music* music = nullptr;      // the tune playing or last played
    Mix_Music* preloaded = nullptr;  // `tune`, loaded at open, not yet played
    FileStamp preloadedStamp;
    Mix_Chunk* chunk = nullptr;      // the effect on the effect channel
    int effectsVolume = SoundPlayer::MaxVolume;
    int musicVolume = SoundPlayer::MaxVolume;

    void run();
    void openAudio();
    void closeAudio();
    void playMidiNow(const QString& path);
    void playWaveNow(const QString& fileName, int16_t mode);
    void applyVolumes();
    bool haveSoundFont() const { return !soundFont.isEmpty() && QFileInfo(soundFont).isFile(); }
};

void Music::Worker::run() {
    bool stopping = false;
    {
        // Wait a moment before opening the device, unless a request comes.
        std::unique_lock lock(mutex);
        wake.wait_for(lock, milliseconds(OpenDelayMs), [this] { return stop || !jobs.empty(); });
        stopping = stop;
    }
    // A shutdown asked for before the device opened does not open it.
    if (!stopping) openAudio();
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stop || !jobs.empty(); });
            // Without a device, requests left at shutdown have nothing to do;
            // dropping them releases anyone still waiting for an answer.
            if (stop && !audioOpen) jobs.clear();
            if (jobs.empty()) break;
            job = std::move(jobs.front());
            jobs.pop_front();
            busy = true;
        }
        job(*this);
        {
            std::lock_guard lock(mutex);
            busy = false;
        }
        idle.notify_all();
    }
    closeAudio();
    // SDL keeps per-thread data (its error text) for threads it did not
    // create: release it before this thread ends.
    if (sdl.TLSCleanup) sdl.TLSCleanup();
    {
        std::lock_guard lock(mutex);
        finished = true;
    }
    idle.notify_all();
}

void Music::Worker::openAudio() {
    if (!sdl.load()) return;
    if (sdl.InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    if (sdl.OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        sdl.QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    sdl.Init(MIX_INIT_MID);
    // Without an explicit soundfont SDL_mixer may find none; point it at the
    // system's General MIDI set. Without one the music stays silent (see
    // playMidiNow), rather than falling back to some other synthesiser.
    if (!soundFont.isEmpty()) sdl.SetSoundFonts(QFile::encodeName(soundFont).constData());
    sdl.AllocateChannels(1);
    audioOpen = true;
    applyVolumes();
    // Loading a tune reads the whole soundfont; done now, off the window's
    // thread, the first request to play it starts at once.
    if (!tune.isEmpty() && haveSoundFont()) {
        preloaded = sdl.LoadMUS(QFile::encodeName(tune).constData());
        preloadedStamp = stampOf(tune);
    }
}

void Music::Worker::closeAudio() {
    if (!audioOpen) return;
    sdl.HaltChannel(-1);
    sdl.HaltMusic();
    if (chunk) sdl.FreeChunk(chunk);
    if (music) sdl.FreeMusic(music);
    if (preloaded) sdl.FreeMusic(preloaded);
    chunk = nullptr;
    music = nullptr;
    preloaded = nullptr;
    sdl.CloseAudio();
    sdl.Quit();
    sdl.QuitSubSystem(SDL_INIT_AUDIO);
    audioOpen = false;
}

void Music::Worker::playMidiNow(const QString& path) {
    if (!audioOpen) return;
    // Stop and release whatever played before; an empty path ends here.
    sdl.HaltMusic();
    if (music) sdl.FreeMusic(music);
    music = nullptr;
    if (path.isEmpty() || !haveSoundFont()) return;
    if (preloaded && path == tune && stampOf(path) == preloadedStamp) {
        // The preloaded tune plays once, from its start, like a fresh load.
        music = preloaded;
        preloaded = nullptr;
    } else {
        music = sdl.LoadMUS(QFile::encodeName(path).constData());
    }
    if (!music) return;
    sdl.PlayMusic(music, 0);  // once, from the start
}

void Music::Worker::applyVolumes() {
    if (!audioOpen) return;
    // The channel keeps its volume from sound to sound, and the mixer its
    // music volume from tune to tune (each new tune starts at it).
    sdl.Volume(kEffectChannel, effectsVolume);
    sdl.VolumeMusic(musicVolume);
}

void Music::Worker::playWaveNow(const QString& fileName, int16_t mode) {
    if (!audioOpen) return;
    // A new sound cuts off the old one, also when the new file cannot be
    // played (the old sound stops, silence follows).
    sdl.HaltChannel(kEffectChannel);
    if (chunk) sdl.FreeChunk(chunk);
    chunk = nullptr;
    Mix_Chunk* loaded = sdl.loadWave(QFile::encodeName(fileName).constData());
    if (!loaded) return;
    chunk = loaded;
    sdl.playChannel(kEffectChannel, loaded, mode == 0 ? -1 : 0);
}

namespace {

void post(Music::Worker& worker, Music::Worker::Job job) {
    {
        std::lock_guard lock(worker.mutex);
        worker.jobs.push_back(std::move(job));
    }
    worker.wake.notify_all();
}

// Asks the worker for a value and waits for the answer at most `timeout`.
// The job holds nothing of the caller's: its promise is shared, so the
// worker may answer long after the caller has given up.
template <typename T>
std::optional<T> ask(Music::Worker& worker, std::function<T(Music::Worker&)> question,
                     milliseconds timeout = milliseconds(Music::ReplyTimeoutMs)) {
    auto answer = std::make_shared<std::promise<T>>();
    std::future<T> result = answer->get_future();
    post(worker, [answer, question = std::move(question)](Music::Worker& w) { answer->set_value(question(w)); });
    if (result.wait_for(timeout) != std::future_status::ready) return std::nullopt;
    try {
        return result.get();
    } catch (const std::future_error&) {
        return std::nullopt;  // dropped at shutdown
    }
}

}  // namespace

QString Music::systemSoundFont() {
    static const char* const candidates[] = {
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf3/default-GM.sf3",
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    };
    for (const char* c : candidates) {
        if (QFileInfo(QString::fromLatin1(c)).isFile()) return QString::fromLatin1(c);
    }
    return {};
}

Music::Music(QString soundFont, QString tune) : m_worker(std::make_shared<Worker>()) {
    m_worker->soundFont = std::move(soundFont);
    m_worker->tune = std::move(tune);
    m_thread = std::thread([worker = m_worker] { worker->run(); });
}

Music::~Music() {
    Worker& w = *m_worker;
    bool finished = false;
    {
        std::unique_lock lock(w.mutex);
        w.stop = true;
        w.wake.notify_all();
        finished = w.idle.wait_for(lock, milliseconds(ReplyTimeoutMs), [&w] { return w.finished; });
    }
    // A worker stuck in the audio device is left to the end of the process;
    // it holds the shared state itself.
    if (finished) {
        m_thread.join();
    } else {
        m_thread.detach();
    }
}

void Music::PlayMidi(const QString& path) {
    post(*m_worker, [path](Worker& w) { w.playMidiNow(path); });
}

void Music::PlayWave(const QString& fileName, int16_t mode) {
    if (mode >= 0) {
        post(*m_worker, [fileName, mode](Worker& w) { w.playWaveNow(fileName, mode); });
        return;
    }
    // A negative mode returns when the sound has finished: first the worker
    // starts it and tells its length, then the caller waits that long (and
    // a little more) for the end.
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> end = finished->get_future();
    const std::optional<int> lengthMs = ask<int>(*m_worker, [fileName, mode, finished](Worker& w) {
        w.playWaveNow(fileName, mode);
        int length = 0;
        if (w.chunk) {
            int rate = 0, channels = 0;
            Uint16 format = 0;
            if (w.sdl.QuerySpec(&rate, &format, &channels) && rate > 0 && channels > 0) {
                const int bytesPerSample = SDL_AUDIO_BITSIZE(format) / 8;
                length = int(qint64(w.chunk->alen) * 1000 / (qint64(rate) * channels * bytesPerSample));
            }
        }
        // The end is reported by a job of its own, so the worker answers
        // the length first.
        post(w, [finished](Worker& self) {
            while (self.audioOpen && self.sdl.Playing(kEffectChannel)) self.sdl.Delay(5);
            finished->set_value();
        });
        return length;
    });
    if (!lengthMs) return;
    end.wait_for(milliseconds(*lengthMs + ReplyTimeoutMs));
}

void Music::SetVolumes(int effects, int music) {
    effects = std::clamp(effects, 0, MaxVolume);
    music = std::clamp(music, 0, MaxVolume);
    post(*m_worker, [effects, music](Worker& w) {
        w.effectsVolume = effects;
        w.musicVolume = music;
        w.applyVolumes();
    });
}

bool Music::waitForRequests(int timeoutMs) {
    Worker& w = *m_worker;
    std::unique_lock lock(w.mutex);
    return w.idle.wait_for(lock, milliseconds(timeoutMs), [&w] { return w.finished || (w.jobs.empty() && !w.busy); });
}

bool Music::audioAvailable() {
    return ask<bool>(*m_worker, [](Worker& w) { return w.audioOpen; }).value_or(false);
}

bool Music::isPlaying() {
    return ask<bool>(*m_worker, [](Worker& w) {
               return w.audioOpen && (w.sdl.Playing(kEffectChannel) != 0 || w.sdl.PlayingMusic() != 0);
           }).value_or(false);
}

void Music::runOnWorker(std::function<void()> job) {
    post(*m_worker, [job = std::move(job)](Worker&) { job(); });
}

bool Music::tunePreloaded() {
    return ask<bool>(*m_worker, [](Worker& w) { return w.preloaded != nullptr; }).value_or(false);
}
