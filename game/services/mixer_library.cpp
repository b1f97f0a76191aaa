#include "game/services/mixer_library.h"

#include <dlfcn.h>
#include <mutex>

namespace {

template <typename F>
bool resolve(void* library, F& function, const char* name) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

}  // namespace

bool MixerLibrary::load() {
    static std::mutex once;
    std::lock_guard lock(once);
    if (PlayingMusic) return true;
    // The run-time name of the library the program is built against; SDL
    // itself comes with it.
    void* library = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    const bool ok = resolve(library, InitSubSystem, "SDL_InitSubSystem") &&
                    resolve(library, QuitSubSystem, "SDL_QuitSubSystem") &&
                    resolve(library, TLSCleanup, "SDL_TLSCleanup") && resolve(library, Delay, "SDL_Delay") &&
                    resolve(library, RWFromFile, "SDL_RWFromFile") && resolve(library, OpenAudio, "Mix_OpenAudio") &&
                    resolve(library, CloseAudio, "Mix_CloseAudio") && resolve(library, QuerySpec, "Mix_QuerySpec") &&
                    resolve(library, Init, "Mix_Init") && resolve(library, Quit, "Mix_Quit") &&
                    resolve(library, SetSoundFonts, "Mix_SetSoundFonts") &&
                    resolve(library, AllocateChannels, "Mix_AllocateChannels") &&
                    resolve(library, LoadWAV_RW, "Mix_LoadWAV_RW") && resolve(library, FreeChunk, "Mix_FreeChunk") &&
                    resolve(library, PlayChannelTimed, "Mix_PlayChannelTimed") &&
                    resolve(library, HaltChannel, "Mix_HaltChannel") && resolve(library, Playing, "Mix_Playing") &&
                    resolve(library, LoadMUS, "Mix_LoadMUS") && resolve(library, FreeMusic, "Mix_FreeMusic") &&
                    resolve(library, PlayMusic, "Mix_PlayMusic") && resolve(library, HaltMusic, "Mix_HaltMusic") &&
                    resolve(library, Volume, "Mix_Volume") && resolve(library, VolumeMusic, "Mix_VolumeMusic") &&
                    resolve(library, PlayingMusic, "Mix_PlayingMusic");
    if (!ok) {
        PlayingMusic = nullptr;
        dlclose(library);
        return false;
    }
    return true;
}
