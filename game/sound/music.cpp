#include "game/sound/music.h"

#include <QFileInfo>
#include <SDL.h>
#include <SDL_mixer.h>
#include <chrono>
#include <future>

namespace {

constexpr int kEffectChannel = 0;
constexpr int kOpenDelayMs = 400;

Mix_Music* asMusic(void* p) { return static_cast<Mix_Music*>(p); }
Mix_Chunk* asChunk(void* p) { return static_cast<Mix_Chunk*>(p); }

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

Music::Music(QString soundFont) : m_soundFont(std::move(soundFont)), m_thread([this] { run(); }) {}

Music::~Music() {
    post([this] { closeAudio(); });
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void Music::post(std::function<void()> job) {
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void Music::run() {
    {
        // The audio device opens a moment after start-up, when the window is
        // on screen, so that both do not compete for the processor; the first
        // request opens it at once.
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, std::chrono::milliseconds(kOpenDelayMs),
                        [this] { return m_stop || !m_jobs.empty(); });
    }
    openAudio();
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
            if (m_jobs.empty()) {
                // SDL keeps per-thread data (its error text) for threads it
                // did not create: release it before this thread ends.
                SDL_TLSCleanup();
                return;
            }
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_busy = true;
        }
        job();
        {
            std::lock_guard lock(m_mutex);
            m_busy = false;
        }
        m_idle.notify_all();
    }
}

bool Music::waitForRequests(int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_jobs.empty() && !m_busy; });
}

bool Music::audioAvailable() {
    std::promise<bool> answer;
    auto result = answer.get_future();
    post([this, &answer] { answer.set_value(m_audioOpen); });
    return result.get();
}

bool Music::isPlaying() {
    std::promise<bool> answer;
    auto result = answer.get_future();
    post([this, &answer] {
        answer.set_value(m_audioOpen && (Mix_Playing(kEffectChannel) != 0 || Mix_PlayingMusic() != 0));
    });
    return result.get();
}

void Music::PlayMidi(const QString& path) {
    post([this, path] { playMidiNow(path); });
}

void Music::PlayWave(const QString& fileName, int16_t mode) {
    if (mode >= 0) {
        post([this, fileName, mode] { playWaveNow(fileName, mode); });
        return;
    }
    // A negative mode returns only when the sound has finished.
    std::promise<void> done;
    auto finished = done.get_future();
    post([this, fileName, mode, &done] {
        playWaveNow(fileName, mode);
        while (m_audioOpen && Mix_Playing(kEffectChannel)) SDL_Delay(5);
        done.set_value();
    });
    finished.wait();
}

void Music::openAudio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Mix_Init(MIX_INIT_MID);
    // Without an explicit soundfont SDL_mixer may find none; point it at the
    // system's General MIDI set. Without one the music stays silent (see
    // playMidiNow), rather than falling back to some other synthesiser.
    if (!m_soundFont.isEmpty()) Mix_SetSoundFonts(QFile::encodeName(m_soundFont).constData());
    Mix_AllocateChannels(1);
    m_audioOpen = true;
}

void Music::closeAudio() {
    if (!m_audioOpen) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    if (m_chunk) Mix_FreeChunk(asChunk(m_chunk));
    if (m_music) Mix_FreeMusic(asMusic(m_music));
    m_chunk = nullptr;
    m_music = nullptr;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_audioOpen = false;
}

void Music::playMidiNow(const QString& path) {
    if (!m_audioOpen) return;
    const bool haveFont = !m_soundFont.isEmpty() && QFileInfo(m_soundFont).isFile();
    // Stop and release whatever played before; an empty path ends here.
    Mix_HaltMusic();
    if (m_music) Mix_FreeMusic(asMusic(m_music));
    m_music = nullptr;
    if (path.isEmpty() || !haveFont) return;
    Mix_Music* music = Mix_LoadMUS(QFile::encodeName(path).constData());
    if (!music) return;
    m_music = music;
    Mix_PlayMusic(music, 0);  // once, from the start
}

void Music::playWaveNow(const QString& fileName, int16_t mode) {
    if (!m_audioOpen) return;
    // A new sound cuts off the old one, also when the new file cannot be
    // played (the old sound stops, silence follows).
    Mix_HaltChannel(kEffectChannel);
    if (m_chunk) Mix_FreeChunk(asChunk(m_chunk));
    m_chunk = nullptr;
    Mix_Chunk* chunk = Mix_LoadWAV(QFile::encodeName(fileName).constData());
    if (!chunk) return;
    m_chunk = chunk;
    Mix_PlayChannel(kEffectChannel, chunk, mode == 0 ? -1 : 0);
}
