// PlaySoundA and the device counts over the shared sound output; the bell through the backend.
#include "platform/controls/PlaySound.h"

#include "platform/controls/AudioDevice.h"
#include "platform/controls/Controls.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Backend.h"

namespace {
int current = 0;  // the sound PlaySoundA started, or 0

void StopCurrent() {
  if (!current) return;
  auto& device = platform::audio::Device();
  device.Stop(current);
  device.Close(current);
  current = 0;
}
}  // namespace

BOOL PlaySoundA(LPCSTR name, HMODULE, DWORD flags) {
  auto& device = platform::audio::Device();
  if (!name || (flags & SND_PURGE)) {
    StopCurrent();
    return TRUE;
  }
  if ((flags & SND_NOSTOP) && current && device.Playing(current)) return FALSE;
  if (flags & SND_MEMORY) return FALSE;  // sounds in memory are not supported
  StopCurrent();
  const std::string path = platform::Utf16ToUtf8(platform::MultiByteToUtf16(name, CP_ACP));
  std::string error;
  const int handle = device.Open(path, &error);
  if (!handle) return FALSE;
  current = handle;
  if (!device.Play(handle, flags & SND_ASYNC)) {
    StopCurrent();
    return FALSE;
  }
  return TRUE;
}

UINT waveOutGetNumDevs() { return platform::audio::Device().CanPlay(platform::audio::SoundKind::Wave) ? 1 : 0; }
UINT midiOutGetNumDevs() { return platform::audio::Device().CanPlay(platform::audio::SoundKind::Midi) ? 1 : 0; }

BOOL MessageBeep(UINT) {
  if (auto* backend = platform::win::CurrentBackend()) backend->Beep();
  return TRUE;
}

BOOL Beep(DWORD, DWORD) { return MessageBeep(0); }
