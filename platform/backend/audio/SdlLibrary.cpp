#include "platform/backend/audio/SdlLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace platform::audio {

namespace {

template <class F>
bool Resolve(void* library, const char* name, F& out) {
  out = reinterpret_cast<F>(dlsym(library, name));
  return out != nullptr;
}

}  // namespace

const SdlLibrary* LoadSdl() {
  static SdlLibrary sdl;
  static bool loaded = false;
  static std::once_flag once;
  std::call_once(once, [] {
    // The mixer brings SDL2 with it; both stay loaded for the rest of the run.
    void* mixer = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!mixer) return;
#define MMS_RESOLVE(name) Resolve(mixer, #name, sdl.name)
    loaded = MMS_RESOLVE(SDL_SetHint) && MMS_RESOLVE(SDL_InitSubSystem) && MMS_RESOLVE(SDL_QuitSubSystem) &&
             MMS_RESOLVE(SDL_AudioInit) && MMS_RESOLVE(SDL_RWFromConstMem) && MMS_RESOLVE(SDL_GetError) &&
             MMS_RESOLVE(Mix_Init) && MMS_RESOLVE(Mix_Quit) && MMS_RESOLVE(Mix_OpenAudio) &&
             MMS_RESOLVE(Mix_CloseAudio) && MMS_RESOLVE(Mix_LoadMUS) && MMS_RESOLVE(Mix_LoadMUS_RW) &&
             MMS_RESOLVE(Mix_FreeMusic) && MMS_RESOLVE(Mix_PlayMusic) && MMS_RESOLVE(Mix_HaltMusic) &&
             MMS_RESOLVE(Mix_PlayingMusic) && MMS_RESOLVE(Mix_MusicDuration) &&
             MMS_RESOLVE(Mix_GetMusicPosition);
#undef MMS_RESOLVE
  });
  return loaded ? &sdl : nullptr;
}

}  // namespace platform::audio
