// SDL2 and SDL2_mixer, loaded when the sound output first opens rather than with the program:
// the libraries and the thirty-odd ones they bring (decoders, sound servers) would otherwise be
// loaded and linked at every start, whether a sound is ever played or not.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

namespace platform::audio {

// The functions the sound output calls, by the libraries' own names.
struct SdlLibrary {
  decltype(&::SDL_SetHint) SDL_SetHint;
  decltype(&::SDL_InitSubSystem) SDL_InitSubSystem;
  decltype(&::SDL_QuitSubSystem) SDL_QuitSubSystem;
  decltype(&::SDL_AudioInit) SDL_AudioInit;
  decltype(&::SDL_RWFromConstMem) SDL_RWFromConstMem;
  decltype(&::SDL_GetError) SDL_GetError;
  decltype(&::Mix_Init) Mix_Init;
  decltype(&::Mix_Quit) Mix_Quit;
  decltype(&::Mix_OpenAudio) Mix_OpenAudio;
  decltype(&::Mix_CloseAudio) Mix_CloseAudio;
  decltype(&::Mix_LoadMUS) Mix_LoadMUS;
  decltype(&::Mix_LoadMUS_RW) Mix_LoadMUS_RW;
  decltype(&::Mix_FreeMusic) Mix_FreeMusic;
  decltype(&::Mix_PlayMusic) Mix_PlayMusic;
  decltype(&::Mix_HaltMusic) Mix_HaltMusic;
  decltype(&::Mix_PlayingMusic) Mix_PlayingMusic;
  decltype(&::Mix_MusicDuration) Mix_MusicDuration;
  decltype(&::Mix_GetMusicPosition) Mix_GetMusicPosition;
};

// The libraries' functions, loaded once (any thread); null when they are not installed or lack
// one of the functions.
const SdlLibrary* LoadSdl();

}  // namespace platform::audio
