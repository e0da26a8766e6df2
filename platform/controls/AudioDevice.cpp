#include "platform/controls/AudioDevice.h"

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

int SilentDevice::Open(const std::string& path, std::string* error) {
  SoundInfo info = ProbeSoundFile(path);
  if (info.error.empty() && !CanPlay(info.kind)) info.error = "no device can play this kind of sound";
  if (!info.error.empty()) {
    if (error) *error = info.error;
    return 0;
  }
  sounds_[++next_] = Sound{path, info, -1};
  return next_;
}

bool SilentDevice::Play(int handle, bool async) {
  auto it = sounds_.find(handle);
  if (it == sounds_.end()) return false;
  // Nothing reaches a speaker, so a synchronous play has nothing to wait for.
  it->second.endsAt = async ? GetClock().NowMs() + it->second.info.durationMs : -1;
  return true;
}

void SilentDevice::Stop(int handle) {
  auto it = sounds_.find(handle);
  if (it != sounds_.end()) it->second.endsAt = -1;
}

void SilentDevice::Close(int handle) { sounds_.erase(handle); }

bool SilentDevice::Playing(int handle) {
  auto it = sounds_.find(handle);
  if (it == sounds_.end() || it->second.endsAt < 0) return false;
  if (GetClock().NowMs() >= it->second.endsAt) it->second.endsAt = -1;
  return it->second.endsAt >= 0;
}

bool RecordingDevice::CanPlay(SoundKind kind) {
  if (kind == SoundKind::Midi) return midi_ > 0;
  if (kind == SoundKind::Wave || kind == SoundKind::Mp3) return wave_ > 0;
  return false;
}

bool RecordingDevice::Play(int handle, bool async) {
  auto it = sounds_.find(handle);
  if (it == sounds_.end()) return false;
  events_.push_back({SoundEvent::What::Play, it->second.path, async});
  return SilentDevice::Play(handle, async);
}

void RecordingDevice::Stop(int handle) {
  auto it = sounds_.find(handle);
  if (it != sounds_.end() && Playing(handle)) events_.push_back({SoundEvent::What::Stop, it->second.path, false});
  SilentDevice::Stop(handle);
}

}  // namespace platform::audio
