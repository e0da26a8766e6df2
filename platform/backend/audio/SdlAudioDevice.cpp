#include "platform/backend/audio/SdlAudioDevice.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/backend/audio/SdlLibrary.h"

namespace platform::audio {

namespace {

// SDL2_mixer plays one piece of music at a time, which is what the shared output needs: a new
// sound stops the current one.
class SdlDevice : public AudioDevice {
 public:
  SdlDevice(const SdlLibrary& library, int decoders) : sdl(library), decoders_(decoders) {}
  ~SdlDevice() override {
    sdl.Mix_HaltMusic();
    for (auto& [h, m] : music_) sdl.Mix_FreeMusic(m.music);
    sdl.Mix_CloseAudio();
    sdl.Mix_Quit();
    sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  bool CanPlay(SoundKind kind) override {
    switch (kind) {
      case SoundKind::Wave:
        return true;
      case SoundKind::Midi:
        return decoders_ & MIX_INIT_MID;
      case SoundKind::Mp3:
        return decoders_ & MIX_INIT_MP3;
      default:
        return false;
    }
  }

  int Open(const std::string& path, std::string* error) override {
    const SoundInfo info = ProbeSoundFile(path);
    std::string why = info.error;
    if (why.empty() && !CanPlay(info.kind)) why = "no device can play this kind of sound";
    Mix_Music* music = why.empty() ? sdl.Mix_LoadMUS(path.c_str()) : nullptr;
    return Keep(music, {}, why, error);
  }

  int OpenMemory(const uint8_t* data, size_t size, std::string* error) override {
    // The library reads the data while it plays, so it reads our copy, kept until Close.
    std::vector<uint8_t> copy(data, data + size);
    const SoundInfo info = ProbeSound(copy.data(), copy.size());
    std::string why = info.error;
    if (why.empty() && !CanPlay(info.kind)) why = "no device can play this kind of sound";
    Mix_Music* music = nullptr;
    if (why.empty() && copy.size() <= size_t(INT32_MAX))
      music = sdl.Mix_LoadMUS_RW(sdl.SDL_RWFromConstMem(copy.data(), int(copy.size())), 1);
    return Keep(music, std::move(copy), why, error);
  }

  bool Play(int handle, bool async, bool loop) override {
    auto it = music_.find(handle);
    if (it == music_.end() || (loop && !async)) return false;
    if (sdl.Mix_PlayMusic(it->second.music, loop ? -1 : 0) != 0) return false;
    current_ = handle;
    if (!async)
      while (sdl.Mix_PlayingMusic()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return true;
  }

  void Stop(int handle) override {
    if (handle == current_) {
      sdl.Mix_HaltMusic();
      current_ = 0;
    }
  }

  void Close(int handle) override {
    Stop(handle);
    auto it = music_.find(handle);
    if (it == music_.end()) return;
    sdl.Mix_FreeMusic(it->second.music);
    music_.erase(it);
  }

  bool Playing(int handle) override { return handle == current_ && sdl.Mix_PlayingMusic(); }

  int64_t Length(int handle) override {
    auto it = music_.find(handle);
    if (it == music_.end()) return 0;
    const double seconds = sdl.Mix_MusicDuration(it->second.music);
    return seconds > 0 ? int64_t(seconds * 1000) : 0;
  }

  int64_t Position(int handle) override {
    if (!Playing(handle)) return 0;
    const double seconds = sdl.Mix_GetMusicPosition(music_[handle].music);
    return seconds > 0 ? int64_t(seconds * 1000) : 0;
  }

 private:
  struct Music {
    Mix_Music* music = nullptr;
    std::vector<uint8_t> memory;  // the data of a sound opened from memory
  };

  int Keep(Mix_Music* music, std::vector<uint8_t> memory, const std::string& why, std::string* error) {
    if (!music) {
      if (error) *error = why.empty() ? sdl.SDL_GetError() : why;
      return 0;
    }
    music_[++next_] = Music{music, std::move(memory)};
    return next_;
  }

  const SdlLibrary& sdl;
  int decoders_;
  std::map<int, Music> music_;
  int next_ = 0;
  int current_ = 0;
};

}  // namespace

std::unique_ptr<AudioDevice> MakeSdlDevice(const char* driver) {
  const SdlLibrary* library = LoadSdl();
  if (!library) return nullptr;
  const SdlLibrary& sdl = *library;
  // SDL would otherwise catch SIGINT and SIGTERM for an event queue no one reads, and the
  // program would no longer end when asked to.
  sdl.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (sdl.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  if (driver && sdl.SDL_AudioInit(driver) != 0) {
    sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  const int decoders = sdl.Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
  if (sdl.Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
    sdl.Mix_Quit();
    sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  return std::make_unique<SdlDevice>(sdl, decoders);
}

namespace {

// Opens the system's output when the program first asks anything of the sound, not at start:
// the audio subsystem, the decoders (MIDI loads a whole sound font) and the output's connection
// cost start-up time and memory that a program playing no sound never needs.
class DeferredDevice : public AudioDevice {
 public:
  bool CanPlay(SoundKind kind) override { return Real().CanPlay(kind); }
  int Open(const std::string& path, std::string* error) override { return Real().Open(path, error); }
  int OpenMemory(const uint8_t* data, size_t size, std::string* error) override {
    return Real().OpenMemory(data, size, error);
  }
  bool Play(int handle, bool async, bool loop) override { return Real().Play(handle, async, loop); }
  void Stop(int handle) override { Real().Stop(handle); }
  void Close(int handle) override { Real().Close(handle); }
  bool Playing(int handle) override { return Real().Playing(handle); }
  int64_t Length(int handle) override { return Real().Length(handle); }
  int64_t Position(int handle) override { return Real().Position(handle); }

 private:
  AudioDevice& Real() {
    std::call_once(opened_, [this] {
      real_ = MakeSdlDevice();
      if (!real_) real_ = std::make_unique<SilentDevice>();
    });
    return *real_;
  }
  std::once_flag opened_;
  std::unique_ptr<AudioDevice> real_;
};

}  // namespace

std::unique_ptr<AudioDevice> MakeSystemDevice() { return std::make_unique<DeferredDevice>(); }

}  // namespace platform::audio
