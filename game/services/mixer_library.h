#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

// SDL2_mixer, loaded when the sound device is first opened rather than when
// the program starts: the library and the synthesiser it brings along (some
// forty shared libraries) would otherwise add a tenth to the game's start-up.
// Only the sound worker thread uses it.
struct MixerLibrary {
    decltype(&SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&SDL_TLSCleanup) TLSCleanup = nullptr;
    decltype(&SDL_Delay) Delay = nullptr;
    decltype(&SDL_RWFromFile) RWFromFile = nullptr;
    decltype(&Mix_OpenAudio) OpenAudio = nullptr;
    decltype(&Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&Mix_QuerySpec) QuerySpec = nullptr;
    decltype(&Mix_Init) Init = nullptr;
    decltype(&Mix_Quit) Quit = nullptr;
    decltype(&Mix_SetSoundFonts) SetSoundFonts = nullptr;
    decltype(&Mix_AllocateChannels) AllocateChannels = nullptr;
    decltype(&Mix_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&Mix_FreeChunk) FreeChunk = nullptr;
    decltype(&Mix_PlayChannelTimed) PlayChannelTimed = nullptr;
    decltype(&Mix_HaltChannel) HaltChannel = nullptr;
    decltype(&Mix_Playing) Playing = nullptr;
    decltype(&Mix_LoadMUS) LoadMUS = nullptr;
    decltype(&Mix_FreeMusic) FreeMusic = nullptr;
    decltype(&Mix_PlayMusic) PlayMusic = nullptr;
    decltype(&Mix_HaltMusic) HaltMusic = nullptr;
    decltype(&Mix_PlayingMusic) PlayingMusic = nullptr;
    decltype(&Mix_Volume) Volume = nullptr;
    decltype(&Mix_VolumeMusic) VolumeMusic = nullptr;

    // Loads the library and every function above; false (and silence) when
    // the library or one of its functions is missing. Loading is done once
    // per process; the library stays loaded.
    bool load();

    // The wave file at `path`, or null when it cannot be played.
    Mix_Chunk* loadWave(const char* path) const { return LoadWAV_RW(RWFromFile(path, "rb"), 1); }
    int playChannel(int channel, Mix_Chunk* chunk, int loops) const { return PlayChannelTimed(channel, chunk, loops, -1); }
};
