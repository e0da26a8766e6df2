#include "platform/backend/audio/AudioDevice.h"

#include "platform/rtl/Clock.h"

namespace platform::audio {

namespace {
std::unique_ptr<AudioDevice>& Installed() {
  static std::unique_ptr<AudioDevice> device;
  return device;
}
}  // namespace

AudioDevice& Device() {
  if (!Installed()) Installed() = std::make_unique<SilentDevice>();
  return *Installed();
}

void SetDevice(std::unique_ptr<AudioDevice> device) { Installed() = std::move(device); }

int SilentDevice::Add(Sound sound, std::string* error) {
  if (sound.info.error.empty() && !CanPlay(sound.info.kind))
    sound.info.error = "no device can play this kind of sound";
  if (!sound.info.error.empty()) {
    if (error) *error = sound.info.error;
    return 0;
  }
  sounds_[++next_] = std::move(sound);
  return next_;
}

int SilentDevice::Open(const std::string& path, std::string* error) {
  Sound sound;
  sound.path = path;
  sound.info = ProbeSoundFile(path);
  return Add(std::move(sound), error);
}

int SilentDevice::OpenMemory(const uint8_t* data, size_t size, std::string* error) {
  Sound sound;
  sound.memory.assign(data, data + size);
  sound.info = ProbeSound(sound.memory.data(), sound.memory.size());
  return Add(std::move(sound), error);
}

SilentDevice::Sound* SilentDevice::Find(int handle) {
  auto it = sounds_.find(handle);
  if (it == sounds_.end()) return nullptr;
  Sound& s = it->second;
  // A play that has run its length has ended.
  if (s.startedAt >= 0 && !s.loop && GetClock().NowMs() - s.startedAt >= s.info.durationMs) {
    s.startedAt = -1;
    s.position = s.info.durationMs;
  }
  return &s;
}

bool SilentDevice::Play(int handle, bool async, bool loop) {
  Sound* s = Find(handle);
  if (!s || (loop && !async)) return false;  // a synchronous loop would never return
  s->loop = loop;
  s->position = 0;
  s->startedAt = GetClock().NowMs();
  // Nothing reaches a speaker, but a synchronous play still takes the sound's time.
  if (!async) {
    GetClock().SleepUntil(s->startedAt + s->info.durationMs);
    Find(handle);
  }
  return true;
}

void SilentDevice::Stop(int handle) {
  Sound* s = Find(handle);
  if (!s || s->startedAt < 0) return;
  s->position = Position(handle);
  s->startedAt = -1;
}

void SilentDevice::Close(int handle) { sounds_.erase(handle); }

bool SilentDevice::Playing(int handle) {
  Sound* s = Find(handle);
  return s && s->startedAt >= 0;
}

int64_t SilentDevice::Length(int handle) {
  Sound* s = Find(handle);
  return s ? s->info.durationMs : 0;
}

int64_t SilentDevice::Position(int handle) {
  Sound* s = Find(handle);
  if (!s) return 0;
  if (s->startedAt < 0) return s->position;
  const int64_t elapsed = GetClock().NowMs() - s->startedAt;
  if (elapsed < 0) return 0;
  return s->loop && s->info.durationMs > 0 ? elapsed % s->info.durationMs : elapsed;
}

bool RecordingDevice::CanPlay(SoundKind kind) {
  if (kind == SoundKind::Midi) return midi_ > 0;
  if (kind == SoundKind::Wave || kind == SoundKind::Mp3) return wave_ > 0;
  return false;
}

bool RecordingDevice::Play(int handle, bool async, bool loop) {
  Sound* s = Find(handle);
  if (!s || (loop && !async)) return false;
  events_.push_back({SoundEvent::What::Play, s->path, async, loop, s->memory, handle});
  return SilentDevice::Play(handle, async, loop);
}

void RecordingDevice::Stop(int handle) {
  Sound* s = Find(handle);
  if (s && s->startedAt >= 0)
    events_.push_back({SoundEvent::What::Stop, s->path, false, s->loop, {}, handle});
  SilentDevice::Stop(handle);
}

}  // namespace platform::audio
